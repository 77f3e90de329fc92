// The shift codec of the learning data files and the meaning rules of their
// rows: any stored bytes decode to a text, every text the encoder accepts is
// stored and read back exactly, and every field of every decoded row goes
// through the meaning rules of each kind of file.
#include "data/LearningFile.h"
#include "data/MeaningRules.h"
#include "fuzz/FuzzTarget.h"
#include "base/TextFiles.h"

namespace {
// What reading adds after the last stored line: the CR LF it puts there, shifted down.
const QString kReadTrailer = DecodeLearningText(QStringLiteral("\r\n"));
constexpr int kMeaningFields = 6;
}

TESSARION_FUZZ_TARGET(learning_text, input)
{
    const QString decoded = DecodeLearningBytes(input.toByteArray());
    for (const QString &line : SplitLines(decoded)) {
        std::array<QString, kMeaningFields> meanings;
        const QStringList fields = line.split(u'\t');
        for (qsizetype i = 0; i < fields.size(); ++i) {
            for (TMeaningRules rules : {TMeaningRules::Plain, TMeaningRules::Standard, TMeaningRules::Italian})
                meanings[static_cast<size_t>(i % kMeaningFields)] = NormalizeMeaningText(fields.at(i), rules);
        }
        JoinMeanings(meanings);
    }

    const QString text = FuzzText(input);
    QString encoded;
    // (An empty file holds no line, so reading adds no trailer to it.)
    if (FuzzCleanly([&] { encoded = EncodeLearningText(text); }) && !text.isEmpty())
        FuzzExpect(DecodeLearningBytes(encoded.toUtf8()) == text + kReadTrailer,
                   "an encoded text is read back exactly");
}
