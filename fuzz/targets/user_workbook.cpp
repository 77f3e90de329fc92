// A learner's workbook word_user/User_1.xls loaded as U1 starts: read as a
// workbook (anything else refused), the row rules applied, the record file
// made or matched by word. The input is the workbook file.
#include "fuzz/FuzzTarget.h"

#include <QDir>
#include <QFile>

TESSARION_FUZZ_TARGET(user_workbook, input)
{
    const QString code = QStringLiteral("U1");
    TFuzzEngine &engine = FuzzEngine();
    TCC &cc = engine.cc();
    engine.Reset(code, FileSlotOfCode(code), 0, 0);
    cc.SetCurrentFile(code);
    QDir().mkpath(engine.UserFile(QStringLiteral("word_user")));
    QFile file(engine.UserFile(QStringLiteral("word_user/User_1.xls")));
    if (!file.open(QIODevice::WriteOnly) || file.write(input.data(), input.size()) != input.size())
        return;
    file.close();
    FuzzCleanly([&] { cc.LoadLearningFile(); });
}
