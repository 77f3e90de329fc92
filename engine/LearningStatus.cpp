// The numbers of the status window.
#include "engine/LearningStatus.h"

#include "engine/CommonUnit.h"

namespace {
// The signs of the levels, from the Big Dipper of new words through the
// zodiac to the Southern Cross of the excluded ones.
constexpr const char16_t *kLevelSigns[] = {u"Big Dipper", u"Aries",  u"Taurus",      u"Gemini",
                                           u"Cancer",     u"Leo",    u"Virgo",       u"Libra",
                                           u"Scorpio",    u"Sagittarius", u"Capricorn", u"Aquarius",
                                           u"Pisces"};
const QString kExcludedSign = QStringLiteral("Southern Cross");

constexpr qint64 kToeicLowest = 330;
constexpr qint64 kToeicHighest = 860;
constexpr qint64 kToeicScale = 2200;
constexpr qint64 kExcludedWeight = 8;

bool IsToeicFile(const QString &code)
{
    return code == QStringLiteral("TT") || code == QStringLiteral("TJ");
}
}

QString StatusLevelName(int level)
{
    const QString sign = level == kExcludedLevel ? kExcludedSign : QString::fromUtf16(kLevelSigns[level]);
    return QStringLiteral("  %1 ( LV %2 )    ").arg(sign).arg(level);
}

std::optional<int> ToeicEstimate(const TLevelHistogram &histogram, int wordCount)
{
    qint64 sum = kExcludedWeight * histogram[kExcludedLevel];
    for (qint64 level = 1; level <= kTopLevel; ++level)
        sum += level * level * level * level * histogram[static_cast<size_t>(level)];
    const qint64 divisor = qint64(wordCount) * kTopLevel / kToeicHighest;
    if (divisor <= 0)
        return std::nullopt;
    const qint64 estimate = sum / divisor / kToeicScale + kToeicLowest;
    return static_cast<int>(qMin(estimate, kToeicHighest));
}

TLearningStatus ComputeLearningStatus(const TCC &cc, TStatusMode mode)
{
    const TFileSettings &s = cc.settings;
    TLearningStatus status;
    const bool manager = mode == TStatusMode::Manager;
    const TDBF &row = cc.catalog.rows[static_cast<size_t>(qBound(0, cc.fileSlot, kSlotCount))];
    status.fileCaption = QStringLiteral("+++ %1 +++").arg(row.Title);
    status.daysSinceStart = cc.DayNumberSince(s.learningStartDate) - (manager ? 1 : 0);
    status.learningDays = s.learningDays + (manager ? 0 : 1);

    // A file picked in the file manager is not being studied: nothing of
    // it was answered in this run, whatever its engine's quota holds.
    const qint64 answered = manager ? 0 : cc.AskedCount();
    status.answeredToday = static_cast<int>(answered);
    status.todayCorrectRate = manager ? 0 : cc.QuotaCorrectRate();
    const qint64 total = s.answersTotal;
    status.totalCorrectRate =
        total + answered == 0
            ? 0
            : static_cast<int>((total * s.overallCorrectRate + answered * status.todayCorrectRate) / (total + answered));
    status.dailyQuota = s.dailyQuota;
    status.achievement = s.averageAchievement;
    if (mode == TStatusMode::FileEnd && s.dailyQuota > 0) {
        // Today counted in, as the statistics will count it when the file is saved.
        const qint64 today = answered * 100 / s.dailyQuota;
        const qint64 days = s.learningDays;
        status.achievement = static_cast<int>((today + qint64(s.averageAchievement) * days) / (days + 1));
    }

    status.wordCount = cc.TangoTotal();
    const TLevelHistogram histogram = cc.BuildLevelHistogram();
    for (size_t i = 0; i < kStatusLevels.size(); ++i) {
        const int level = kStatusLevels[i];
        status.levels[i] = {level, StatusLevelName(level), histogram[static_cast<size_t>(level)]};
    }
    status.toeicFile = IsToeicFile(cc.fileCode);
    if (status.toeicFile)
        status.toeicEstimate = ToeicEstimate(histogram, status.wordCount);
    status.selfReportNeeded = s.version < kFirstVersionWithStatistics;
    return status;
}

void ChangeDailyQuota(TCC &cc, int newQuota)
{
    const int change = cc.settings.dailyQuota - newQuota;
    cc.training.remaining -= change;
    cc.settings.dailyQuota = newQuota;
}
