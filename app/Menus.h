#pragma once
// The main window's menu tree: " ファイル" (file management, the reset of the
// current file's records, the progress, closing), "設定" (skins, typing
// sounds, preferences) and "情報" (help pages and information windows).
// Items that open a window are refused while a question waits or a file
// loads; the windows open modally with the agent moved out of their way.
#include <QObject>
#include <QString>
#include <array>
#include <functional>

class QAction;
class QDialog;
class QMenu;
class QMenuBar;
class TMainForm;

inline constexpr int kTypingSoundCount = 16;
class TMainMenus : public QObject {
    Q_OBJECT
public:
    TMainMenus(TMainForm &form, QMenuBar &bar);

    void ShowMainMenus();
    void HideMainMenus();
    // Ticks one item of the skin or typing-sound submenu, unticking the rest.
    void TickSkin(const QString &skinName);
    void TickTypingSound(int setting);
    bool SkinTicked(const QString &skinName) const;
    // The item of a typing-sound setting (1..16).
    static QString TypingSoundCaption(int setting);

    // ---- handlers ----
    void smFileManagerClick();
    void smUserFileClick();
    void smResetClick();
    void smStatusClick();
    void smFileExitClick();
    void smFileAllExitClick();
    void smPreferencesClick();
    void smKeyClick();
    void smTokushuRuleClick();
    void smJukugoRuleClick();
    void smFAQClick();
    void smCosmosClick();
    void smWordsClick();
    void smTessarionClick();
    void smVersionClick();
    void smVersionCheckClick();
    void MainMenu1Change();

    // Confirmation with OK and Cancel; tests answer it themselves.
    std::function<bool(const QString &)> confirmOkCancel;

    QMenuBar *MainMenu1 = nullptr;
    QMenu *mmFile = nullptr;
    QMenu *mmPreferences = nullptr;
    QMenu *mmInformation = nullptr;
    QMenu *smSkin = nullptr;
    QMenu *smTypingSound = nullptr;
    QAction *smFileManager = nullptr;
    QAction *smUserFile = nullptr;
    QAction *N1 = nullptr;
    QAction *smReset = nullptr;
    QAction *smStatus = nullptr;
    QAction *smFileExit = nullptr;
    QAction *N2 = nullptr;
    QAction *smFileAllExit = nullptr;
    QAction *smPreferences = nullptr;
    QAction *smKey = nullptr;
    QAction *smTokushuRule = nullptr;
    QAction *smJukugoRule = nullptr;
    QAction *smFAQ = nullptr;
    QAction *smCosmos = nullptr;
    QAction *smWords = nullptr;
    QAction *smTessarion = nullptr;
    QAction *smVersion = nullptr;
    QAction *smVersionCheck = nullptr;
    std::array<QAction *, kTypingSoundCount> typingSoundItems{};

private:
    void BuildFileMenu();
    void AddMenuKeys();
    void BuildPreferencesMenu();
    void BuildInformationMenu();
    QAction *AddItem(QMenu *menu, const QString &name, const QString &caption, void (TMainMenus::*handler)());
    // A window may open: no question waits and no file loads.
    bool WindowsMayOpen() const;
    // Shows a window modally; unless told otherwise the agent moves out of
    // its way first and comes back after. Returns the dialog's result.
    int RunModal(QDialog &dialog, bool moveAgent = true);
    void ShowHelpPage(const QString &topic);
    // Runs show with the agent moved out of the way when it is on screen.
    void WithAgentAway(const std::function<void()> &show);

    TMainForm &m_form;
};
