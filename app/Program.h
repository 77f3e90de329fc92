#pragma once
// The program's windows and its engine object, created once in their fixed
// order by ExecuteMainProgram and kept until the program ends: windows are
// shown and hidden, never destroyed and created again.
#include "data/RelatedWords.h"

#include <QPixmap>
#include <QString>
#include <functional>
#include <memory>

class TCC;
class TMainForm;
class TPreferencesForm;
class TCosmosForm;
class TSelectionForm;
class TAboutForm;
class TNoticeForm;
class THanreiForm;
class TBelvaneForm;
class TAboutCosmosForm;
class TAboutTessarionForm;
class TNoWordForm;
class TFileManagerForm;
class TUserFilesForm;
class TVersionUpForm;
class TQR_Form;
class TStatusForm;
class TInfoForm;
class TEtymologyForm;
class TCGCForm;
class TSpeechAndSound;

class TProgram {
public:
    // programFolder ends with "/": the folder of the program file, or a test's
    // program folder; for an installed program its data folder, and
    // installedFolder the folder of the program file (see
    // workspace/ProgramFolders.h).
    explicit TProgram(QString programFolder, QString installedFolder = QString());
    ~TProgram();
    TProgram(const TProgram &) = delete;
    TProgram &operator=(const TProgram &) = delete;

    // Creates every window in its order and starts the main window's creation.
    // Without speech (the learner chose to go on without it at start) speech
    // and the agent stay silent.
    void ExecuteMainProgram(bool speech = true);
    bool Executed() const { return m_mainForm != nullptr; }

    const QString &programFolder() const { return m_programFolder; }
    TCC &cc() { return *m_cc; }
    TSpeechAndSound &media() { return *m_media; }
    // The related-words table, loaded once when the main window is created.
    TRelatedWords &relatedWords() { return m_relatedWords; }
    TMainForm &mainForm() { return *m_mainForm; }
    TNoticeForm &noticeForm() { return *m_noticeForm; }
    TNoWordForm &noWordForm() { return *m_noWordForm; }
    THanreiForm &hanreiForm() { return *m_hanreiForm; }
    TFileManagerForm &fileManagerForm() { return *m_fileManagerForm; }
    TUserFilesForm &userFilesForm() { return *m_userFilesForm; }
    TSelectionForm &selectionForm() { return *m_selectionForm; }
    TStatusForm &statusForm() { return *m_statusForm; }
    TQR_Form &qrForm() { return *m_qrForm; }
    TPreferencesForm &preferencesForm() { return *m_preferencesForm; }
    TAboutForm &aboutForm() { return *m_aboutForm; }
    TAboutCosmosForm &aboutCosmosForm() { return *m_aboutCosmosForm; }
    TAboutTessarionForm &aboutTessarionForm() { return *m_aboutTessarionForm; }
    TVersionUpForm &versionUpForm() { return *m_versionUpForm; }
    TInfoForm &infoForm() { return *m_infoForm; }
    TBelvaneForm &belvaneForm() { return *m_belvaneForm; }

    // Windows of the end of a study run; each opens modally once its window
    // has its contents.
    void RunQuickResponseDrill();
    void ShowStatusAtFileEnd();
    void HideEtymologyWindow();
    // Every new question starts the etymology window's history afresh.
    void ClearEtymologyHistory();
    // The etymology window shows the word at a position of the word table
    // and takes the focus (the space key after an answer, a click on the chart).
    void ShowEtymologyWindow(int position);
    // The etymology chart of the word at a position of the word table, as the
    // main window's etymology page shows it.
    QPixmap EtymologyPageChart(int position);
    TEtymologyForm &etymologyForm() { return *m_etymologyForm; }
    bool StarViewOrGalleryShowing() const;

    // Called before the main window's creation runs (tests shorten waits,
    // replace the application's end, fix the day).
    std::function<void(TProgram &)> beforeMainFormCreate;

private:
    QString m_programFolder;
    QString m_installedFolder;
    TRelatedWords m_relatedWords;
    std::unique_ptr<TCC> m_cc;
    std::unique_ptr<TSpeechAndSound> m_media;
    std::unique_ptr<TMainForm> m_mainForm;
    std::unique_ptr<TPreferencesForm> m_preferencesForm;
    std::unique_ptr<TCosmosForm> m_cosmosForm;
    std::unique_ptr<TSelectionForm> m_selectionForm;
    std::unique_ptr<TAboutForm> m_aboutForm;
    std::unique_ptr<TNoticeForm> m_noticeForm;
    std::unique_ptr<THanreiForm> m_hanreiForm;
    std::unique_ptr<TBelvaneForm> m_belvaneForm;
    std::unique_ptr<TAboutCosmosForm> m_aboutCosmosForm;
    std::unique_ptr<TAboutTessarionForm> m_aboutTessarionForm;
    std::unique_ptr<TNoWordForm> m_noWordForm;
    std::unique_ptr<TFileManagerForm> m_fileManagerForm;
    std::unique_ptr<TUserFilesForm> m_userFilesForm;
    std::unique_ptr<TVersionUpForm> m_versionUpForm;
    std::unique_ptr<TQR_Form> m_qrForm;
    std::unique_ptr<TStatusForm> m_statusForm;
    std::unique_ptr<TInfoForm> m_infoForm;
    std::unique_ptr<TEtymologyForm> m_etymologyForm;
    std::unique_ptr<TCGCForm> m_cgcForm;
};
