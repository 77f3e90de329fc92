// tessarion-tool encode IN OUT: plain UTF-8 text to a learning-data file.
// The source text is stored exactly, line breaks included (see
// data/LearningFile.h); end it with a line break so that its last line is read
// as data.
#include "data/LearningFile.h"
#include "base/TError.h"
#include "tools/Commands.h"
#include "tools/ToolFiles.h"
#include "base/TextFiles.h"

namespace {
int RunEncode(const QStringList &args)
{
    if (args.size() != 2)
        throw TFatalError(QStringLiteral("usage: tessarion-tool encode IN OUT"));
    const QString source = ExactUtf8Text(ReadWholeFile(args.at(0)), args.at(0));
    WriteFileAtomic(args.at(1), EncodeLearningText(source).toUtf8());
    return 0;
}

const TToolCommand reg(QStringLiteral("encode"),
                       {QStringLiteral("Turns plain UTF-8 text into a learning-data file."),
                        QStringLiteral("The text is stored exactly, line breaks included; end it with a line break so that its last line is read as data. Text that is not valid UTF-8 is refused."),
                        {},
                        {{QStringLiteral("IN"), QStringLiteral("The UTF-8 text file to encode.")},
                         {QStringLiteral("OUT"), QStringLiteral("The learning-data file to write; replaced when it exists.")}},
                        {QStringLiteral("tessarion-tool encode TT.txt TT_enc.dat")}},
                       &RunEncode);
}
