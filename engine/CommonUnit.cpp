#include "engine/CommonUnit.h"

TCC::TCC()
{
    notifier = &defaultNotifier;
}

TCC::~TCC() = default;
