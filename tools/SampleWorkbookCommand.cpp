// tessarion-tool sample-workbook OUT.xls: writes the sample workbook a user
// file starts from. An existing file is never replaced.
#include "base/TError.h"
#include "data/SampleWorkbook.h"
#include "tools/Commands.h"

#include <QDir>
#include <QFileInfo>

namespace {
int RunSampleWorkbook(const QStringList &args)
{
    if (args.size() != 1 || args.first().startsWith(u'-'))
        throw TFatalError(QStringLiteral("usage: tessarion-tool sample-workbook OUT.xls"));
    const QString path = QFileInfo(args.first()).absoluteFilePath();
    WriteSampleWorkbook(path);
    PrintFields({QStringLiteral("written"), QDir::toNativeSeparators(path)});
    return 0;
}

const TToolCommand reg(QStringLiteral("sample-workbook"),
                       {QStringLiteral("Writes the sample workbook (.xls) a learner's own word list starts from."),
                        QStringLiteral("An existing file is never replaced."),
                        {},
                        {{QStringLiteral("OUT.xls"), QStringLiteral("The workbook to write; it must not exist yet.")}},
                        {QStringLiteral("tessarion-tool sample-workbook ~/words.xls")}},
                       &RunSampleWorkbook);
} // namespace
