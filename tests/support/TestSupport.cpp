#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <stdexcept>

TTempProgramFolder::TTempProgramFolder()
{
    if (!m_dir.isValid())
        throw std::runtime_error("cannot create a temporary folder");
}

void TTempProgramFolder::write(const QString &relative, const QByteArray &bytes) const
{
    const QString full = file(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write fixture");
}

void TTempProgramFolder::writeLines(const QString &relative, const QStringList &lines) const
{
    QString text;
    for (const QString &l : lines)
        text += l + QStringLiteral("\r\n");
    write(relative, text.toUtf8());
}

QByteArray TTempProgramFolder::read(const QString &relative) const
{
    QFile f(file(relative));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QStringList TTempProgramFolder::readLines(const QString &relative) const
{
    QString text = QString::fromUtf8(read(relative));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString SourceDir() { return QStringLiteral(TESSARION_SOURCE_DIR); }
QString BinaryDir() { return QStringLiteral(TESSARION_BINARY_DIR); }

QStringList FilesBelow(const QString &folder)
{
    QStringList files;
    QDir root(folder);
    std::function<void(const QString &)> walk = [&](const QString &dir) {
        for (const QFileInfo &fi : QDir(dir).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
            if (fi.isDir())
                walk(fi.filePath());
            else
                files << root.relativeFilePath(fi.filePath());
        }
    };
    walk(folder);
    files.sort();
    return files;
}
