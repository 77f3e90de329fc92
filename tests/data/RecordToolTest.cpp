// The record, stage-rules and settings commands of tessarion-tool on a
// program folder with one small learning file.
#include "data/LearningFile.h"
#include "data/RecordFile.h"
#include "support/TestSupport.h"
#include "workspace/CatalogFixture.h"
#include "base/DateText.h"
#include "workspace/FileSettings.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <functional>
#include <gtest/gtest.h>

namespace {
const QString kRecordTT = QStringLiteral("user/record/Record_TT.dat");
const QString kSettingsTT = QStringLiteral("user/setting/Setting_TT.dat");

struct TToolFolder {
    TTempProgramFolder dir;

    TToolFolder()
    {
        std::map<int, TSiteRow> rows = UsualSiteRows();
        rows[6].tangoTotal = 3;
        rows[6].dbTangoTotal = 3;
        dir.writeLines(QStringLiteral("resource/FileInfo_SITE.dat"), SiteCatalogLines(805, rows));
        const QString text = QStringLiteral(
            "x305\r\n1\tbank2\tpron\t\t銀行\t土手\r\n2\triver\t\t\t川\r\n3\tabode\t\t\t住まい\r\n");
        dir.write(QStringLiteral("resource/TT_enc.dat"), EncodeLearningText(text).toUtf8());
    }

    // Standard output lines of a successful run.
    QStringList Run(const QString &command, const QStringList &more = {}) const
    {
        QStringList args{command, QStringLiteral("--program-folder"), dir.path()};
        if (command != QStringLiteral("catalog"))   // the catalog is of every file
            args << QStringLiteral("--file") << QStringLiteral("TT");
        QProcess p;
        p.start(BinaryDir() + QStringLiteral("/tessarion-tool"), args + more);
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }

    void WriteRecord(const QStringList &lines) const
    {
        QString text;
        for (const QString &l : lines)
            text += l + QStringLiteral("\r\n");
        dir.write(kRecordTT, QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8());
    }
};

// Every file below the folder with a hash of its bytes (folders too, so a
// created folder shows).
QMap<QString, QByteArray> Snapshot(const QString &root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        QByteArray hash = "folder";
        if (it.fileInfo().isFile() && file.open(QIODevice::ReadOnly))
            hash = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1);
        files.insert(path.mid(root.size()), hash);
    }
    return files;
}

QString DaysAgo(int days)
{
    return BuildDateText(QDate::currentDate().addDays(-days));
}
}

TEST(RecordTool, RecordCommandPrintsTheFileAsSaved)
{
    TToolFolder f;
    // No record yet: fresh records are printed; a command that only prints
    // writes nothing.
    const QStringList fresh = f.Run(QStringLiteral("record"));
    ASSERT_EQ(fresh.size(), 3);
    EXPECT_FALSE(QFileInfo::exists(f.dir.file(kRecordTT)));
    const QStringList fields = fresh.at(0).split(u'\t');
    ASSERT_EQ(fields.size(), 15);
    EXPECT_EQ(fields.mid(0, 12), (QStringList{"bank2", "1", "", "0", "", "0", "0", "0", "0", "0", "0", ""}));
    EXPECT_EQ(fields.at(14), QStringLiteral("FALSE"));

    const QStringList stored = {
        QStringLiteral("bank2\t2\t\t0\t2009/7/5[6]2009/07/25[7]\t2\t9\t1\t0\t7\t0\t2009/9/23\t512\t768\tFALSE"),
        QStringLiteral("river\t1\t0[2]40[3]\t2\t\t0\t3\t0\t1\t3\t12\t\t4\t5\tTRUE"),
        QStringLiteral("abode\t3\t\t0\t\t0\t40\t12\t3\t11\t0\t2010/12/1\t3\t4\tFALSE"),
    };
    f.WriteRecord(stored);
    EXPECT_EQ(f.Run(QStringLiteral("record")), stored);
}

TEST(RecordTool, StageRulesCommandListsAndSaves)
{
    TToolFolder f;
    f.WriteRecord({
        // 790 days in stage 2 at level 10: passes with a day offset of 10
        QStringLiteral("bank2\t2\t\t0\t%1[9]%2[10]\t2\t9\t1\t0\t10\t0\t%3\t512\t768\tFALSE")
            .arg(DaysAgo(790), DaysAgo(100), DaysAgo(-80)),
        // level 7, last answered 195 days ago: lost after 200
        QStringLiteral("river\t2\t\t0\t%1[7]\t1\t3\t0\t1\t7\t0\t%2\t4\t5\tFALSE").arg(DaysAgo(195), DaysAgo(135)),
        // limit flag
        QStringLiteral("abode\t1\t920[4]1200[5]\t2\t\t0\t40\t12\t0\t5\t3\t\t3\t4\tTRUE"),
    });
    const QStringList lists = f.Run(QStringLiteral("stage-rules"), {QStringLiteral("--day-offset"), QStringLiteral("10")});
    EXPECT_EQ(lists, (QStringList{QStringLiteral("Stage2OK\t 【Level 10】 bank (2) （ 銀行、土手 ）"),
                                  QStringLiteral("StageNG\t 【Stage 1】 abode （ 住まい ）"),
                                  QStringLiteral("Limbo\t 【Stage 2】 river （ 川 ）")}));
    const QStringList saved = f.dir.readLines(kRecordTT);
    ASSERT_EQ(saved.size(), 3 + 1);   // the words, then the line that counts them
    EXPECT_TRUE(ParseRecordTrailer(saved.last()));
    const QStringList bank = saved.at(0).split(u'\t');
    EXPECT_EQ(bank.at(1), QStringLiteral("3"));
    EXPECT_EQ(bank.at(11), BuildDateText(QDate::currentDate().addDays(10)));   // asked on that day
    const QStringList river = saved.at(1).split(u'\t');
    EXPECT_EQ(river.mid(1, 10), (QStringList{"1", "", "0", "", "0", "3", "0", "2", "0", "0"}));
    EXPECT_EQ(saved.at(2).split(u'\t').at(14), QStringLiteral("FALSE"));

    // Nothing is due any more.
    EXPECT_TRUE(f.Run(QStringLiteral("stage-rules"), {QStringLiteral("--day-offset"), QStringLiteral("10")}).isEmpty());
}

TEST(RecordTool, SettingsCommandPrintsTheLinesAsWritten)
{
    TToolFolder f;
    QStringList defaults = f.Run(QStringLiteral("settings"));
    ASSERT_EQ(defaults.size(), kSettingsLineCount);
    EXPECT_EQ(defaults.at(0), QStringLiteral("805"));
    EXPECT_EQ(defaults.at(7), QStringLiteral("80"));
    EXPECT_EQ(defaults.at(11), ShortDateText(QDate::currentDate()));

    // An older file is printed as it will be written back.
    QStringList old = defaults.mid(0, 31);
    old[0] = QStringLiteral("1.0");
    old[5] = QStringLiteral("Mac");
    old[19] = QStringLiteral("4");
    f.dir.writeLines(kSettingsTT, old);
    const QStringList read = f.Run(QStringLiteral("settings"));
    ASSERT_EQ(read.size(), kSettingsLineCount);
    EXPECT_EQ(read.at(0), QStringLiteral("805"));
    EXPECT_EQ(read.at(5), QStringLiteral("Eos"));
    EXPECT_EQ(read.at(19), QStringLiteral("0"));
    EXPECT_EQ(read.mid(31), defaults.mid(31));
}

TEST(RecordTool, PrintingCommandsWriteNothing)
{
    const QStringList printing = {QStringLiteral("record"), QStringLiteral("settings"), QStringLiteral("catalog"),
                                  QStringLiteral("words")};
    // A first start (no user folder yet), a folder after a study run, and the
    // same with a record cut to one line and a settings file emptied: what a
    // start would create or reset is only shown.
    const struct {
        const char *state;
        std::function<void(TToolFolder &)> prepare;
    } states[] = {
        {"first start", [](TToolFolder &) {}},
        {"after a study run", [](TToolFolder &f) { f.Run(QStringLiteral("study"), {QStringLiteral("--answers"), QStringLiteral("1011")}); }},
        {"damaged record and settings",
         [](TToolFolder &f) {
             f.Run(QStringLiteral("study"), {QStringLiteral("--answers"), QStringLiteral("1011")});
             f.WriteRecord({QStringLiteral("bank2\t1\t0[1]\t1\t\t0\t1\t0\t0\t1\t1\t\t4\t5\tFALSE")});
             f.dir.write(kSettingsTT, QByteArray());
         }},
    };
    for (const auto &state : states) {
        TToolFolder f;
        state.prepare(f);
        const auto before = Snapshot(f.dir.path());
        for (const QString &command : printing) {
            f.Run(command);
            EXPECT_EQ(Snapshot(f.dir.path()), before) << state.state << ": " << command.toStdString();
        }
    }
}
