// Program entry: one instance only, a writable program folder, then the
// program's windows.
#include "widgets/MessageBoxes.h"
#include "app/DownloadAgent.h"
#include "app/Program.h"
#include "app/StartUp.h"
#include "base/ProgramCommandLine.h"
#include "base/SlotGuard.h"
#include "base/TError.h"
#include "base/Version.h"
#include "workspace/ProgramFolders.h"
#include "workspace/Reminder.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>

namespace {
constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

// The installed theme's icon of the menu entry; the same pictures built in
// for a program run from its build folder.
QIcon ProgramIcon()
{
    QIcon builtIn;
    for (const int size : kIconSizes)
        builtIn.addFile(QStringLiteral(":/icons/%1-%2.png").arg(QLatin1String(kDesktopIconName)).arg(size));
    return QIcon::fromTheme(QLatin1String(kDesktopIconName), builtIn);
}

TProgramHelp Help()
{
    return {QStringLiteral("tessarion"),
            QStringLiteral(
                "Tessarion, a vocabulary trainer for Japanese-speaking learners of English and Italian: timed "
                "multiple-choice and typed questions on built-in or self-made word lists, every word spaced by "
                "its own forgetting curve. Starts the program's windows; only one copy runs at a time.\n\n"
                "Installed, the program keeps the learner's data in $XDG_DATA_HOME/tessarion/ (by default "
                "~/.local/share/tessarion/), which stays when the package is removed; run from a folder that "
                "can be written (such as the build folder), it keeps everything beside itself. "
                "tessarion-tool does the same work without a window."),
            QStringLiteral("  0  the program ended\n"
                           "  1  refused or failed: another copy is running, the program's data folder\n"
                           "     cannot be written, or an error ended it (the message names the file)\n"
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
    InstallJapaneseTranslations(app);
    UseJapaneseUiFont(app);
    UseProgramLook(app);

    // Held until the process ends; a lock left by a crashed run is taken over.
    TSingleInstanceLock instance;
    if (!instance.Acquire()) {
        ShowMessageBox(nullptr, QMessageBox::Information, kAlreadyRunningMessage);
        return kProgramExitFailed;
    }
    // An installed program keeps its own files in the learner's data folder;
    // the writability test checks the folder that will be written.
    const TProgramFolders folders =
        LocateProgramFolders(QCoreApplication::applicationDirPath(), TCreateOwnFolder::Yes);
    if (!ProgramFolderWritable(folders.own)) {
        ShowMessageBox(nullptr, QMessageBox::Critical, kNotWritableMessage);
        return kProgramExitFailed;
    }

    QApplication::setApplicationName(QStringLiteral("Tessarion"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tessarion"));
    QApplication::setApplicationVersion(QString::fromLatin1(kTessarionVersion));
    // The windows belong to the menu entry: docks show its icon and group them.
    QGuiApplication::setDesktopFileName(QLatin1String(kDesktopIconName));
    QApplication::setWindowIcon(ProgramIcon());
    QApplication::setQuitOnLastWindowClosed(false);
    // Until the training window takes over: an error that reached a slot is
    // shown, and the program ends.
    SetUnhandledErrorHandler([](const QString &message) {
        ShowMessageBox(nullptr, QMessageBox::Critical, message);
        QCoreApplication::exit(kProgramExitFailed);
    });
    try {
        TProgram program(folders.own, folders.installed);
        // The first window checks the speech components; it starts the
        // program's other windows at once when nothing is missing.
        TDownloadAgentForm first([&program](bool speech) { program.ExecuteMainProgram(speech); });
        first.FormCreate();
        return app.exec();
    } catch (const TFatalError &e) {
        ShowMessageBox(nullptr, QMessageBox::Critical, e.Message());
        return kProgramExitFailed;
    }
}
