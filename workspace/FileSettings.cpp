// Per-file settings and window positions: formats, defaults, older layouts,
// and the settings store that reads and writes them.
#include "workspace/FileSettings.h"

#include "data/RecordFile.h"
#include "workspace/SettingsStore.h"
#include "base/TError.h"
#include "base/DateText.h"
#include "base/TextFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QtNumeric>

namespace {
// ---- defaults ----
const QString kDefaultSkin = QStringLiteral("Athena");
constexpr qint32 kDefaultEffectVolume = 900;
constexpr qint32 kDefaultQuota = 80;
constexpr qint32 kDefaultPhraseQuota = 50;          // TJ, DJ
constexpr qint32 kDefaultAnswerTime = 700;
constexpr qint32 kDefaultFirstTimeIncrement = 2;
constexpr qint32 kDefaultGlimpse = 500;
constexpr qint32 kDefaultTypingVolume = 900;
constexpr qint32 kDefaultSpeechMode = 2;
constexpr qint32 kAgentTopFromMainTop = 90;
constexpr qint32 kAgentLeftFromMainLeft = 630;
constexpr qint32 kDefaultTopRightDisplay = 2;
const QString kVoid = QStringLiteral("void");
constexpr qint32 kDefaultQuickResponseValue = 50;
const QString kDefaultQuickResponseFont = QStringLiteral("Papyrus");
const QString kPhraseQuickResponseFont = QStringLiteral("Georgia");   // TJ, DJ
constexpr qint32 kDefaultQuickResponseFontSize = -36;
constexpr int kReservedARange[2] = {5, 9};
constexpr int kReservedBRange[2] = {0, 6};

// ---- older layouts ----
const QString kOldestVersionText = QStringLiteral("1.0");
constexpr qint32 kOldestVersion = 10;
// Files before this version hold the speech mode as 1..4 (1..3 on, 4 off).
constexpr qint32 kSpeechModeVersion = 37;
// Phrase files before this version always type even levels.
constexpr qint32 kPhraseTypingVersion = 39;
// A first-time increment above this is the "straight to stage 2" setting.
constexpr qint32 kLargestSmallIncrement = 2;
constexpr qint32 kStraightToStage2Increment = 6;

const QString kSettingFolder = QStringLiteral("setting/");
const QString kFormPositionFile = QStringLiteral("setting/FormPosition.dat");
const QString kDamagedSettingsMessage =
    QStringLiteral("設定ファイルが損傷しています。内容を初期化します。");
const QString kUnreadableSettingsMessage =
    QStringLiteral("設定ファイルの一部が読めません（%1）。その値は初期値に戻しました。");

// The lines a message names.
QString LineList(const QList<int> &lines)
{
    QStringList shown;
    for (const int n : lines)
        shown.append(QStringLiteral("%1 行目").arg(n));
    return shown.join(QStringLiteral("、"));
}

// The file, and the copy of the damaged one where one was kept.
QString WhereNote(const QString &path, const QString &keptCopy)
{
    QString note = QStringLiteral("\n") + QDir::toNativeSeparators(path);
    if (!keptCopy.isEmpty())
        note += QStringLiteral("\n損傷したファイルは次の名前で残してあります。\n") + QDir::toNativeSeparators(keptCopy);
    return note;
}

bool IsPhraseFile(const QString &code)
{
    return code == QStringLiteral("TJ") || code == QStringLiteral("DJ");
}

QString MapOldSkinName(const QString &skin)
{
    if (skin == QStringLiteral("Gaia"))
        return QStringLiteral("Hephaestus");
    if (skin == QStringLiteral("Artemis"))
        return QStringLiteral("Nike");
    if (skin == QStringLiteral("Mac"))
        return QStringLiteral("Eos");
    return skin;
}

// Line n (1-based) or nullptr past the end of the file.
const QString *LineAt(const QStringList &lines, int n)
{
    return n <= lines.size() ? &lines.at(n - 1) : nullptr;
}

// A number that cannot be read keeps the value it had (its default), and its
// line is noted.
void ReadNumber(const QString &text, int n, qint32 &value, QList<int> &unreadable)
{
    try {
        value = StrToInt(text);
    } catch (const TFatalError &) {
        unreadable.append(n);
    }
}

void ReadInt(const QStringList &lines, int n, qint32 &value, QList<int> &unreadable)
{
    if (const QString *line = LineAt(lines, n))
        ReadNumber(*line, n, value, unreadable);
}

void ReadText(const QStringList &lines, int n, QString &value)
{
    if (const QString *line = LineAt(lines, n))
        value = *line;
}

bool IsVoidLine(const QString *line)
{
    return line && (line->isEmpty() || *line == kVoid);
}
}

TFileSettings DefaultFileSettings(const QString &fileCode, qint32 dataVersion,
                                  const TFormPosition &position)
{
    const bool phrase = IsPhraseFile(fileCode);
    TFileSettings s;
    s.version = dataVersion;
    s.skin = kDefaultSkin;
    s.effectVolume = kDefaultEffectVolume;
    s.dailyQuota = phrase ? kDefaultPhraseQuota : kDefaultQuota;
    s.answerTime = kDefaultAnswerTime;
    s.optionDelay = 0;
    s.startTab = 0;
    s.firstTimeIncrement = kDefaultFirstTimeIncrement;
    s.typingForEvenLevels = 1;
    s.glimpse = kDefaultGlimpse;
    s.answerDirection = TAnswerDirection::MeaningToWord;
    s.typingSound = 1;
    s.reservedC = 1;
    s.typingVolume = kDefaultTypingVolume;
    s.speechMode = kDefaultSpeechMode;
    s.quietAgent = 0;
    s.speakAfterQuestion = 0;
    s.speakAfterGrading = 1;
    s.reservedD = 1;
    s.agentTop = position.mainTop + kAgentTopFromMainTop;
    s.agentLeft = position.mainLeft + kAgentLeftFromMainLeft;
    s.learningDays = 0;
    s.overallCorrectRate = 0;
    s.averageAchievement = 0;
    s.topRightDisplay = kDefaultTopRightDisplay;
    s.speechEngine = kVoid;
    s.quickResponseAfterQuota = 1;
    s.quickResponseValues.fill(kDefaultQuickResponseValue);
    s.quickResponseFont = phrase ? kPhraseQuickResponseFont : kDefaultQuickResponseFont;
    s.quickResponseFontSize = kDefaultQuickResponseFontSize;
    s.answersTotal = 0;
    s.showProgressAtEnd = 1;
    return s;
}

QStringList FileSettingsLines(const TFileSettings &s, const TFormPosition &position)
{
    const auto n = [](qint32 v) { return QString::number(v); };
    QStringList lines;
    lines << n(s.version) << n(s.reservedA) << n(s.reservedB)
          << n(position.mainTop) << n(position.mainLeft)
          << s.skin << n(s.effectVolume) << n(s.dailyQuota) << n(s.answerTime)
          << n(s.optionDelay) << n(s.startTab) << s.learningStartDate
          << n(s.firstTimeIncrement) << n(s.typingForEvenLevels) << n(s.glimpse)
          << n(static_cast<qint32>(s.answerDirection)) << n(s.typingSound) << n(s.reservedC)
          << n(s.typingVolume) << n(s.speechMode) << n(s.quietAgent)
          << n(s.speakAfterQuestion) << n(s.speakAfterGrading) << n(s.reservedD)
          << n(s.agentTop) << n(s.agentLeft) << n(s.learningDays)
          << n(s.overallCorrectRate) << n(s.averageAchievement) << n(s.topRightDisplay)
          << s.speechEngine << n(s.quickResponseAfterQuota)
          << n(s.quickResponseValues[0]) << n(s.quickResponseValues[1])
          << n(s.quickResponseValues[2]) << s.quickResponseFont
          << n(s.quickResponseFontSize) << n(s.answersTotal) << n(s.showProgressAtEnd);
    Q_ASSERT(lines.size() == kSettingsLineCount);
    return lines;
}

TFileSettings ParseFileSettings(const QStringList &lines, const QString &fileCode,
                                const TFileSettings &defaults, QList<int> *unreadableLines)
{
    QList<int> unreadable;
    TFileSettings s = defaults;
    if (const QString *line = LineAt(lines, 1)) {
        if (*line == kOldestVersionText)
            s.version = kOldestVersion;
        else
            ReadNumber(*line, 1, s.version, unreadable);
    }
    ReadInt(lines, 2, s.reservedA, unreadable);
    ReadInt(lines, 3, s.reservedB, unreadable);
    // Lines 4 and 5 (main window position) come from FormPosition.dat.
    ReadText(lines, 6, s.skin);
    s.skin = MapOldSkinName(s.skin);
    ReadInt(lines, 7, s.effectVolume, unreadable);
    ReadInt(lines, 8, s.dailyQuota, unreadable);
    ReadInt(lines, 9, s.answerTime, unreadable);
    ReadInt(lines, 10, s.optionDelay, unreadable);
    ReadInt(lines, 11, s.startTab, unreadable);
    // A start date that is no date would stop every count of days since it
    // (the progress window, the status): it keeps its default, today.
    if (const QString *line = LineAt(lines, 12)) {
        if (ParseDateText(*line))
            s.learningStartDate = *line;
        else
            unreadable.append(12);
    }
    ReadInt(lines, 13, s.firstTimeIncrement, unreadable);
    if (s.firstTimeIncrement > kLargestSmallIncrement)
        s.firstTimeIncrement = kStraightToStage2Increment;
    // Older phrase files typed every even level whatever the line says.
    if (!(IsPhraseFile(fileCode) && s.version < kPhraseTypingVersion))
        ReadInt(lines, 14, s.typingForEvenLevels, unreadable);
    ReadInt(lines, 15, s.glimpse, unreadable);
    qint32 direction = static_cast<qint32>(s.answerDirection);
    ReadInt(lines, 16, direction, unreadable);
    s.answerDirection = static_cast<TAnswerDirection>(direction);
    ReadInt(lines, 17, s.typingSound, unreadable);
    ReadInt(lines, 18, s.reservedC, unreadable);
    ReadInt(lines, 19, s.typingVolume, unreadable);
    if (const QString *line = LineAt(lines, 20)) {
        ReadNumber(*line, 20, s.speechMode, unreadable);
        if (s.version < kSpeechModeVersion) {
            if (s.speechMode >= 1 && s.speechMode <= 3)
                s.speechMode = 2;
            else if (s.speechMode == 4)
                s.speechMode = 0;
        }
    }
    ReadInt(lines, 21, s.quietAgent, unreadable);
    ReadInt(lines, 22, s.speakAfterQuestion, unreadable);
    ReadInt(lines, 23, s.speakAfterGrading, unreadable);
    ReadInt(lines, 24, s.reservedD, unreadable);
    ReadInt(lines, 25, s.agentTop, unreadable);
    ReadInt(lines, 26, s.agentLeft, unreadable);
    ReadInt(lines, 27, s.learningDays, unreadable);
    ReadInt(lines, 28, s.overallCorrectRate, unreadable);
    ReadInt(lines, 29, s.averageAchievement, unreadable);
    ReadInt(lines, 30, s.topRightDisplay, unreadable);
    ReadText(lines, 31, s.speechEngine);
    // The quick-response lines: an older file has "void" (or nothing) on line
    // 32, and then all six values keep their defaults.
    const QString *quickResponse = LineAt(lines, 32);
    if (quickResponse && !IsVoidLine(quickResponse)) {
        ReadNumber(*quickResponse, 32, s.quickResponseAfterQuota, unreadable);
        ReadInt(lines, 33, s.quickResponseValues[0], unreadable);
        ReadInt(lines, 34, s.quickResponseValues[1], unreadable);
        ReadInt(lines, 35, s.quickResponseValues[2], unreadable);
        ReadText(lines, 36, s.quickResponseFont);
        ReadInt(lines, 37, s.quickResponseFontSize, unreadable);
    }
    if (const QString *line = LineAt(lines, 38)) {
        if (!IsVoidLine(line))
            ReadNumber(*line, 38, s.answersTotal, unreadable);
    } else {
        // Files from before the total was kept: estimated from the statistics.
        // The values are not checked, so the product may not fit: it then
        // takes the largest total of its sign.
        qint64 product = s.learningDays;
        bool overflow = false;
        for (qint64 factor : {qint64(s.dailyQuota), qint64(s.averageAchievement), qint64(s.overallCorrectRate)})
            overflow = overflow || qMulOverflow(product, factor, &product);
        // The product is negative when an odd number of its factors is.
        const bool negative = (((s.learningDays < 0) != (s.dailyQuota < 0)) != (s.averageAchievement < 0))
                              != (s.overallCorrectRate < 0);
        const qint64 estimate = overflow ? (negative ? qint64(INT_MIN) : qint64(INT_MAX)) : product / 10000;
        s.answersTotal = static_cast<qint32>(qBound(qint64(INT_MIN), estimate, qint64(INT_MAX)));
    }
    if (const QString *line = LineAt(lines, 39); !IsVoidLine(line) && line)
        ReadNumber(*line, 39, s.showProgressAtEnd, unreadable);
    if (unreadableLines)
        *unreadableLines = unreadable;
    return s;
}

QStringList FormPositionLines(const TFormPosition &p)
{
    return {QString::number(p.mainTop),      QString::number(p.mainLeft),
            QString::number(p.etymologyTop), QString::number(p.etymologyLeft),
            QString::number(p.reserved),     QString::number(p.etymologyScreenType)};
}

TFormPosition ParseFormPosition(const QStringList &lines, QList<int> *unreadableLines)
{
    QList<int> unreadable;
    TFormPosition p;
    ReadInt(lines, 1, p.mainTop, unreadable);
    ReadInt(lines, 2, p.mainLeft, unreadable);
    ReadInt(lines, 3, p.etymologyTop, unreadable);
    ReadInt(lines, 4, p.etymologyLeft, unreadable);
    ReadInt(lines, 5, p.reserved, unreadable);
    ReadInt(lines, 6, p.etymologyScreenType, unreadable);
    if (unreadableLines)
        *unreadableLines = unreadable;
    return p;
}

// ---- the settings of the current file ----

TSettingsStore::TSettingsStore(TEngineContext &context, const TCatalog &catalog)
    : userFolder(context.userFolder), fileCode(context.fileCode), catalog(catalog), clock(context.clock),
      random(context.random), notifier(context.notifier), m_readOnly(context.readOnly)
{
}

QString TSettingsStore::FileSettingsPath() const
{
    return userFolder + kSettingFolder + QStringLiteral("Setting_") + fileCode
           + QStringLiteral(".dat");
}

void TSettingsStore::LoadFormPosition()
{
    formPosition = TFormPosition{};
    const QString path = userFolder + kFormPositionFile;
    if (auto lines = ReadStateLines(path)) {
        QList<int> unreadable;
        const TFormPosition stored = ParseFormPosition(*lines, &unreadable);
        // Positions that cannot be read place every window as on a first
        // start (the main window centred); the file is kept aside.
        if (unreadable.isEmpty())
            formPosition = stored;
        else if (!m_readOnly)
            KeepDamagedCopy(path);
    }
    formPositionLoaded = true;
}

namespace {
// FormPosition.dat read once, then the windows' places as they are now: the
// defaults place the agent beside the main window where it stands (centred
// on a first start, when no position is stored yet).
void TakeWindowPlaces(TSettingsStore &store)
{
    if (!store.formPositionLoaded)
        store.LoadFormPosition();
    if (store.captureWindowState)
        store.captureWindowState();
}
}   // namespace

void TSettingsStore::LoadFileSettings()
{
    TakeWindowPlaces(*this);
    // The block belongs to one file: nothing of the previous file carries over.
    settings = TFileSettings{};
    const QString path = FileSettingsPath();
    if (!QFileInfo::exists(path)) {
        SetDefaultFileSettings(true);
        return;
    }
    settingsFileNew = false;
    if (IsDamagedStateFile(path)) {
        // Only the settings are lost: the record file is a file of its own and
        // stays as it is.
        const QString copy = m_readOnly ? QString() : KeepDamagedCopy(path);
        notifier->Error(kDamagedSettingsMessage + WhereNote(path, copy));
        SetDefaultFileSettings(true);
        SaveFileSettings();
        return;
    }
    const auto lines = ReadStateLines(path);
    if (!lines)
        throw TFatalError(QStringLiteral("設定ファイルを読み込めません。\n%1").arg(path));
    TFileSettings defaults = DefaultFileSettings(fileCode, catalog.dataVersion, formPosition);
    defaults.learningStartDate = ShortDateText(clock.Today());
    QList<int> unreadable;
    settings = ParseFileSettings(*lines, fileCode, defaults, &unreadable);
    if (!unreadable.isEmpty()) {
        const QString copy = m_readOnly ? QString() : KeepDamagedCopy(path);
        notifier->Error(kUnreadableSettingsMessage.arg(LineList(unreadable)) + WhereNote(path, copy));
        SaveFileSettings();
    }
}

void TSettingsStore::SetDefaultFileSettings(bool newFile)
{
    TakeWindowPlaces(*this);
    const TFileSettings old = settings;
    settings = DefaultFileSettings(fileCode, catalog.dataVersion, formPosition);
    // A blank block (no file's settings read yet) has nothing to keep but
    // the learning start date.
    TFileSettings blank;
    blank.learningStartDate = old.learningStartDate;
    if (newFile || old == blank) {
        settings.reservedA = random.Between(kReservedARange[0], kReservedARange[1]);
        settings.reservedB = random.Between(kReservedBRange[0], kReservedBRange[1]);
        if (newFile)
            settingsFileNew = true;
    } else {
        settings.version = old.version;
        settings.reservedA = old.reservedA;
        settings.reservedB = old.reservedB;
        settings.skin = old.skin;
        settings.typingSound = old.typingSound;
        settings.reservedC = old.reservedC;
    }
    settings.learningStartDate = old.learningStartDate.isEmpty() ? ShortDateText(clock.Today())
                                                                 : old.learningStartDate;
    if (defaultsApplied)
        defaultsApplied();
}

void TSettingsStore::SaveFileSettings()
{
    if (m_readOnly)
        return;
    TFileCommit commit;
    AddToCommit(commit);
    commit.Commit();
    SettingsCommitted();
}

void TSettingsStore::AddToCommit(TFileCommit &commit)
{
    if (!formPositionLoaded)
        LoadFormPosition();
    if (captureWindowState)
        captureWindowState();
    const QStringList lines = FileSettingsLinesToSave();
    settings.version = StrToInt(lines.first());
    commit.AddLines(FileSettingsPath(), lines);
    commit.AddLines(userFolder + kFormPositionFile, FormPositionLines(formPosition));
}

void TSettingsStore::SettingsCommitted()
{
    settingsFileNew = false;
}

QStringList TSettingsStore::FileSettingsLinesToSave() const
{
    TFileSettings written = settings;
    // The version says which layout wrote the values: always this program's.
    if (catalog.dataVersion > 0)
        written.version = catalog.dataVersion;
    return FileSettingsLines(written, formPosition);
}

int TSettingsStore::UsableQuota() const
{
    return qBound(0, settings.dailyQuota, kMaxDailyQuota);
}
