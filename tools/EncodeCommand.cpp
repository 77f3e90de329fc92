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

const TToolCommand reg(QStringLiteral("encode"), &RunEncode);
}
