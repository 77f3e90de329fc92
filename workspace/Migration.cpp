// One-time migration of an older installation's ".txt" state files.
#include "engine/CommonUnit.h"

void TCC::MigrateOldWorkspace()
{
    // Filled in with the catalog work.
}
