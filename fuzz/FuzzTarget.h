#pragma once
// Fuzz targets: one entry function per reader of the engine, shared by the
// libFuzzer programs (fuzz/CMakeLists.txt, scripts/fuzz) and by the replay
// test of the ordinary suite, which feeds every saved input under
// fuzz/corpus/<name>/ and fuzz/regressions/<name>/ to the same function.
//
// A target is one file fuzz/targets/<name>.cpp:
//
//     TESSARION_FUZZ_TARGET(record_file, input)
//     {
//         ...
//     }
//
// The entry takes the raw input (usually the bytes of a file, which it puts
// into the engine's folder and reads with the real engine operation). A
// reader may end in three ways only: a value, a message to the learner, or
// TFatalError (the error box that ends the program cleanly); FuzzCleanly
// accepts the last one. Anything else -- a crash, a read past a buffer, an
// unexpected exception, a hang, runaway memory -- is a finding, and so is a
// broken promise checked with FuzzExpect (a round trip that changes data),
// which throws TFuzzFinding.
#include "engine/CommonUnit.h"

#include <QByteArrayView>
#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <stdexcept>

using TFuzzEntry = void (*)(QByteArrayView input);

struct TFuzzTarget {
    TFuzzTarget(const QString &name, TFuzzEntry entry);
};

// Every target linked into the program, by name.
const QMap<QString, TFuzzEntry> &FuzzTargets();

// Defines the entry function of target `name`, whose input is `input`.
#define TESSARION_FUZZ_TARGET(name, input)                                               \
    static void FuzzEntry_##name(QByteArrayView);                                        \
    static const TFuzzTarget fuzzTarget_##name(QStringLiteral(#name), &FuzzEntry_##name); \
    static void FuzzEntry_##name(QByteArrayView input)

// A reader broke a promise it makes for every input.
class TFuzzFinding : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

void FuzzExpect(bool condition, const char *what);

// Runs step; a TFatalError is the clean end of the program. True when the
// step ran to its end.
bool FuzzCleanly(const std::function<void()> &step);

// One engine object on a private temporary program folder, shared by the
// runs of a process (building the 30000-word table for every input would
// cost more than the reading).
class TFuzzEngine {
public:
    TFuzzEngine();
    TCC &cc() { return *m_cc; }
    // Forgets everything of the previous input: the files of the program and
    // user folders, the catalog, the settings, the messages, the words at
    // positions 1..touchedWords, and makes `code` (in `slot`, with
    // `tangoTotal` words) the current learning file.
    void Reset(const QString &code, int slot, int tangoTotal, int touchedWords);
    // Only makes `code` the current file, with fresh words at 1..tangoTotal
    // (for targets that touch no file).
    void UseFile(const QString &code, int slot, int tangoTotal);
    // Writes bytes to a file below the program folder.
    void Write(const QString &relative, QByteArrayView bytes) const;
    QString ProgramFile(const QString &relative) const { return m_cc->programFolder + relative; }
    QString UserFile(const QString &relative) const { return m_cc->userFolder + relative; }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TCC> m_cc;
};

TFuzzEngine &FuzzEngine();

// An upper bound of the number of lines the bytes hold in any encoding the
// readers accept (UTF-8, CP932 or UTF-16): every line break holds a byte 0A or 0D.
int FuzzLineBound(QByteArrayView bytes);

// The input as text the way a learner could type or a file could hold it:
// UTF-8 with broken sequences replaced.
QString FuzzText(QByteArrayView bytes);
