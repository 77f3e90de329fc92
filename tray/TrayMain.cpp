// tessarion-tray: started at log-on through the autostart entry the
// no-questions window creates. It reads the catalog of the program beside it
// and, when a file's popup date has come, shows a tray icon with a notice
// naming the files; a click on the icon, the notice, the menu or the button
// starts tessarion once (never while a copy runs) and ends the reminder.
// Without a system tray a small window says the same. Nothing is ever written.
#include "base/ProgramCommandLine.h"
#include "base/TError.h"
#include "engine/CommonUnit.h"
#include "workspace/Paths.h"
#include "workspace/ProgramFolders.h"
#include "workspace/Reminder.h"
#include "base/SlotGuard.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>

namespace {
constexpr char kProgramName[] = "tessarion";
constexpr int kIconSize = 64;
constexpr int kMessageMs = 30000;
const QString kCaption = QStringLiteral("Tessarion");
const QString kStartText = QStringLiteral("Tessarion を起動");
const QString kCloseText = QStringLiteral("閉じる");

// Learner messages go to stderr: the reminder never opens an error box at log-on.
class TQuietNotifier : public TNotifier {
public:
    void Information(const QString &text) override { Print(text); }
    void Error(const QString &text) override { Print(text); }
    bool Confirm(const QString &text) override
    {
        Print(text);
        return false;
    }

private:
    static void Print(const QString &text) { std::fprintf(stderr, "tessarion-tray: %s\n", text.toUtf8().constData()); }
};

QList<TDueFile> ReadDueFiles(const QString &programFolder)
{
    static TQuietNotifier notifier;
    TCC cc;
    cc.notifier = &notifier;
    cc.context.readOnly = true;
    // An installed program's catalogs live in the learner's data folder.
    const TProgramFolders folders = LocateProgramFolders(programFolder, TCreateOwnFolder::No);
    if (folders.Installed())
        cc.context.installedFolder = folders.installed;
    cc.RunStartupFileSteps(folders.own);
    cc.LoadServerCatalog();
    cc.LoadCatalog();
    cc.LoadUserFileTitles();
    return FilesDueForReminder(cc.catalog, cc.clock.Today());
}

QString NoticeText(const QList<TDueFile> &due)
{
    QStringList lines{QStringLiteral("出題可能な語がたまりました。")};
    for (const TDueFile &file : due)
        lines.append(QStringLiteral("・%1（%2 語以上）").arg(file.title.trimmed()).arg(file.threshold));
    return lines.join(u'\n');
}

QIcon ReminderIcon()
{
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0x2F, 0x6F, 0xB5));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(2, 2, kIconSize - 4, kIconSize - 4);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(kIconSize / 2);
    painter.setFont(font);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("T"));
    return QIcon(pixmap);
}

// Starts the program once from whatever was clicked, then ends the reminder
// (also when a copy of the program runs already: it is open).
class TStarter {
public:
    explicit TStarter(const QString &programFolder)
        : m_launcher(InstanceLockPath(), [programFolder] {
              const QString program = programFolder + QLatin1String(kProgramName);
              if (QProcess::startDetached(program, {}, programFolder))
                  return true;
              std::fprintf(stderr, "tessarion-tray: %s cannot be started\n", program.toUtf8().constData());
              return false;
          })
    {
    }
    void Start()
    {
        if (m_launcher.Launch() != TReminderLauncher::TOutcome::Failed)
            QApplication::quit();
    }

private:
    TReminderLauncher m_launcher;
};

// The window shown where there is no system tray.
QWidget *MakeFallbackWindow(const QString &text, TStarter &starter)
{
    auto *window = new QWidget;
    window->setObjectName(QStringLiteral("ReminderWindow"));
    window->setWindowTitle(kCaption);
    window->setWindowIcon(ReminderIcon());
    auto *layout = new QVBoxLayout(window);
    auto *row = new QHBoxLayout;
    auto *icon = new QLabel(window);
    icon->setPixmap(ReminderIcon().pixmap(48, 48));
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(new QLabel(text, window), 1);
    layout->addLayout(row);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *start = new QPushButton(kStartText, window);
    auto *close = new QPushButton(kCloseText, window);
    buttons->addWidget(start);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    QObject::connect(start, &QPushButton::clicked, window, Guarded([&starter] { starter.Start(); }));
    QObject::connect(close, &QPushButton::clicked, window, Guarded([] { QApplication::quit(); }));
    start->setDefault(true);
    return window;
}

TProgramHelp Help()
{
    return {QStringLiteral("tessarion-tray"),
            QStringLiteral("The log-on reminder of Tessarion, started by the autostart entry "
                           "~/.config/autostart/Tessarion_tray.desktop that the no-questions window writes. When "
                           "a learning file's popup date has come it shows a tray icon with a notice naming the "
                           "files; a click starts tessarion once. Otherwise it ends at once. It writes nothing."),
            QStringLiteral("  0  nothing due, or the reminder was closed or started the program\n"
                           "  1  the catalog could not be read (the message names the file)\n"
                           "  2  usage error: an unknown option or argument\n")};
}
}

int main(int argc, char *argv[])
{
    if (const auto answered = AnswerHelpOrVersion(ArgumentsOf(argc, argv), Help()))
        return *answered;
    QApplication app(argc, argv);
    if (const auto refused = RefuseUnknownArguments(QCoreApplication::arguments(), Help().program))
        return *refused;
    QApplication::setApplicationName(kCaption);
    QApplication::setQuitOnLastWindowClosed(true);
    const QString programFolder = WithSeparator(QCoreApplication::applicationDirPath());

    QList<TDueFile> due;
    try {
        due = ReadDueFiles(programFolder);
    } catch (const TFatalError &e) {
        std::fprintf(stderr, "tessarion-tray: %s\n", e.Message().toUtf8().constData());
        return kProgramExitFailed;
    }
    // Nothing due today: the reminder ends at once.
    if (due.isEmpty())
        return kProgramExitDone;
    const QString text = NoticeText(due);
    TStarter starter(programFolder);

    std::unique_ptr<QWidget> fallback;
    std::unique_ptr<QSystemTrayIcon> tray;
    std::unique_ptr<QMenu> menu;
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        QApplication::setQuitOnLastWindowClosed(false);
        tray = std::make_unique<QSystemTrayIcon>(ReminderIcon());
        tray->setToolTip(kCaption + u'\n' + text);
        menu = std::make_unique<QMenu>();
        QObject::connect(menu->addAction(kStartText), &QAction::triggered, &app,
                         Guarded([&starter] { starter.Start(); }));
        QObject::connect(menu->addAction(kCloseText), &QAction::triggered, &app, Guarded([] { QApplication::quit(); }));
        tray->setContextMenu(menu.get());
        QObject::connect(tray.get(), &QSystemTrayIcon::activated, &app,
                         Guarded([&starter](QSystemTrayIcon::ActivationReason reason) {
                             if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                                 starter.Start();
                         }));
        QObject::connect(tray.get(), &QSystemTrayIcon::messageClicked, &app,
                         Guarded([&starter] { starter.Start(); }));
        tray->show();
        tray->showMessage(kCaption, text, QSystemTrayIcon::Information, kMessageMs);
    } else {
        fallback.reset(MakeFallbackWindow(text, starter));
        fallback->show();
    }
    return app.exec();
}
