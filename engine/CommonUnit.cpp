#include "engine/CommonUnit.h"

#include "base/TextFiles.h"

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
    commit.Commit();
    settingsStore.SettingsCommitted();
}
