#pragma once
// Helpers shared by the tests: temporary program folders and file fixtures.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A fresh, empty program folder (text ending in "/") that lives as long as the object.
class TTempProgramFolder {
public:
    TTempProgramFolder();
    QString path() const { return m_dir.path() + QLatin1Char('/'); }
    QString file(const QString &relative) const { return path() + relative; }
    // Writes bytes to a file below the folder, creating folders on the way.
    void write(const QString &relative, const QByteArray &bytes) const;
    // Writes lines joined and ended by CR LF as UTF-8.
    void writeLines(const QString &relative, const QStringList &lines) const;
    QByteArray read(const QString &relative) const;
    QStringList readLines(const QString &relative) const;

private:
    QTemporaryDir m_dir;
};

// Points the freedesktop data location (and so the trash) somewhere for the
// length of a test.
class TDataHome {
public:
    explicit TDataHome(const QString &path) : m_old(qgetenv("XDG_DATA_HOME")), m_had(qEnvironmentVariableIsSet("XDG_DATA_HOME"))
    {
        qputenv("XDG_DATA_HOME", path.toUtf8());
    }
    ~TDataHome()
    {
        if (m_had)
            qputenv("XDG_DATA_HOME", m_old);
        else
            qunsetenv("XDG_DATA_HOME");
    }

private:
    QByteArray m_old;
    bool m_had;
};

// Every file below a folder, relative, sorted.
QStringList FilesBelow(const QString &folder);

QString SourceDir();   // the repository
QString BinaryDir();   // the build tree (a working program folder)
