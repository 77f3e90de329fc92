#include "app/StartUp.h"

#include "workspace/Reminder.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>

namespace {
const QString kTestFolder = QStringLiteral("test");
constexpr int kUiFontPixelSize = 12;
}

TSingleInstanceLock::TSingleInstanceLock(const QString &folder) : m_path(InstanceLockPath(folder)) {}

bool TSingleInstanceLock::Acquire()
{
    m_lock = std::make_unique<QLockFile>(m_path);
    // A lock of a process that no longer runs is stale at once.
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(0);
}

bool ProgramFolderWritable(const QString &programFolder)
{
    QDir dir(programFolder);
    if (!dir.mkdir(kTestFolder))
        return false;
    dir.rmdir(kTestFolder);
    return true;
}

void InstallJapaneseTranslations(QApplication &app)
{
    auto *qtbase = new QTranslator(&app);
    if (qtbase->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtbase);
}

void UseJapaneseUiFont(QApplication &app)
{
    Q_UNUSED(app);
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("IPAexGothic"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("IPAGothic"), font.family()});
    font.setPixelSize(kUiFontPixelSize);
    QApplication::setFont(font);
}
