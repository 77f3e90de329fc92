#pragma once
// Opening the engine the way the program does, for the tool commands:
//     auto cc = OpenEngine(TToolArgs(args));   // --program-folder P
// runs the start-up file steps on P (migration, user folder, folder tree).
// Messages for the learner go to stderr; confirmations are answered No, which
// always leaves everything unchanged.
#include "engine/CommonUnit.h"
#include "tools/Commands.h"

#include <memory>

class TStderrNotifier : public TNotifier {
public:
    void Information(const QString &text) override;
    void Error(const QString &text) override;
    bool Confirm(const QString &text) override;
};

// Commands that only print open the engine read-only: they never write,
// create, move or copy a file, even where a first start or a damaged file
// would. Commands that study or apply rules open it as the program does.
enum class TAccess { ReadOnly, Writes };

std::unique_ptr<TCC> OpenEngine(const TToolArgs &args, TAccess access);

// The catalog as the first step of a study run reads it: the server catalog,
// then the local catalog (created on a first start).
void LoadCatalogAsProgram(TCC &cc);

// The engine with the learning file of --file CODE started as a study run
// starts it: the catalog, the file's settings, the learning file and its
// record file (a fresh record is created when there is none). The day offset
// moves the engine's today as the goal simulation does.
std::unique_ptr<TCC> OpenFileAsProgram(const TToolArgs &args, TAccess access, int dayOffset = 0);
