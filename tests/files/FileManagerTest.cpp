// The learning-file manager lists the installed files and switches their
// study on and off.
#include "engine/CommonUnit.h"
#include "files/FileManagerUnit.h"
#include "support/TestSupport.h"

#include <QListWidget>
#include <gtest/gtest.h>

namespace {
void PutRow(TCC &cc, const QString &code, const QString &onOff, const QString &title)
{
    TDBF &row = cc.catalog.rows[static_cast<size_t>(FileSlotOfCode(code))];
    row.Code = code;
    row.OnOff = SwitchFromText(onOff);
    row.Title = title;
}
}

TEST(FileManagerForm, ListsInstalledFilesAndSwitchesTheirStudy)
{
    const TTempProgramFolder folder;
    folder.write(QStringLiteral("resource/TT_enc.dat"), "x");
    folder.write(QStringLiteral("resource/DT_enc.dat"), "x");
    TCC cc;
    cc.programFolder = folder.path();
    PutRow(cc, QStringLiteral("TT"), QStringLiteral("ON"), QStringLiteral("Words"));
    PutRow(cc, QStringLiteral("DT"), QStringLiteral("OFF"), QStringLiteral("Exam words"));
    PutRow(cc, QStringLiteral("IT"), QStringLiteral("ON"), QStringLiteral("Not installed"));

    TFileManagerForm form(cc);
    form.show();
    QListWidget *list = form.sListFiles;
    ASSERT_EQ(list->count(), 2);   // IT has no learning data here
    QListWidgetItem *tt = list->findItems(QStringLiteral("TT"), Qt::MatchStartsWith).value(0);
    QListWidgetItem *dt = list->findItems(QStringLiteral("DT"), Qt::MatchStartsWith).value(0);
    ASSERT_TRUE(tt && dt);
    EXPECT_TRUE(tt->text().contains(QStringLiteral("Words")));
    EXPECT_EQ(tt->checkState(), Qt::Checked);
    EXPECT_EQ(dt->checkState(), Qt::Unchecked);

    dt->setCheckState(Qt::Checked);
    tt->setCheckState(Qt::Unchecked);
    EXPECT_TRUE(cc.catalog.rows[static_cast<size_t>(FileSlotOfCode(QStringLiteral("DT")))].OnOff);
    EXPECT_FALSE(cc.catalog.rows[static_cast<size_t>(FileSlotOfCode(QStringLiteral("TT")))].OnOff);
    form.hide();
}
