// tessarion-tool decode IN OUT: a learning-data file back to the plain UTF-8
// text it was encoded from, byte for byte. The file is read as the program
// reads it; the stray trailer that reading adds (the shifted CR LF after the
// last stored line) is taken off again.
#include "data/LearningFile.h"
#include "base/TError.h"
#include "tools/Commands.h"
#include "tools/ToolFiles.h"
#include "base/TextFiles.h"

namespace {
const QString kReadTrailer = DecodeLearningText(QStringLiteral("\r\n"));

int RunDecode(const QStringList &args)
{
    if (args.size() != 2)
        throw TFatalError(QStringLiteral("usage: tessarion-tool decode IN OUT"));
    const QByteArray stored = ReadWholeFile(args.at(0));
    ExactUtf8Text(stored, args.at(0));   // refuses broken bytes
    QString text = DecodeLearningBytes(stored);
    if (text.endsWith(kReadTrailer))
        text.chop(kReadTrailer.size());
    // Only a text the encoder accepts converts back exactly; anything else
    // (line breaks inside the stored text, units below the shift) was not
    // written by the encoder and is refused rather than written half right.
    try {
        EncodeLearningText(text);
    } catch (const TFatalError &e) {
        throw TFatalError(QStringLiteral("%1 is not an encoded learning-data file: %2").arg(args.at(0), e.Message()));
    }
    WriteFileAtomic(args.at(1), text.toUtf8());
    return 0;
}

const TToolCommand reg(QStringLiteral("decode"),
                       {QStringLiteral("Turns a learning-data file back into the plain UTF-8 text it was encoded from, byte for byte."),
                        QStringLiteral("A file that the encoder could not have written is refused and OUT is not written."),
                        {},
                        {{QStringLiteral("IN"), QStringLiteral("The encoded learning-data file (such as resource/TT_enc.dat).")},
                         {QStringLiteral("OUT"), QStringLiteral("The text file to write; replaced when it exists.")}},
                        {QStringLiteral("tessarion-tool decode build/resource/TT_enc.dat TT.txt")}},
                       &RunDecode);
}
