#pragma once
// What every part of the engine shares: where things live, which learning
// file is current, one clock, one random generator, and how to tell the
// learner something. TCC owns one; each part holds a reference to it.
#include "base/Clock.h"
#include "base/Notifier.h"
#include "base/Random.h"

#include <QString>

struct TEngineContext {
    // Both texts end in "/".
    QString programFolder;
    QString userFolder;

    // The current learning file: its code, its catalog slot (0 for none) and
    // whether it is one of the user's own files (slots 32..49).
    QString fileCode;
    int fileSlot = 0;
    bool userFile = false;

    TClock clock;
    TRandom random;
    TNotifier *notifier = &defaultNotifier;   // never null
    TCollectingNotifier defaultNotifier;

    // True while the goal simulation runs on the live table: nothing is saved.
    bool simulationRunning = false;
    // Set for whatever only shows data (the printing commands of the tool):
    // nothing is written, created, moved or copied; what a first start or a
    // damaged file would write is only made up in memory.
    bool readOnly = false;
};
