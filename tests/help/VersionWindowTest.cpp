// The version window shows the current file's title, the program and file
// versions in hundredths, and the programs' own release, read when it opens.
#include "base/Version.h"
#include "engine/CommonUnit.h"
#include "help/VersionUnit.h"

#include <QLabel>
#include <gtest/gtest.h>

TEST(VersionWindow, ShowsTheFileTitleAndVersionsWhenOpened)
{
    TCC cc;
    cc.catalog.dataVersion = 805;
    cc.catalog.rows[6].Title = QStringLiteral("TOEIC 頻出単語 ");
    cc.catalog.rows[6].Version = 305;
    cc.fileSlot = 6;
    TAboutForm form(cc);
    const QString release = QStringLiteral("Tessarion ") + QString::fromLatin1(kTessarionVersion);
    EXPECT_EQ(form.Lines(), (QStringList{QStringLiteral("TOEIC 頻出単語"), QStringLiteral("program version 8.05"),
                                         QStringLiteral("file version 3.05"), release}));
    form.show();
    auto *text = form.findChild<QLabel *>(QStringLiteral("AboutText"));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->text().contains(QStringLiteral("program version 8.05")));

    // Another file later: the window reads the values again.
    form.hide();
    cc.catalog.rows[8].Title = QStringLiteral("イタリア語");
    cc.catalog.rows[8].Version = 1201;
    cc.fileSlot = 8;
    form.show();
    EXPECT_TRUE(text->text().contains(QStringLiteral("file version 12.01")));
    EXPECT_TRUE(text->text().startsWith(QStringLiteral("イタリア語\n")));

    // No file open: only the versions of the program.
    cc.fileSlot = 0;
    EXPECT_EQ(form.Lines(), (QStringList{QStringLiteral("program version 8.05"), release}));
}
