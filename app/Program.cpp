#include "app/Program.h"

#include "app/CGCUnit.h"
#include "app/MainUnit.h"
#include "app/NoWord.h"
#include "app/NoticeUnit.h"
#include "speech/SpeechAndSound.h"
#include "app/TrainingFlow.h"
#include "app/WordPanel.h"
#include "drill/QR.h"
#include "engine/CommonUnit.h"
#include "engine/DataUpdates.h"
#include "etymology/EtymologyUnit.h"
#include "files/FileManagerUnit.h"
#include "files/SelectionUnit.h"
#include "files/UserFilesUnit.h"
#include "help/AboutTessarion.h"
#include "help/BelvaneUnit.h"
#include "help/Hanrei.h"
#include "net/HttpDownloadService.h"
#include "help/InfoUnit.h"
#include "help/VersionUnit.h"
#include "net/HttpDownloadService.h"
#include "progress/AboutCosmos.h"
#include "progress/CosmosUnit.h"
#include "progress/StatusUnit.h"
#include "speech/Speech.h"
#include "updates/VersionUpUnit.h"
#include "workspace/ui/PreferencesUnit.h"
#include "base/SlotGuard.h"

#include <QTimer>

TProgram::TProgram(QString programFolder, QString installedFolder)
    : m_programFolder(std::move(programFolder)), m_installedFolder(std::move(installedFolder))
{
    if (!m_programFolder.endsWith(u'/'))
        m_programFolder += u'/';
}

TProgram::~TProgram()
{
    // Windows first (they refer to the engine object), in reverse order.
    m_cgcForm.reset();
    m_etymologyForm.reset();
    m_infoForm.reset();
    m_statusForm.reset();
    m_qrForm.reset();
    m_versionUpForm.reset();
    m_userFilesForm.reset();
    m_fileManagerForm.reset();
    m_noWordForm.reset();
    m_aboutTessarionForm.reset();
    m_aboutCosmosForm.reset();
    m_belvaneForm.reset();
    m_hanreiForm.reset();
    m_noticeForm.reset();
    m_aboutForm.reset();
    m_selectionForm.reset();
    m_cosmosForm.reset();
    m_preferencesForm.reset();
    m_mainForm.reset();
    m_media.reset();
    m_cc.reset();
}

void TProgram::ExecuteMainProgram(bool speech)
{
    if (m_mainForm)
        return;
    // The engine object holds no more than empty tables until its own step:
    // the main window's creation uses only its folders and start-up files.
    m_cc = std::make_unique<TCC>();
    m_cc->programFolder = m_programFolder;
    m_cc->context.installedFolder = m_installedFolder == m_programFolder ? QString() : m_installedFolder;
    m_media = std::make_unique<TSpeechAndSound>(*m_cc);
    m_media->SetSpeechAvailable(speech);

    m_mainForm = std::make_unique<TMainForm>(*m_cc, *this);
    TMainForm *main = m_mainForm.get();
    if (beforeMainFormCreate)
        beforeMainFormCreate(*this);
    main->FormCreate();
    m_preferencesForm = std::make_unique<TPreferencesForm>(*m_cc, *m_media, main);
    m_cosmosForm = std::make_unique<TCosmosForm>(*m_cc, main);
    m_cosmosForm->playSoundEffect = [media = m_media.get()](const QString &name) { media->PlaySoundEffect(name); };
    m_selectionForm = std::make_unique<TSelectionForm>(main);
    m_selectionForm->playSoundEffect = [media = m_media.get()](const QString &name) { media->PlaySoundEffect(name); };
    m_selectionForm->speakText = [media = m_media.get()](const QString &text, int slot) {
        media->speech().SelectSpeechEngine(slot);
        media->SpeakText(text, false);
    };
    // The voice of the file being studied again once the browser closes.
    QObject::connect(m_selectionForm.get(), &QDialog::finished, main,
                     Guarded([media = m_media.get()] { media->SelectSpeechEngine(); }));
    const auto openWordBrowser = [form = m_selectionForm.get()](TCC &cc, int level) { form->ShowLevel(cc, level); };
    // The zodiac sign of the word panel: the words at the current word's level.
    main->wordPanel().openWordBrowser = [form = m_selectionForm.get(), cc = m_cc.get()](int level) {
        form->ShowLevel(*cc, level);
    };
    m_aboutForm = std::make_unique<TAboutForm>(*m_cc, main);
    m_aboutForm->playSoundEffect = [media = m_media.get()](const QString &name) { media->PlaySoundEffect(name); };
    m_noticeForm = std::make_unique<TNoticeForm>(*m_cc, *m_media, main);
    m_hanreiForm = std::make_unique<THanreiForm>(main);
    m_hanreiForm->SetClickSound([media = m_media.get()] { media->PlaySoundEffect(QStringLiteral("BUTTON")); });
    m_belvaneForm = std::make_unique<TBelvaneForm>(main);
    m_belvaneForm->openService = [this]() -> std::unique_ptr<TDownloadService> {
        const TServerAddress address = ReadServerAddress(m_programFolder);
        if (address.url.isEmpty())
            return nullptr;
        return std::make_unique<THttpDownloadService>(address.url);
    };
    m_belvaneForm->today = [cc = m_cc.get()] { return cc->clock.Today(); };
    m_belvaneForm->playSoundEffect = [media = m_media.get()](const QString &name) { media->PlaySoundEffect(name); };
    m_belvaneForm->information = [cc = m_cc.get()](const QString &text) { cc->notifier->Information(text); };
    m_belvaneForm->restoreAgent = [cc = m_cc.get(), media = m_media.get()] {
        if (cc->settings.speechMode == kSpeechWithAgent)
            media->RestoreAgentTop();
    };
    m_aboutCosmosForm = std::make_unique<TAboutCosmosForm>(main);
    m_aboutCosmosForm->playSoundEffect = [media = m_media.get()](const QString &name) { media->PlaySoundEffect(name); };
    m_aboutTessarionForm = std::make_unique<TAboutTessarionForm>(main);
    m_aboutTessarionForm->playSoundEffect = [media = m_media.get()](const QString &name) { media->PlaySoundEffect(name); };
    m_noWordForm = std::make_unique<TNoWordForm>(*m_cc, main);
    m_fileManagerForm = std::make_unique<TFileManagerForm>(*m_cc, main);
    m_fileManagerForm->playSoundEffect = [media = m_media.get()](const QString &name) { media->PlaySoundEffect(name); };
    m_fileManagerForm->openWordBrowser = openWordBrowser;
    m_fileManagerForm->downloadLearningFile = [cc = m_cc.get()](const QString &code) {
        const TServerAddress server = ReadServerAddress(cc->programFolder);
        // A configuration file without a usable address is named, as the
        // version window does, before the manager says the download failed.
        if (!server.problem.isEmpty())
            cc->notifier->Error(server.problem);
        if (server.url.isEmpty())
            return false;
        THttpDownloadService service(server.url);
        TDataUpdater updater(*cc, &service);
        return updater.DownloadLearningFile(code);
    };
    m_userFilesForm = std::make_unique<TUserFilesForm>(*m_cc, main);
    m_userFilesForm->saveCurrentFile = [cc = m_cc.get(), main] {
        // A file is open from its loading until it is closed.
        const TFlowState state = main->flow().State();
        if (state == TFlowState::Ready || state == TFlowState::Asking || state == TFlowState::Reviewing) {
            cc->SaveFileSettings();
            cc->SaveRecordFile();
        }
    };
    m_versionUpForm = std::make_unique<TVersionUpForm>(*m_cc, main);
    m_qrForm = std::make_unique<TQR_Form>(*m_cc, main);
    m_qrForm->playSoundEffect = [media = m_media.get()](const QString &name) { media->PlaySoundEffect(name); };
    m_qrForm->speakText = [media = m_media.get()](const QString &text) { media->SpeakText(text, false); };
    m_statusForm = std::make_unique<TStatusForm>(*m_cc, main);
    m_statusForm->playSoundEffect = [media = m_media.get()](const QString &name) { media->PlaySoundEffect(name); };
    m_statusForm->openCosmos = [form = m_cosmosForm.get()] { form->ShowModal(); };
    m_statusForm->openWordBrowser = openWordBrowser;
    m_infoForm = std::make_unique<TInfoForm>(*m_cc, main);
    m_infoForm->playSoundEffect = [media = m_media.get()](const QString &name) { media->PlaySoundEffect(name); };
    m_etymologyForm = std::make_unique<TEtymologyForm>(*m_cc, main);
    // The word panel's etymology page shows the window's chart; a click on it opens the window.
    main->wordPanel().etymologyChart = [form = m_etymologyForm.get()](int position) { return form->PageChart(position); };
    main->wordPanel().openEtymologyWindow = [form = m_etymologyForm.get()](int position) { form->ShowWord(position); };
    m_cgcForm = std::make_unique<TCGCForm>(main);

    // What speech and the agent ask of the windows.
    TSpeechHooks &hooks = m_media->speech().hooks;
    hooks.trainingFlagsSet = [main] { return main->flow().IsBusy(); };
    hooks.cosmosShowing = [this] { return m_cosmosForm->isVisible(); };
    hooks.quickResponseShowing = [this] { return m_qrForm->isVisible(); };
    hooks.bringMainWindowToFront = [main] {
        main->raise();
        main->activateWindow();
    };
    main->show();
    // The sound device and the speech engine start once the window is up;
    // a sound or a word asked for before then starts them itself.
    QTimer::singleShot(0, main, Guarded([media = m_media.get()] { media->StartDevices(); }));
}

void TProgram::RunQuickResponseDrill()
{
    m_qrForm->RunDrill();
}

void TProgram::ShowStatusAtFileEnd()
{
    m_statusForm->ShowModal(TStatusMode::FileEnd);
}

void TProgram::HideEtymologyWindow()
{
    if (m_etymologyForm)
        m_etymologyForm->hide();
}

void TProgram::ClearEtymologyHistory()
{
    if (m_etymologyForm)
        m_etymologyForm->ClearHistory();
}

void TProgram::ShowEtymologyWindow(int position)
{
    if (m_etymologyForm)
        m_etymologyForm->ShowWord(position);
}

QPixmap TProgram::EtymologyPageChart(int position)
{
    return m_etymologyForm ? m_etymologyForm->PageChart(position) : QPixmap();
}

bool TProgram::StarViewOrGalleryShowing() const
{
    return (m_cosmosForm && m_cosmosForm->isVisible()) || (m_belvaneForm && m_belvaneForm->isVisible());
}
