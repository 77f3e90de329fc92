#include "bench/BenchFiles.h"

#include "data/LearningFile.h"
#include "engine/CommonUnit.h"
#include "base/TError.h"
#include "base/DateText.h"
#include "base/TextFiles.h"

#include <QDir>
#include <QFile>

namespace {
constexpr int kSlotTT = 6;
constexpr quint32 kSeed = 20240401;
const QDate kToday(2024, 4, 1);
const QString kRecordFile = QStringLiteral("user/record/Record_TT.dat");
const QString kSettingsFile = QStringLiteral("user/setting/Setting_TT.dat");
const QString kSavedSuffix = QStringLiteral(".bench");

// A made-up English-looking word of 4 to 10 letters.
QString PseudoWord(TRandom &draw)
{
    static const QString kLetters = QStringLiteral("eeeeaaaiiioooonnnrrrssstttlllcdumphgbfywkvxzjq");
    QString word;
    const int length = draw.Between(4, 10);
    for (int i = 0; i < length; ++i)
        word += kLetters.at(draw.Below(static_cast<int>(kLetters.size())));
    return word;
}

void UseTT(TCC &cc, int n)
{
    cc.clock.FixToday(kToday);
    cc.random.Seed(kSeed);
    cc.SetCurrentFile(QStringLiteral("TT"));
    TDBF &row = cc.catalog.rows[kSlotTT];
    row.Code = cc.fileCode;
    row.Version = 305;
    row.OnOff = true;
    row.Order = QStringLiteral("6");
    row.PopUp = false;
    row.Title = QStringLiteral("TOEIC");
    row.TangoTotal = n;
    row.DBTangoTotal = n;
    cc.catalog.dataVersion = 900;
    cc.catalog.fileManager = false;
}

// Stage-1 history of a word that climbed to its level one question apart.
void WriteStage1History(TTango &t)
{
    t.stage1History.clear();
    int question = 0;
    for (int level = 1; level <= t.level; ++level) {
        t.stage1History += QStringLiteral("%1[%2]").arg(question).arg(level);
        question += LevelInterval(level);
    }
    t.stage1Count = t.level;
}

// A stage-2 word last answered a little before it fell due, with one entry
// per level from 6 back in time; one whose first entry is 800 days old has
// moved on to stage 3, as the stage rules of an earlier start would have done.
void WriteStage2History(TTango &t, TRandom &draw)
{
    const QDate last = kToday.addDays(-draw.Between(0, LevelInterval(t.level) + 20));
    QStringList entries;
    QDate day = last;
    for (int level = t.level; level >= kFirstStage2Level; --level) {
        entries.prepend(BuildDateText(day) + QStringLiteral("[%1]").arg(level));
        day = day.addDays(-LevelInterval(level - 1));
    }
    const QDate first = day.addDays(LevelInterval(kFirstStage2Level - 1));
    t.stage2History = entries.join(QString());
    t.stage2Count = static_cast<int>(entries.size());
    t.stage = first.daysTo(kToday) >= kStage2Duration ? TStage::Three : TStage::Two;
    const int interval = t.stage == TStage::Three ? Stage3Interval(t.level) : LevelInterval(t.level);
    t.nextDueDate = BuildDateText(last.addDays(interval));
}
}

void FillRealisticWordTable(TCC &cc, int n)
{
    TRandom draw(kSeed);
    UseTT(cc, n);
    cc.settings.dailyQuota = 80;
    for (int p = 1; p <= n; ++p) {
        TTango &t = cc.words[p];
        t = TTango{};
        t.number = p;
        t.word = PseudoWord(draw);
        t.meanings[0] = QStringLiteral("意味%1").arg(p);
        t.meanings[1] = QStringLiteral("別の意味%1").arg(p % 997);
        const int kind = draw.Below(100);
        if (kind < 20) {
            t.level = draw.Between(6, 12);
            t.stage = t.level >= 10 && draw.Below(4) == 0 ? TStage::Three : TStage::Two;
            t.nextDueDate = BuildDateText(kToday.addDays(draw.Between(-20, 260)));
            t.timesAsked = draw.Between(6, 30);
        } else if (kind < 40) {
            t.level = draw.Between(1, 5);
            t.stage = TStage::One;
            t.stage1Counter = draw.Between(1, 500);
            t.timesAsked = draw.Between(1, 10);
        } else if (kind < 42) {
            t.level = kExcludedLevel;
        }
    }
}

void GiveRealisticHistories(TCC &cc, int n)
{
    TRandom draw(kSeed + 1);
    for (int p = 1; p <= n; ++p) {
        TTango &t = cc.words[p];
        t.starX = draw.Between(1, 1024);
        t.starY = draw.Between(1, 768);
        if (t.level >= kFirstStage2Level && t.level <= kTopLevel) {
            t.wrongCount = draw.Below(t.timesAsked);
            WriteStage2History(t, draw);
        } else if (t.level >= 1 && t.level < kFirstStage2Level) {
            WriteStage1History(t);
        }
    }
}

TBenchProgramFolder::TBenchProgramFolder(int n) : m_words(n)
{
    if (!m_dir.isValid())
        throw TFatalError(QStringLiteral("no temporary folder for the benchmark"));
    TCC cc;
    cc.RunStartupFileSteps(Path());
    FillRealisticWordTable(cc, n);
    GiveRealisticHistories(cc, n);
    QString text = QStringLiteral("T305\r\n");
    for (int p = 1; p <= n; ++p) {
        const TTango &t = cc.words[p];
        text += QStringLiteral("%1\t%2\t/w%1/\t\t%3\t%4\r\n").arg(p).arg(t.word, t.meanings[0], t.meanings[1]);
    }
    QDir().mkpath(Path() + QStringLiteral("resource"));
    WriteFileAtomic(Path() + QStringLiteral("resource/TT_enc.dat"), EncodeLearningText(text).toUtf8());
    cc.SetDefaultFileSettings(true);
    cc.settings.dailyQuota = 200;
    cc.SaveFileSettings();
    cc.SaveRecordFile();
    cc.SaveCatalog();
    for (const QString &f : {kRecordFile, kSettingsFile})
        QFile::copy(Path() + f, Path() + f + kSavedSuffix);
}

void TBenchProgramFolder::Open(TCC &cc) const
{
    cc.RunStartupFileSteps(Path());
    UseTT(cc, m_words);
}

bool TBenchProgramFolder::OpenStudyRun(TCC &cc) const
{
    Open(cc);
    cc.fileQueue.Append(cc.fileCode);
    return cc.OpenNextLearningFile() == TFileOpenResult::Opened && cc.BeginStudyRun();
}

void TBenchProgramFolder::Restore() const
{
    for (const QString &f : {kRecordFile, kSettingsFile}) {
        QFile::remove(Path() + f);
        QFile::copy(Path() + f + kSavedSuffix, Path() + f);
    }
}
