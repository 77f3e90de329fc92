// A learning file resource/<code>_enc.dat loaded as a file starts: decoded,
// its rows stored by number (unnumbered rows after TangoTotal), fields by the
// column layout of the code, meanings normalised; then its record file is
// made, and the typing-question test runs over the first words. The input is
// the file code (first byte), TangoTotal (second byte) and the stored file.
#include "fuzz/FuzzTarget.h"

namespace {
const QStringList kCodes = {QStringLiteral("TT"), QStringLiteral("TJ"), QStringLiteral("DT"),
                            QStringLiteral("DJ"), QStringLiteral("IT"), QStringLiteral("FT")};
constexpr int kTypingTestWords = 20;
}

TESSARION_FUZZ_TARGET(learning_file, input)
{
    if (input.size() < 2)
        return;
    const QString code = kCodes.at(static_cast<unsigned char>(input.at(0)) % kCodes.size());
    const int tangoTotal = static_cast<unsigned char>(input.at(1));
    input = input.sliced(2);
    TFuzzEngine &engine = FuzzEngine();
    TCC &cc = engine.cc();
    engine.Reset(code, FileSlotOfCode(code), tangoTotal, 0);
    cc.SetCurrentFile(code);
    engine.Write(QStringLiteral("resource/") + code + QStringLiteral("_enc.dat"), input);
    if (!FuzzCleanly([&] { cc.LoadLearningFile(); }))
        return;
    for (int p = 1; p <= qMin(tangoTotal, kTypingTestWords); ++p)
        cc.DecideTypingQuestion(p, true, TAnswerDirection::MeaningToWord);
}
