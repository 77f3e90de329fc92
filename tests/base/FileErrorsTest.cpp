// The reasons that messages give for a failed file operation are Japanese.
#include "base/FileErrors.h"

#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>

TEST(FileErrors, TheSystemsReasonsAreSaidInJapanese)
{
    QTemporaryDir dir;
    struct Case {
        const char *name;
        QString path;
        QIODevice::OpenMode mode;
        QString reason;
    };
    const Case cases[] = {
        {"missing file", dir.filePath(QStringLiteral("missing.dat")), QIODevice::ReadOnly,
         QStringLiteral("ファイルまたはフォルダーがありません")},
        {"missing folder on the way", dir.filePath(QStringLiteral("no/such.dat")), QIODevice::WriteOnly,
         QStringLiteral("ファイルまたはフォルダーがありません")},
        {"a folder written as a file", dir.path(), QIODevice::WriteOnly, QStringLiteral("フォルダーです")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QFile file(c.path);
        ASSERT_FALSE(file.open(c.mode));
        EXPECT_EQ(FileErrorText(file), c.reason) << file.errorString().toStdString();
    }
}

TEST(FileErrors, ErrorNumbersAreSaidInJapaneseAndUnknownOnesKeepTheSystemsText)
{
    EXPECT_EQ(SystemErrorText(ENOSPC), QStringLiteral("ディスクの空きがありません"));
    EXPECT_EQ(SystemErrorText(EACCES), QStringLiteral("アクセスが許可されていません"));
    const QString unknown = SystemErrorText(EDOM);
    EXPECT_TRUE(unknown.startsWith(QStringLiteral("システムのエラー（"))) << unknown.toStdString();
}
