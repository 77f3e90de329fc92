#include "workspace/ui/PreferencesUnit.h"

#include "speech/SpeechAndSound.h"
#include "speech/SoundEffects.h"
#include "speech/Speech.h"
#include "speech/SpeechTable.h"
#include "support/EngineFolder.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// The preferences of the file TT on a temporary user folder. Speech is off
// for the machine (as when the learner went on without it), so no agent
// comes up; the sounds have no device.
struct PreferencesWindow : ::testing::Test {
    TEngineFolder env;
    TCC &cc = env.cc;
    std::unique_ptr<TSpeechAndSound> media;
    std::unique_ptr<TPreferencesForm> form;

    void SetUp() override
    {
        cc.LoadFileSettings();   // no file yet: the defaults of TT
        cc.training.remaining = 30;
        media = std::make_unique<TSpeechAndSound>(cc);
        media->SetSpeechAvailable(false);
        form = std::make_unique<TPreferencesForm>(cc, *media);
        form->FormActivate();
        form->show();
    }

    QString SettingsFile() const { return cc.FileSettingsPath(); }

    // The settings as the next start reads them.
    TFileSettings ReadBack() const
    {
        TCC next;
        next.programFolder = cc.programFolder;
        next.userFolder = cc.userFolder;
        next.fileCode = cc.fileCode;
        next.fileSlot = cc.fileSlot;
        next.clock.FixToday(QDate(2009, 7, 5));
        next.LoadFileSettings();
        EXPECT_FALSE(next.settingsFileNew) << "no settings file was written";
        return next.settings;
    }
};

void Click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

void Check(QAbstractButton *button) { button->setChecked(true); }

// Each control and the value it stores on OK; the slider positions cover
// both ends of each range.
TEST_F(PreferencesWindow, EachControlStoresItsValueOnOk)
{
    struct TCase {
        const char *what;
        std::function<void(TPreferencesForm &)> change;
        std::function<int(const TFileSettings &)> stored;
        int expected;
    };
    const auto slider = [](QSlider *TPreferencesForm::*member, int position) {
        return [member, position](TPreferencesForm &f) { (f.*member)->setValue(position); };
    };
    const auto radio = [](QRadioButton *TPreferencesForm::*member) {
        return [member](TPreferencesForm &f) { Check(f.*member); };
    };
    const auto check = [](QCheckBox *TPreferencesForm::*member, bool on) {
        return [member, on](TPreferencesForm &f) { (f.*member)->setChecked(on); };
    };
    using F = TPreferencesForm;
    using S = TFileSettings;
    const TCase cases[] = {
        {"speed 0", slider(&F::sTrackBar_Speed, 0), [](const S &s) { return s.answerTime; }, 200},
        {"speed 1000", slider(&F::sTrackBar_Speed, 1000), [](const S &s) { return s.answerTime; }, 1200},
        {"speed 333", slider(&F::sTrackBar_Speed, 333), [](const S &s) { return s.answerTime; }, 533},
        {"wait 20", slider(&F::sTrackBar_Wait, 20), [](const S &s) { return s.optionDelay; }, 80},
        {"wait 100", slider(&F::sTrackBar_Wait, 100), [](const S &s) { return s.optionDelay; }, 0},
        {"glimpse 0", slider(&F::sTrackBar_CaG, 0), [](const S &s) { return s.glimpse; }, 1000},
        {"glimpse 1000", slider(&F::sTrackBar_CaG, 1000), [](const S &s) { return s.glimpse; }, 0},
        {"quota 50", slider(&F::sTrackBar_norm, 50), [](const S &s) { return s.dailyQuota; }, 200},
        {"quota 200", slider(&F::sTrackBar_norm, 200), [](const S &s) { return s.dailyQuota; }, 50},
        {"effects 0", slider(&F::sTrackBar_SoundVol, 0), [](const S &s) { return s.effectVolume; }, 2000},
        {"effects 2000", slider(&F::sTrackBar_SoundVol, 2000), [](const S &s) { return s.effectVolume; }, 0},
        {"typing 300", slider(&F::sTrackBar_TypingVol, 300), [](const S &s) { return s.typingVolume; }, 1700},
        {"word shown", radio(&F::sRadioButton_EJ), [](const S &s) { return static_cast<int>(s.answerDirection); }, 1},
        {"meaning shown", radio(&F::sRadioButton_JE), [](const S &s) { return static_cast<int>(s.answerDirection); }, 0},
        {"logo", radio(&F::sRadioButton_R_P), [](const S &s) { return s.topRightDisplay; }, 1},
        {"nothing", radio(&F::sRadioButton_R_n), [](const S &s) { return s.topRightDisplay; }, 0},
        {"picture", radio(&F::sRadioButton_R_G), [](const S &s) { return s.topRightDisplay; }, 2},
        {"first level 6", radio(&F::sRadioButton_LV6), [](const S &s) { return s.firstTimeIncrement; }, 6},
        {"first level 1", radio(&F::sRadioButton_LV1), [](const S &s) { return s.firstTimeIncrement; }, 1},
        {"first level 2", radio(&F::sRadioButton_LV2), [](const S &s) { return s.firstTimeIncrement; }, 2},
        {"choices shown", radio(&F::sRadioButton_GlimpseNo), [](const S &s) { return s.typingForEvenLevels; }, 0},
        {"typing", radio(&F::sRadioButton_GlimpseYes), [](const S &s) { return s.typingForEvenLevels; }, 1},
        {"drill off", check(&F::sCheckBox_QRT, false), [](const S &s) { return s.quickResponseAfterQuota; }, 0},
        {"drill on", check(&F::sCheckBox_QRT, true), [](const S &s) { return s.quickResponseAfterQuota; }, 1},
        {"speech off", radio(&F::sRadioButton_PRO0), [](const S &s) { return s.speechMode; }, 0},
        {"quiet", check(&F::sCheckBox_IdleBan, true), [](const S &s) { return s.quietAgent; }, 1},
        {"not quiet", check(&F::sCheckBox_IdleBan, false), [](const S &s) { return s.quietAgent; }, 0},
        {"speak on question", check(&F::sCheckBox_PRO1, true), [](const S &s) { return s.speakAfterQuestion; }, 1},
        {"no speech on grading", check(&F::sCheckBox_PRO2, false), [](const S &s) { return s.speakAfterGrading; }, 0},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.what);
        form->FormActivate();
        form->show();
        c.change(*form);
        Click(form->sSpeedButton_OK);
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(c.stored(cc.settings), c.expected);
        EXPECT_EQ(c.stored(ReadBack()), c.expected);
    }
}

TEST_F(PreferencesWindow, SlidersOfferTheRangesOfTheirValues)
{
    struct TRange {
        QSlider *slider;
        int min;
        int max;
    };
    for (const TRange &r : {TRange{form->sTrackBar_Speed, 0, 1000}, TRange{form->sTrackBar_Wait, 20, 100},
                            TRange{form->sTrackBar_CaG, 0, 1000}, TRange{form->sTrackBar_norm, 50, 200},
                            TRange{form->sTrackBar_SoundVol, 0, 2000}, TRange{form->sTrackBar_TypingVol, 0, 2000}}) {
        SCOPED_TRACE(r.slider->objectName().toStdString());
        EXPECT_EQ(r.slider->minimum(), r.min);
        EXPECT_EQ(r.slider->maximum(), r.max);
    }
}

TEST_F(PreferencesWindow, OpensOnTheStoredValues)
{
    cc.settings.answerTime = 900;
    cc.settings.optionDelay = 30;
    cc.settings.glimpse = 250;
    cc.settings.dailyQuota = 120;
    cc.settings.effectVolume = 400;
    cc.settings.answerDirection = TAnswerDirection::WordToMeaning;
    cc.settings.firstTimeIncrement = 6;
    cc.settings.topRightDisplay = 0;
    form->FormActivate();
    EXPECT_EQ(form->sTrackBar_Speed->value(), 700);
    EXPECT_EQ(form->sTrackBar_Wait->value(), 70);
    EXPECT_EQ(form->sTrackBar_CaG->value(), 750);
    EXPECT_EQ(form->sTrackBar_norm->value(), 130);
    EXPECT_EQ(form->sTrackBar_SoundVol->value(), 1600);
    EXPECT_TRUE(form->sRadioButton_EJ->isChecked());
    EXPECT_TRUE(form->sRadioButton_LV6->isChecked());
    EXPECT_TRUE(form->sRadioButton_R_n->isChecked());
    EXPECT_EQ(form->sPageControl->currentIndex(), 0);
}

TEST_F(PreferencesWindow, TheQuotaChangeMovesTodaysRemainingQuestionsByTheSameDifference)
{
    cc.settings.dailyQuota = 80;
    cc.training.remaining = 30;
    form->FormActivate();
    form->sTrackBar_norm->setValue(150);   // 100 questions
    Click(form->sSpeedButton_OK);
    EXPECT_EQ(cc.settings.dailyQuota, 100);
    EXPECT_EQ(cc.training.remaining, 50);
}

TEST_F(PreferencesWindow, AValueOutsideASlidersRangeStaysUnlessTheSliderIsMoved)
{
    cc.settings.dailyQuota = 0;    // an old file without a quota
    cc.settings.answerTime = 1500;
    form->FormActivate();
    Click(form->sSpeedButton_OK);
    EXPECT_EQ(ReadBack().dailyQuota, 0);
    EXPECT_EQ(ReadBack().answerTime, 1500);
    EXPECT_EQ(cc.training.remaining, 30);
}

TEST_F(PreferencesWindow, WordShownClearsAPendingRetryAndPronunciationOnlyIsAlwaysQuiet)
{
    cc.training.retryPending = true;
    Check(form->sRadioButton_EJ);
    Check(form->sRadioButton_PRO1);
    form->sCheckBox_IdleBan->setChecked(false);
    Click(form->sSpeedButton_OK);
    EXPECT_FALSE(cc.training.retryPending);
    EXPECT_EQ(ReadBack().quietAgent, 1);
    EXPECT_EQ(cc.settings.reservedD, 0);
}

TEST_F(PreferencesWindow, SpeechCannotBeSwitchedOnWithoutItsComponents)
{
    for (QRadioButton *on : {form->sRadioButton_PRO1, form->sRadioButton_PRO2}) {
        SCOPED_TRACE(on->objectName().toStdString());
        env.messages().messages.clear();
        Check(form->sRadioButton_PRO0);
        Click(on);
        EXPECT_EQ(env.messages().messages,
                  QStringList{QStringLiteral("発音に必要なコンポーネントやエンジンをインストールしてください")});
        EXPECT_TRUE(form->sRadioButton_PRO0->isChecked());
    }
    EXPECT_FALSE(form->sComboBox_TTS->isEnabled());
    EXPECT_FALSE(form->sComboBox_TTS_download->isEnabled());
}

TEST_F(PreferencesWindow, CancelLeavesMemoryAndDiskAsTheyWere)
{
    cc.SaveFileSettings();
    QFile saved(SettingsFile());
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray before = saved.readAll();
    const TFileSettings settingsBefore = cc.settings;
    cc.training.retryPending = true;
    for (const std::function<void()> &cancel : std::initializer_list<std::function<void()>>{
             [&] { Click(form->sSpeedButton_cancel); }, [&] { form->close(); }}) {
        form->FormActivate();
        form->show();
        form->sTrackBar_norm->setValue(60);
        form->sTrackBar_SoundVol->setValue(1800);
        // The volume changes at once, before OK.
        EXPECT_EQ(media->sounds().Settings().effectVolume, 200);
        Check(form->sRadioButton_EJ);
        cancel();
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(cc.settings, settingsBefore);
        EXPECT_EQ(media->sounds().Settings().effectVolume, settingsBefore.effectVolume);
        EXPECT_TRUE(cc.training.retryPending);
        EXPECT_EQ(cc.training.remaining, 30);
        QFile f(SettingsFile());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), before);
    }
}

TEST_F(PreferencesWindow, EscAndEnterActAsOkAndCtrlTabShowsTheNextPage)
{
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        form->FormActivate();
        form->show();
        form->sTrackBar_Speed->setValue(100 + key % 7);
        QTest::keyClick(form->sTrackBar_Speed, key);
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(ReadBack().answerTime, 300 + key % 7);
    }
    form->FormActivate();
    form->show();
    const int pages = form->sPageControl->count();
    EXPECT_EQ(pages, 5);
    // From a control on a page and from a button below the pages.
    for (QWidget *from : {static_cast<QWidget *>(form->sTrackBar_Speed), static_cast<QWidget *>(form->sSpeedButton_OK)}) {
        form->sPageControl->setCurrentIndex(0);
        for (int i = 1; i <= pages; ++i) {
            QWidget *target = from->isVisible() ? from : form->sSpeedButton_OK;
            QTest::keyClick(target, Qt::Key_Tab, Qt::ControlModifier);
            EXPECT_EQ(form->sPageControl->currentIndex(), i % pages);
        }
        QTest::keyClick(form->sSpeedButton_OK, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(form->sPageControl->currentIndex(), pages - 1);
    }
    // Tab alone moves between the controls of the page.
    form->sPageControl->setCurrentIndex(0);
    QApplication::setActiveWindow(form.get());
    form->sTrackBar_Speed->setFocus();
    QTest::keyClick(form->sTrackBar_Speed, Qt::Key_Tab);
    EXPECT_EQ(form->sPageControl->currentIndex(), 0);
    EXPECT_EQ(QApplication::focusWidget(), form->sTrackBar_Wait);
}

// The sliders that count down from their left end fill from the left end to
// the handle, as the others do.
TEST_F(PreferencesWindow, EverySliderFillsFromItsLeftEnd)
{
    form->sPageControl->setCurrentIndex(4);   // the sound page
    for (QSlider *slider : {form->sTrackBar_SoundVol, form->sTrackBar_TypingVol}) {
        // The handle at a quarter from the left: the volume low.
        slider->setValue(slider->maximum() * 3 / 4);
        form->sSpeedButton_OK->setFocus();   // no focus frame on the slider
        const QImage picture = slider->grab().toImage();
        int left = 0;
        int right = 0;
        // The highlight colour of the filled part, counted on either side of the handle.
        const QColor fill = slider->palette().color(QPalette::Highlight);
        // The groove's rows, away from the slider's edges.
        for (int yy = picture.height() / 2 - 4; yy <= picture.height() / 2 + 1; ++yy) {
            for (int x = 3; x < picture.width() - 3; ++x) {
                const QColor c = picture.pixelColor(x, yy);
                const bool filled = qAbs(c.hue() - fill.hue()) < 20 && c.saturation() > 80;
                if (filled && x < picture.width() / 4 - 8)
                    ++left;
                if (filled && x > picture.width() / 2)
                    ++right;
            }
        }
        EXPECT_GT(left, 0) << slider->objectName().toStdString();
        EXPECT_EQ(right, 0) << slider->objectName().toStdString();
    }
}

TEST_F(PreferencesWindow, DefaultsAfterConfirmationKeepTheStatisticsOfPastDays)
{
    cc.settings.answerTime = 1100;
    cc.settings.dailyQuota = 150;
    cc.settings.speechEngine = QStringLiteral("{227A0E40-A92A-11D1-B17B-0020AFED142E}");
    cc.settings.learningDays = 40;
    cc.settings.overallCorrectRate = 77;
    cc.settings.averageAchievement = 95;
    cc.settings.answersTotal = 3200;
    form->FormActivate();

    env.messages().confirmReply = false;
    Click(form->sSpeedButton_def);
    EXPECT_EQ(cc.settings.answerTime, 1100);
    EXPECT_FALSE(QFile::exists(SettingsFile()));

    env.messages().confirmReply = true;
    env.messages().messages.clear();
    Click(form->sSpeedButton_def);
    EXPECT_EQ(env.messages().messages, QStringList{QStringLiteral("設定をすべて初期化します。よろしいですか？")});
    const TFileSettings saved = ReadBack();
    EXPECT_EQ(saved.answerTime, 700);
    EXPECT_EQ(saved.dailyQuota, 80);
    EXPECT_EQ(saved.speechEngine, QStringLiteral("void"));
    EXPECT_EQ(saved.learningDays, 40);
    EXPECT_EQ(saved.overallCorrectRate, 77);
    EXPECT_EQ(saved.averageAchievement, 95);
    EXPECT_EQ(saved.answersTotal, 3200);
    // The window stays open with the defaults shown.
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->sTrackBar_Speed->value(), 500);
    EXPECT_EQ(form->sTrackBar_norm->value(), 170);
}

TEST_F(PreferencesWindow, TheEngineListOffersTheInstalledModesAndStoresTheChosenOne)
{
    const QList<TSpeechModeEntry> installed = TSpeech::InstalledSpeechModes();
    if (installed.isEmpty())
        GTEST_SKIP() << "no espeak-ng voice on this machine";
    cc.settings.speechEngine = installed.last().modeId.toLower();   // compared in upper case
    form->FormActivate();
    ASSERT_EQ(form->sComboBox_TTS->count(), installed.size());
    EXPECT_EQ(form->sComboBox_TTS->currentIndex(), installed.size() - 1);
    EXPECT_EQ(form->ChosenSpeechEngine(), installed.last().modeId);

    form->sComboBox_TTS->setCurrentIndex(0);
    form->sComboBox_TTSCloseUp();
    EXPECT_EQ(cc.settings.speechEngine, installed.first().modeId);
    EXPECT_TRUE(cc.settings.speechEngine.startsWith(u'{') && cc.settings.speechEngine.endsWith(u'}'));
    // While the window shows, its choice is the voice that speaks.
    EXPECT_EQ(media->speech().hooks.preferencesEngineChoice(), installed.first().modeId);
    Click(form->sSpeedButton_OK);
    EXPECT_EQ(ReadBack().speechEngine, installed.first().modeId);
    EXPECT_TRUE(media->speech().hooks.preferencesEngineChoice().isEmpty());
}

TEST_F(PreferencesWindow, TheDownloadListNamesTheLanguagesWithoutAVoiceAndHowToInstallThem)
{
    form->FillDownloadList({1033, 1040, 1041});
    QStringList shown;
    for (int i = 0; i < form->sComboBox_TTS_download->count(); ++i)
        shown << form->sComboBox_TTS_download->itemText(i);
    EXPECT_EQ(shown.size(), 8);
    for (int language : {1033, 1040, 1041})
        for (const QString &entry : shown)
            EXPECT_FALSE(entry.startsWith(SpeechLanguageName(language))) << entry.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("韓国語 （espeak-ng: ko）")));

    form->sComboBox_TTS_download->setCurrentIndex(shown.indexOf(QStringLiteral("韓国語 （espeak-ng: ko）")));
    form->sComboBox_TTS_downloadCloseUp();
    ASSERT_EQ(env.messages().messages.size(), 1);
    EXPECT_TRUE(env.messages().messages.first().startsWith(QStringLiteral("韓国語の音声をインストールするには")));
    EXPECT_TRUE(env.messages().messages.first().contains(QStringLiteral("sudo apt-get install ")));

    QList<int> all;
    for (const TSpeechMode &m : SpeechEngineTable())
        all << m.languageId;
    form->FillDownloadList(all);
    EXPECT_EQ(form->sComboBox_TTS_download->count(), 0);
    EXPECT_EQ(form->sComboBox_TTS_download->placeholderText(),
              QStringLiteral("（すべての言語の音声がインストールされています）"));
}

} // namespace
