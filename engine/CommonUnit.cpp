#include "engine/CommonUnit.h"

#include "base/TError.h"
#include "base/TextFiles.h"
#include "data/SampleWorkbook.h"
#include "data/UserWorkbook.h"

#include <QDir>
#include <optional>

TCC::TCC()
{
    settingsStore.defaultsApplied = [this] { StartTrainingAfresh(training, UsableQuota()); };
}

TCC::~TCC() = default;

void TCC::SaveAtFileEnd()
{
    if (context.readOnly)
        return;
    TFileCommit commit;
    wordRecords.AddToCommit(commit);
    settingsStore.AddToCommit(commit);
    catalogs.AddToCommit(commit);
    {
        // Readers of the folder see the set change as one.
        std::optional<TUserFolderCommitMark> mark;
        if (workspace.HoldsUserFolderLock())
            mark.emplace(userFolder);
        commit.Commit();
    }
    settingsStore.SettingsCommitted();
}

QString TCC::CreateSampleWorkbook(int number)
{
    const QString path = UserWorkbookPath(userFolder, number);
    if (number < 1 || number > kUserFileCount || context.readOnly) {
        throw TFatalError(QStringLiteral("サンプルのブックを作れません。\n%1").arg(QDir::toNativeSeparators(path)));
    }
    ::CreateSampleWorkbook(userFolder, number);
    LoadUserFileTitles();
    return path;
}
