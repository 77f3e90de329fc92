#include "app/StartUp.h"

#include "workspace/Reminder.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QPalette>
#include <QStyleFactory>
#include <QStandardPaths>
#include <QTranslator>

namespace {
const QString kTestFolder = QStringLiteral("test");
constexpr int kUiFontPixelSize = 12;
const QString kStyleName = QStringLiteral("Fusion");
// The light look: window and button ground, text, selection.
const QColor kWindowColor(0xF0, 0xF0, 0xF0);
const QColor kBaseColor(0xFF, 0xFF, 0xFF);
const QColor kAlternateBaseColor(0xF7, 0xF7, 0xF7);
const QColor kTextColor(0x00, 0x00, 0x00);
const QColor kDisabledTextColor(0x78, 0x78, 0x78);
const QColor kHighlightColor(0x30, 0x8C, 0xC6);
const QColor kHighlightedTextColor(0xFF, 0xFF, 0xFF);
const QColor kToolTipColor(0xFF, 0xFF, 0xDC);
const QColor kLinkColor(0x00, 0x00, 0xFF);
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

QPalette ProgramPalette()
{
    // Buttons share the window's grey (the two-colour constructor takes the
    // button colour first; it derives light, mid, dark and shadow from it).
    QPalette palette(kWindowColor, kWindowColor);
    palette.setColor(QPalette::WindowText, kTextColor);
    palette.setColor(QPalette::Base, kBaseColor);
    palette.setColor(QPalette::AlternateBase, kAlternateBaseColor);
    palette.setColor(QPalette::Text, kTextColor);
    palette.setColor(QPalette::ButtonText, kTextColor);
    palette.setColor(QPalette::Highlight, kHighlightColor);
    palette.setColor(QPalette::HighlightedText, kHighlightedTextColor);
    palette.setColor(QPalette::ToolTipBase, kToolTipColor);
    palette.setColor(QPalette::ToolTipText, kTextColor);
    palette.setColor(QPalette::PlaceholderText, kDisabledTextColor);
    palette.setColor(QPalette::Link, kLinkColor);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, kDisabledTextColor);
    return palette;
}

void UseProgramLook(QApplication &app)
{
    Q_UNUSED(app);
    if (QStyle *style = QStyleFactory::create(kStyleName))
        QApplication::setStyle(style);
    QApplication::setPalette(ProgramPalette());
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
