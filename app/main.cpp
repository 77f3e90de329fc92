// Program entry: one instance only, a writable program folder, then the
// program's windows.
#include "app/DownloadAgent.h"
#include "app/Program.h"
#include "app/StartUp.h"
#include "base/SlotGuard.h"
#include "base/TError.h"
#include "workspace/ProgramFolders.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InstallJapaneseTranslations(app);
    UseJapaneseUiFont(app);

    // Held until the process ends; a lock left by a crashed run is taken over.
    TSingleInstanceLock instance;
    if (!instance.Acquire()) {
        QMessageBox::information(nullptr, QStringLiteral("Tessarion"), kAlreadyRunningMessage);
        return 0;
    }
    // An installed program keeps its own files in the learner's data folder;
    // the writability test checks the folder that will be written.
    const TProgramFolders folders =
        LocateProgramFolders(QCoreApplication::applicationDirPath(), TCreateOwnFolder::Yes);
    if (!ProgramFolderWritable(folders.own)) {
        QMessageBox::critical(nullptr, QStringLiteral("Tessarion"), kNotWritableMessage);
        return 0;
    }

    QApplication::setApplicationName(QStringLiteral("Tessarion"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tessarion"));
    QApplication::setQuitOnLastWindowClosed(false);
    // Until the training window takes over: an error that reached a slot is
    // shown, and the program ends.
    SetUnhandledErrorHandler([](const QString &message) {
        QMessageBox::critical(nullptr, QStringLiteral("Tessarion"), message);
        QCoreApplication::exit(0);
    });
    try {
        TProgram program(folders.own, folders.installed);
        // The first window checks the speech components; it starts the
        // program's other windows at once when nothing is missing.
        TDownloadAgentForm first([&program](bool speech) { program.ExecuteMainProgram(speech); });
        first.FormCreate();
        return app.exec();
    } catch (const TFatalError &e) {
        QMessageBox::critical(nullptr, QStringLiteral("Tessarion"), e.Message());
        return 0;
    }
}
