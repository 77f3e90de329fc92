#include "base/TError.h"
#include "engine/LearningStatus.h"
#include "support/EngineFolder.h"
#include "workspace/FileSettings.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {
const QString kSettingsTT = QStringLiteral("user/setting/Setting_TT.dat");
const QString kSettingsTJ = QStringLiteral("user/setting/Setting_TJ.dat");
const QString kFormPosition = QStringLiteral("user/setting/FormPosition.dat");

// A block in which every value differs from its default.
TFileSettings Unusual()
{
    TFileSettings s;
    s.version = 805;
    s.reservedA = 7;
    s.reservedB = 3;
    s.skin = QStringLiteral("Nike");
    s.effectVolume = 1234;
    s.dailyQuota = 130;
    s.answerTime = 1100;
    s.optionDelay = 40;
    s.startTab = 2;
    s.learningStartDate = QStringLiteral("2008/12/31");
    s.firstTimeIncrement = 6;
    s.typingForEvenLevels = 0;
    s.glimpse = 10;
    s.answerDirection = TAnswerDirection::WordToMeaning;
    s.typingSound = 16;
    s.reservedC = 4;
    s.typingVolume = 2000;
    s.speechMode = 1;
    s.quietAgent = 1;
    s.speakAfterQuestion = 1;
    s.speakAfterGrading = 0;
    s.reservedD = 0;
    s.agentTop = -20;
    s.agentLeft = 1500;
    s.learningDays = 321;
    s.overallCorrectRate = 87;
    s.averageAchievement = 93;
    s.topRightDisplay = 1;
    s.speechEngine = QStringLiteral("{CA141FD0-AC7F-11D1-97A3-006008273000}");
    s.quickResponseAfterQuota = 0;
    s.quickResponseValues = {10, 90, 35};
    s.quickResponseFont = QStringLiteral("Times New Roman");
    s.quickResponseFontSize = -48;
    s.answersTotal = 24567;
    s.showProgressAtEnd = 0;
    return s;
}

// A settings file as an older version wrote it: the first `count` lines of a
// full file whose values are given.
QStringList OldFile(const QStringList &values, int count)
{
    QStringList lines = values;
    while (lines.size() > count)
        lines.removeLast();
    return lines;
}
}

TEST(FileSettings, SaveAndLoadReproduceAllValues)
{
    TEngineFolder e;
    e.cc.catalog.dataVersion = 805;
    e.cc.LoadFileSettings();
    e.cc.settings = Unusual();
    e.cc.formPosition = {11, 22, 33, 44, 55, 5};
    e.cc.SaveFileSettings();
    const QStringList written = e.dir.readLines(kSettingsTT);
    ASSERT_EQ(written.size(), kSettingsLineCount);
    EXPECT_EQ(written.at(3), QStringLiteral("11"));   // main window top
    EXPECT_EQ(written.at(4), QStringLiteral("22"));
    EXPECT_EQ(e.dir.readLines(kFormPosition),
              (QStringList{"11", "22", "33", "44", "55", "5"}));

    TEngineFolder again;
    again.cc.userFolder = e.cc.userFolder;
    again.cc.LoadFileSettings();
    EXPECT_EQ(again.cc.settings, Unusual());
    EXPECT_EQ(again.cc.formPosition, (TFormPosition{11, 22, 33, 44, 55, 5}));
    EXPECT_FALSE(again.cc.settingsFileNew);
    EXPECT_TRUE(again.messages().messages.isEmpty());
    EXPECT_EQ(FileSettingsLines(again.cc.settings, again.cc.formPosition), written);
}

TEST(FileSettings, MissingFileGivesDefaultsOfTheFileCode)
{
    TEngineFolder e(QStringLiteral("TJ"), 7);
    e.cc.catalog.dataVersion = 805;
    e.cc.formPosition = {100, 200, 0, 0, 0, 3};
    e.cc.formPositionLoaded = true;
    e.cc.training.retryPending = true;
    e.cc.training.correctToday = 9;
    e.cc.LoadFileSettings();
    const TFileSettings &s = e.cc.settings;
    EXPECT_TRUE(e.cc.settingsFileNew);
    EXPECT_EQ(s.version, 805);
    EXPECT_GE(s.reservedA, 5);
    EXPECT_LE(s.reservedA, 9);
    EXPECT_GE(s.reservedB, 0);
    EXPECT_LE(s.reservedB, 6);
    EXPECT_EQ(s.dailyQuota, 50);
    EXPECT_EQ(s.quickResponseFont, QStringLiteral("Georgia"));
    EXPECT_EQ(s.agentTop, 190);
    EXPECT_EQ(s.agentLeft, 830);
    EXPECT_EQ(s.learningStartDate, QStringLiteral("2009/07/05"));
    EXPECT_EQ(s.skin, QStringLiteral("Athena"));
    EXPECT_EQ(s.speechEngine, QStringLiteral("void"));
    EXPECT_FALSE(e.cc.training.retryPending);
    EXPECT_EQ(e.cc.training.correctToday, 0);
    EXPECT_EQ(e.cc.training.remaining, 50);
    // Nothing is written until the file ends.
    EXPECT_FALSE(QFileInfo::exists(e.dir.file(kSettingsTJ)));

    e.UseFile(QStringLiteral("TT"), 6, 3);
    e.cc.LoadFileSettings();
    EXPECT_EQ(e.cc.settings.dailyQuota, 80);
    EXPECT_EQ(e.cc.settings.quickResponseFont, QStringLiteral("Papyrus"));
}

TEST(FileSettings, OldestLayoutReadsVersionTenAndDefaultsTheRest)
{
    TEngineFolder e;
    // Version "1.0", up to the typing sound; older skin name, increment 3.
    e.dir.writeLines(kSettingsTT, {"1.0", "6", "2", "10", "20", "Gaia", "800", "100", "600",
                                   "20", "1", "2007/4/1", "3", "0", "300", "0", "5"});
    e.cc.LoadFileSettings();
    const TFileSettings &s = e.cc.settings;
    EXPECT_EQ(s.version, 10);
    EXPECT_EQ(s.skin, QStringLiteral("Hephaestus"));
    EXPECT_EQ(s.dailyQuota, 100);
    EXPECT_EQ(s.learningStartDate, QStringLiteral("2007/4/1"));
    EXPECT_EQ(s.firstTimeIncrement, 6);
    EXPECT_EQ(s.typingForEvenLevels, 0);   // TT reads it at any version
    EXPECT_EQ(s.typingSound, 5);
    // From line 18 on: defaults.
    EXPECT_EQ(s.reservedC, 1);
    EXPECT_EQ(s.typingVolume, 900);
    EXPECT_EQ(s.speechMode, 2);
    EXPECT_EQ(s.speakAfterGrading, 1);
    EXPECT_EQ(s.topRightDisplay, 2);
    EXPECT_EQ(s.quickResponseValues, (std::array<qint32, 3>{50, 50, 50}));
    EXPECT_EQ(s.showProgressAtEnd, 1);
    EXPECT_EQ(s.answersTotal, 0);   // no learning days: nothing to estimate from
    EXPECT_FALSE(e.cc.settingsFileNew);
}

TEST(FileSettings, OlderVersionsMapTheirValues)
{
    // version, code, skin, speech line, increment, typing line -> skin, speech, increment, typing
    struct Case {
        const char *version;
        const char *code;
        const char *skin;
        const char *speech;
        const char *typing;
        const char *wantSkin;
        int wantSpeech;
        int wantTyping;
    };
    const Case cases[] = {
        {"36", "TT", "Artemis", "1", "0", "Nike", 2, 0},
        {"36", "TT", "Mac", "3", "0", "Eos", 2, 0},
        {"36", "TT", "Athena", "4", "0", "Athena", 0, 0},
        {"37", "TT", "Athena", "1", "0", "Athena", 1, 0},   // 37 on: the mode as written
        {"38", "TJ", "Athena", "0", "0", "Athena", 0, 1},   // phrase file before 39: typing stays 1
        {"38", "DJ", "Athena", "2", "0", "Athena", 2, 1},
        {"39", "DJ", "Athena", "2", "0", "Athena", 2, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2 %3").arg(c.version, c.code, c.speech).toStdString());
        TEngineFolder e(QString::fromLatin1(c.code), c.code[1] == 'J' ? 7 : 6);
        QStringList lines = FileSettingsLines(DefaultFileSettings(e.cc.fileCode, 805, {}), {});
        lines[0] = QString::fromLatin1(c.version);
        lines[5] = QString::fromLatin1(c.skin);
        lines[13] = QString::fromLatin1(c.typing);
        lines[19] = QString::fromLatin1(c.speech);
        e.dir.writeLines(QStringLiteral("user/setting/Setting_%1.dat").arg(e.cc.fileCode), lines);
        e.cc.LoadFileSettings();
        EXPECT_EQ(e.cc.settings.skin, QString::fromLatin1(c.wantSkin));
        EXPECT_EQ(e.cc.settings.speechMode, c.wantSpeech);
        EXPECT_EQ(e.cc.settings.typingForEvenLevels, c.wantTyping);
    }
}

TEST(FileSettings, QuickResponseVoidAndTheLastTwoLines)
{
    TEngineFolder e;
    QStringList full = FileSettingsLines(Unusual(), {});

    // Line 32 "void": all six quick-response values take their defaults, even
    // when later lines hold something.
    QStringList lines = full;
    lines[31] = QStringLiteral("void");
    e.dir.writeLines(kSettingsTT, lines);
    e.cc.LoadFileSettings();
    EXPECT_EQ(e.cc.settings.quickResponseAfterQuota, 1);
    EXPECT_EQ(e.cc.settings.quickResponseValues, (std::array<qint32, 3>{50, 50, 50}));
    EXPECT_EQ(e.cc.settings.quickResponseFont, QStringLiteral("Papyrus"));
    EXPECT_EQ(e.cc.settings.quickResponseFontSize, -36);
    EXPECT_EQ(e.cc.settings.answersTotal, 24567);

    // An empty line 32 means the same; "void" on 38 and 39 keeps their defaults.
    lines = full;
    lines[31].clear();
    lines[37] = QStringLiteral("void");
    lines[38] = QStringLiteral("void");
    e.dir.writeLines(kSettingsTT, lines);
    e.cc.LoadFileSettings();
    EXPECT_EQ(e.cc.settings.quickResponseValues, (std::array<qint32, 3>{50, 50, 50}));
    EXPECT_EQ(e.cc.settings.answersTotal, 0);
    EXPECT_EQ(e.cc.settings.showProgressAtEnd, 1);

    // Without line 38 the total is estimated from the statistics:
    // 321 days x 130 questions x 93 % x 87 % = 33763.74... -> 33763.
    e.dir.writeLines(kSettingsTT, OldFile(full, 37));
    e.cc.LoadFileSettings();
    EXPECT_EQ(e.cc.settings.answersTotal, 33763);
    EXPECT_EQ(e.cc.settings.showProgressAtEnd, 1);
    EXPECT_EQ(e.cc.settings.quickResponseValues, (std::array<qint32, 3>{10, 90, 35}));

    // Statistics no program wrote, whose product does not fit any integer:
    // the largest total of the product's sign.
    for (const char *sign : {"", "-"}) {
        lines = OldFile(full, 37);
        lines[7] = QStringLiteral("2000000000");                       // daily quota
        lines[26] = QLatin1String(sign) + QStringLiteral("2000000000");   // learning days
        lines[27] = lines[28] = QStringLiteral("2000000000");         // rates
        e.dir.writeLines(kSettingsTT, lines);
        e.cc.LoadFileSettings();
        EXPECT_EQ(e.cc.settings.answersTotal, *sign ? INT_MIN : INT_MAX);
    }

    // Line 38 present, line 39 missing.
    e.dir.writeLines(kSettingsTT, OldFile(full, 38));
    e.cc.LoadFileSettings();
    EXPECT_EQ(e.cc.settings.answersTotal, 24567);
    EXPECT_EQ(e.cc.settings.showProgressAtEnd, 1);
}

TEST(FileSettings, AnUnreadableValueKeepsItsDefaultAndEveryOtherValue)
{
    TEngineFolder e;
    const TFileSettings unusual = Unusual();
    QStringList lines = FileSettingsLines(unusual, {});
    lines[8] = QStringLiteral("7OO");   // the answer time
    e.dir.writeLines(kSettingsTT, lines);
    const QByteArray damaged = e.dir.read(kSettingsTT);
    e.cc.LoadFileSettings();
    EXPECT_EQ(e.cc.settings.answerTime, 700);
    EXPECT_EQ(e.cc.settings.dailyQuota, unusual.dailyQuota);
    EXPECT_EQ(e.cc.settings.learningDays, unusual.learningDays);
    ASSERT_EQ(e.messages().messages.size(), 1);
    const QString message = e.messages().messages.first();
    EXPECT_TRUE(message.contains(QStringLiteral("9 行目"))) << message.toStdString();
    EXPECT_TRUE(message.contains(e.cc.FileSettingsPath())) << message.toStdString();
    // The damaged file is kept; the settings file reads cleanly again.
    const QStringList kept = QDir(e.cc.userFolder + QStringLiteral("setting"))
                                 .entryList({QStringLiteral("Setting_TT.dat.damaged-*")}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(e.dir.read(QStringLiteral("user/setting/") + kept.first()), damaged);
    e.messages().messages.clear();
    e.cc.LoadFileSettings();
    EXPECT_TRUE(e.messages().messages.isEmpty());
}

// A learning start date that is no date stopped the progress window at the
// file's end, before the day's answers were saved: it is repaired to today
// when the file is read, the learner is told, and the file is kept.
TEST(FileSettings, AStartDateThatIsNoDateIsRepaired)
{
    for (const QString &bad : {QStringLiteral("9999/99/99"), QStringLiteral("2026/92/11"), QString(), QStringLiteral("start")}) {
        SCOPED_TRACE(bad.toStdString());
        TEngineFolder e;
        QStringList lines = FileSettingsLines(Unusual(), {});
        lines[11] = bad;
        e.dir.writeLines(kSettingsTT, lines);
        e.cc.LoadFileSettings();
        EXPECT_EQ(e.cc.settings.learningStartDate, QStringLiteral("2009/07/05"));
        EXPECT_EQ(e.cc.settings.learningDays, Unusual().learningDays);
        ASSERT_EQ(e.messages().messages.size(), 1);
        const QString message = e.messages().messages.first();
        EXPECT_TRUE(message.contains(QStringLiteral("12 行目"))) << message.toStdString();
        EXPECT_TRUE(message.contains(e.cc.FileSettingsPath())) << message.toStdString();
        EXPECT_EQ(QDir(e.cc.userFolder + QStringLiteral("setting"))
                      .entryList({QStringLiteral("Setting_TT.dat.damaged-*")}, QDir::Files).size(), 1);
        EXPECT_EQ(ComputeLearningStatus(e.cc, TStatusMode::FileEnd).daysSinceStart, 1);
    }
}

TEST(FileSettings, DamagedFileIsReplacedByDefaultsAndTheRecordKept)
{
    TEngineFolder e;
    e.cc.catalog.dataVersion = 805;
    e.dir.writeLines(kSettingsTT, {QStringLiteral("805")});   // a single line
    const QByteArray record("\xEF\xBB\xBFword\t1\t\t0\t\t0\t0\t0\t0\t0\t0\t\t5\t6\tFALSE\r\n"
                            "word2\t1\t\t0\t\t0\t0\t0\t0\t0\t0\t\t5\t6\tFALSE\r\n");
    e.dir.write(QStringLiteral("user/record/Record_TT.dat"), record);
    e.cc.LoadFileSettings();
    ASSERT_EQ(e.messages().messages.size(), 1);
    const QString message = e.messages().messages.first();
    EXPECT_TRUE(message.startsWith(QStringLiteral("設定ファイルが損傷しています。内容を初期化します。")));
    EXPECT_TRUE(message.contains(e.cc.FileSettingsPath())) << message.toStdString();
    EXPECT_EQ(QDir(e.cc.userFolder + QStringLiteral("setting"))
                  .entryList({QStringLiteral("Setting_TT.dat.damaged-*")}, QDir::Files)
                  .size(),
              1);
    EXPECT_EQ(e.cc.settings.dailyQuota, 80);
    EXPECT_EQ(e.dir.readLines(kSettingsTT).size(), kSettingsLineCount);
    EXPECT_EQ(e.dir.read(QStringLiteral("user/record/Record_TT.dat")), record);
    EXPECT_FALSE(e.cc.settingsFileNew);
}

TEST(FileSettings, TheAgentsDefaultPlaceIsBesideTheMainWindowWhereverItStands)
{
    // A first start: no FormPosition.dat, the main window centred itself.
    TEngineFolder e;
    int mainTop = 170;
    int mainLeft = 300;
    e.cc.captureWindowState = [&] {
        e.cc.formPosition.mainTop = mainTop;
        e.cc.formPosition.mainLeft = mainLeft;
    };
    e.cc.LoadFileSettings();
    EXPECT_EQ(e.cc.settings.agentTop, 170 + 90);
    EXPECT_EQ(e.cc.settings.agentLeft, 300 + 630);
    // Defaults later in the run follow the window where the learner moved it.
    mainTop = 40;
    mainLeft = 500;
    e.cc.SetDefaultFileSettings(false);
    EXPECT_EQ(e.cc.settings.agentTop, 40 + 90);
    EXPECT_EQ(e.cc.settings.agentLeft, 500 + 630);
}

TEST(FileSettings, SavingWritesTheDataVersionAndAsksTheWindowsFirst)
{
    TEngineFolder e;
    // An old file: after one save it is a file of the current layout, so its
    // speech mode 1 is no longer read as an old "on".
    QStringList lines = FileSettingsLines(DefaultFileSettings(QStringLiteral("TT"), 30, {}), {});
    lines[19] = QStringLiteral("4");
    e.dir.writeLines(kSettingsTT, lines);
    e.cc.catalog.dataVersion = 805;
    e.cc.LoadFileSettings();
    EXPECT_EQ(e.cc.settings.speechMode, 0);
    e.cc.settings.speechMode = 1;
    e.cc.captureWindowState = [&] {
        e.cc.formPosition.mainTop = 77;
        e.cc.settings.startTab = 1;
    };
    e.cc.SaveFileSettings();
    TEngineFolder again;
    again.cc.userFolder = e.cc.userFolder;
    again.cc.LoadFileSettings();
    EXPECT_EQ(again.cc.settings.version, 805);
    EXPECT_EQ(again.cc.settings.speechMode, 1);
    EXPECT_EQ(again.cc.settings.startTab, 1);
    EXPECT_EQ(again.cc.formPosition.mainTop, 77);
}

TEST(FileSettings, QuotaOutsideTheRangeIsKeptButBoundedForCounting)
{
    TEngineFolder e;
    QStringList lines = FileSettingsLines(Unusual(), {});
    for (const auto &[stored, usable] : {std::pair{500, 200}, {0, 0}, {-5, 0}, {30, 30}, {200, 200}}) {
        lines[7] = QString::number(stored);
        e.dir.writeLines(kSettingsTT, lines);
        e.cc.LoadFileSettings();
        EXPECT_EQ(e.cc.settings.dailyQuota, stored);
        EXPECT_EQ(e.cc.UsableQuota(), usable);
        e.cc.SaveFileSettings();
        EXPECT_EQ(e.dir.readLines(kSettingsTT).at(7), QString::number(stored));
    }
}

TEST(FileSettings, FormPositionKeepsWhatIsStoredAndDefaultsTheRest)
{
    TEngineFolder e;
    e.dir.writeLines(kFormPosition, {"5", "6", "7", "8"});
    e.cc.LoadFormPosition();
    EXPECT_EQ(e.cc.formPosition, (TFormPosition{5, 6, 7, 8, 0, 3}));
    e.cc.LoadFileSettings();
    e.cc.SaveFileSettings();
    EXPECT_EQ(e.dir.readLines(kFormPosition), (QStringList{"5", "6", "7", "8", "0", "3"}));
}

TEST(FileSettings, GarbageWindowPositionsPlaceWindowsAsOnAFirstStart)
{
    TEngineFolder e;
    e.dir.writeLines(QStringLiteral("user/setting/FormPosition.dat"),
                     {QStringLiteral("12"), QStringLiteral("\x01garbage"), QStringLiteral("3")});
    e.cc.LoadFileSettings();   // no longer blocks the learning file
    EXPECT_EQ(e.cc.formPosition, TFormPosition{});
    EXPECT_EQ(QDir(e.cc.userFolder + QStringLiteral("setting"))
                  .entryList({QStringLiteral("FormPosition.dat.damaged-*")}, QDir::Files)
                  .size(),
              1);
}
