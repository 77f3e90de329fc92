#include "engine/CommonUnit.h"

TCC::TCC()
{
    settingsStore.defaultsApplied = [this] { StartTrainingAfresh(training, UsableQuota()); };
}

TCC::~TCC() = default;
