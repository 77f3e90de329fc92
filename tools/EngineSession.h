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

std::unique_ptr<TCC> OpenEngine(const TToolArgs &args);

// The catalog as the first step of a study run reads it: the server catalog,
// then the local catalog (created on a first start).
void LoadCatalogAsProgram(TCC &cc);
