// The shift codec of the learning data files: any stored bytes decode to a
// text, and every text the encoder accepts is stored and read back exactly.
#include "data/LearningFile.h"
#include "fuzz/FuzzTarget.h"

namespace {
// What reading adds after the last stored line: the CR LF it puts there, shifted down.
const QString kReadTrailer = DecodeLearningText(QStringLiteral("\r\n"));
}

TESSARION_FUZZ_TARGET(learning_text, input)
{
    DecodeLearningBytes(input.toByteArray());
    const QString text = FuzzText(input);
    QString encoded;
    // (An empty file holds no line, so reading adds no trailer to it.)
    if (FuzzCleanly([&] { encoded = EncodeLearningText(text); }) && !text.isEmpty())
        FuzzExpect(DecodeLearningBytes(encoded.toUtf8()) == text + kReadTrailer,
                   "an encoded text is read back exactly");
}
