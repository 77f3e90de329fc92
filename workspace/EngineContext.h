#pragma once
// What every part of the engine shares: where things live, which learning
// file is current, one clock, one random generator, and how to tell the
// learner something. TCC owns one; each part holds a reference to it.
#include "base/Clock.h"
#include "base/Notifier.h"
#include "base/Random.h"

#include <QString>

struct TEngineContext {
    // Both texts end in "/". The program folder is where the program keeps
    // its own files (UserDirectory.dat, revisions of resource/ files): the
    // folder of the program file, or for an installed program its data folder
    // (see workspace/ProgramFolders.h).
    QString programFolder;
    QString userFolder;
    // The folder of an installed program, from which the shipped files are
    // read where programFolder has none; empty when it is programFolder.
    QString installedFolder;

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
