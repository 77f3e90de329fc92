#include "app/Menus.h"
#include "base/FileErrors.h"
#include "widgets/MessageBoxes.h"

#include "app/MainUnit.h"
#include "app/Program.h"
#include "app/Skins.h"
#include "speech/SpeechAndSound.h"
#include "app/TrainingFlow.h"
#include "app/WordPanel.h"
#include "base/SlotGuard.h"
#include "base/TError.h"
#include "engine/CommonUnit.h"
#include "files/FileManagerUnit.h"
#include "files/UserFilesUnit.h"
#include "help/AboutTessarion.h"
#include "help/InfoUnit.h"
#include "help/VersionUnit.h"
#include "progress/AboutCosmos.h"
#include "progress/StatusUnit.h"
#include "updates/VersionUpUnit.h"
#include "workspace/ui/PreferencesUnit.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QShortcut>

namespace {
const QString kSeparatorCaption = QStringLiteral("＿＿＿＿＿＿＿＿＿＿＿＿＿");
const QString kResetQuestion = QStringLiteral("この学習ファイルの学習記録をすべて消去します。よろしいですか？");
const QString kResetSecondQuestion = QStringLiteral("本当によろしいですか？");
const QString kResetCopyFailed =
    QStringLiteral("学習記録の控えを作れないため、初期化しませんでした。学習記録はそのままです。\n%1\n%2");
const QString kResetCopySuffix = QStringLiteral(".before-reset-");

struct TTypingSoundItem {
    const char *component;
    const char *caption;
};
constexpr std::array<TTypingSoundItem, kTypingSoundCount> kTypingSoundItems = {{
    {"smHelicon", "Helicon"},
    {"smHelicon2", "Helicon+"},
    {"smPelion", "Pelion"},
    {"smOlympus", "Olympus"},
    {"smOlympus2", "Olympus+"},
    {"smEtna", "Etna"},
    {"smCithaeron", "Cithaeron"},
    {"smParnassos", "Parnassos"},
    {"smKalliope", "Kalliope"},
    {"smHit1", "Hit 1"},
    {"smHit2", "Hit 2"},
    {"smHit3", "Hit 3"},
    {"smHit4", "Hit 4"},
    {"smHit5", "Hit 5"},
    {"smHit6", "Hit 6"},
    {"smHit7", "Hit 7"},
}};

// A dated copy of the record file beside it, before the reset empties it.
// Empty when there is no record file yet; throws TFatalError when the copy
// cannot be made (the reset is then not done).
QString KeepCopyBeforeReset(const QString &path)
{
    if (!QFileInfo::exists(path))
        return {};
    const QString stem = path + kResetCopySuffix + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString copy = stem;
    for (int n = 2; QFileInfo::exists(copy); ++n)
        copy = stem + QStringLiteral("-%1").arg(n);
    QFile source(path);
    if (!source.copy(copy))
        throw TFatalError(kResetCopyFailed.arg(QDir::toNativeSeparators(path), FileErrorText(source)));
    return copy;
}

bool AskOkCancel(QWidget *parent, const QString &text)
{
    return ShowMessageBox(parent, QMessageBox::Question, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel)
           == QMessageBox::Ok;
}
}   // namespace

TMainMenus::TMainMenus(TMainForm &form, QMenuBar &bar) : QObject(&form), MainMenu1(&bar), m_form(form)
{
    setObjectName(QStringLiteral("MainMenus"));
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    confirmOkCancel = [this](const QString &text) { return AskOkCancel(&m_form, text); };
    BuildFileMenu();
    BuildPreferencesMenu();
    BuildInformationMenu();
    for (QMenu *menu : {mmFile, mmPreferences, mmInformation})
        connect(menu, &QMenu::aboutToHide, this, Guarded([this] { MainMenu1Change(); }));
    AddMenuKeys();
}

// The keyboard reaches the menus without changing their captions: Alt with
// the initial of the menu's English name (File, Settings, Information), and
// F10 for the first menu; from there the arrow keys and Enter. A menu that is
// hidden (under the title cover) does not open.
void TMainMenus::AddMenuKeys()
{
    const std::pair<QMenu *, QKeySequence> keys[] = {
        {mmFile, QKeySequence(Qt::ALT | Qt::Key_F)},
        {mmFile, QKeySequence(Qt::Key_F10)},
        {mmPreferences, QKeySequence(Qt::ALT | Qt::Key_S)},
        {mmInformation, QKeySequence(Qt::ALT | Qt::Key_I)},
    };
    for (const auto &[menu, key] : keys) {
        auto *shortcut = new QShortcut(key, &m_form);
        shortcut->setObjectName(QStringLiteral("MenuKey_") + menu->objectName());
        connect(shortcut, &QShortcut::activated, this, Guarded([this, menu] {
                    if (menu->menuAction()->isVisible() && menu->menuAction()->isEnabled())
                        MainMenu1->setActiveAction(menu->menuAction());
                }));
    }
}

QAction *TMainMenus::AddItem(QMenu *menu, const QString &name, const QString &caption, void (TMainMenus::*handler)())
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(name);
    if (handler)
        connect(a, &QAction::triggered, this, Guarded([this, handler] { (this->*handler)(); }));
    return a;
}

void TMainMenus::BuildFileMenu()
{
    mmFile = MainMenu1->addMenu(QStringLiteral(" ファイル"));
    mmFile->setObjectName(QStringLiteral("mmFile"));
    smFileManager = AddItem(mmFile, QStringLiteral("smFileManager"), QStringLiteral("学習ファイルの管理"),
                            &TMainMenus::smFileManagerClick);
    smUserFile = AddItem(mmFile, QStringLiteral("smUserFile"), QStringLiteral("記録ファイルの管理"),
                         &TMainMenus::smUserFileClick);
    N1 = mmFile->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    N1->setText(kSeparatorCaption);
    smReset = AddItem(mmFile, QStringLiteral("smReset"), QStringLiteral("このファイルの学習記録を初期化"),
                      &TMainMenus::smResetClick);
    smStatus = AddItem(mmFile, QStringLiteral("smStatus"), QStringLiteral("このファイルの学習進捗状況"),
                       &TMainMenus::smStatusClick);
    smFileExit = AddItem(mmFile, QStringLiteral("smFileExit"), QStringLiteral("このファイルを終了"),
                         &TMainMenus::smFileExitClick);
    N2 = mmFile->addSeparator();
    N2->setObjectName(QStringLiteral("N2"));
    N2->setText(kSeparatorCaption);
    smFileAllExit = AddItem(mmFile, QStringLiteral("smFileAllExit"), QStringLiteral("全終了"),
                            &TMainMenus::smFileAllExitClick);
}

void TMainMenus::BuildPreferencesMenu()
{
    mmPreferences = MainMenu1->addMenu(QStringLiteral("設定"));
    mmPreferences->setObjectName(QStringLiteral("mmPreferences"));
    smSkin = mmPreferences->addMenu(QStringLiteral("スキン"));
    smSkin->setObjectName(QStringLiteral("smSkin"));
    for (const TSkin &skin : SkinTable()) {
        QAction *item = smSkin->addAction(skin.caption);
        item->setObjectName(skin.component);
        item->setCheckable(true);
        const QString name = skin.name;
        connect(item, &QAction::triggered, this, Guarded([this, item, name] {
            // The click has toggled the tick: it goes back to the skin on
            // screen, which ApplySkin looks at and then ticks anew.
            item->setChecked(m_form.skinName() == name);
            m_form.ApplySkin(name);
        }));
    }
    smTypingSound = mmPreferences->addMenu(QStringLiteral("タイプ音"));
    smTypingSound->setObjectName(QStringLiteral("smTypingSound"));
    for (int setting = 1; setting <= kTypingSoundCount; ++setting) {
        const TTypingSoundItem &t = kTypingSoundItems[static_cast<size_t>(setting - 1)];
        QAction *item = smTypingSound->addAction(QString::fromUtf8(t.caption));
        item->setObjectName(QString::fromUtf8(t.component));
        item->setCheckable(true);
        typingSoundItems[static_cast<size_t>(setting - 1)] = item;
        connect(item, &QAction::triggered, this, Guarded([this, setting] { m_form.ApplyTypingSound(setting); }));
    }
    smPreferences = AddItem(mmPreferences, QStringLiteral("smPreferences"), QStringLiteral("その他"),
                            &TMainMenus::smPreferencesClick);
}

void TMainMenus::BuildInformationMenu()
{
    mmInformation = MainMenu1->addMenu(QStringLiteral("情報"));
    mmInformation->setObjectName(QStringLiteral("mmInformation"));
    smKey = AddItem(mmInformation, QStringLiteral("smKey"), QStringLiteral("キー操作"), &TMainMenus::smKeyClick);
    smTokushuRule = AddItem(mmInformation, QStringLiteral("smTokushuRule"), QStringLiteral("記号付き文字の入力規則"),
                            &TMainMenus::smTokushuRuleClick);
    smJukugoRule = AddItem(mmInformation, QStringLiteral("smJukugoRule"), QStringLiteral("熟語版の入力規則"),
                           &TMainMenus::smJukugoRuleClick);
    smFAQ = AddItem(mmInformation, QStringLiteral("smFAQ"), QStringLiteral("FAQ"), &TMainMenus::smFAQClick);
    smCosmos = AddItem(mmInformation, QStringLiteral("smCosmos"), QStringLiteral("Cosmos"), &TMainMenus::smCosmosClick);
    smWords = AddItem(mmInformation, QStringLiteral("smWords"), QStringLiteral("収録語彙"), &TMainMenus::smWordsClick);
    smTessarion = AddItem(mmInformation, QStringLiteral("smTessarion"), QStringLiteral("Tessarion について"),
                          &TMainMenus::smTessarionClick);
    smVersion = AddItem(mmInformation, QStringLiteral("smVersion"), QStringLiteral("バージョン情報"),
                        &TMainMenus::smVersionClick);
    smVersionCheck = AddItem(mmInformation, QStringLiteral("smVersionCheck"), QStringLiteral("最新バージョンの確認"),
                             &TMainMenus::smVersionCheckClick);
}

// ---------------------------------------------------------------------------
// Showing, ticking
// ---------------------------------------------------------------------------

void TMainMenus::ShowMainMenus()
{
    if (!mmPreferences->menuAction()->isVisible()) {
        mmFile->menuAction()->setVisible(true);
        mmPreferences->menuAction()->setVisible(true);
        mmInformation->menuAction()->setVisible(true);
    }
    MainMenu1->update();
}

void TMainMenus::HideMainMenus()
{
    mmFile->menuAction()->setVisible(false);
    mmPreferences->menuAction()->setVisible(false);
    mmInformation->menuAction()->setVisible(false);
    MainMenu1->update();
}

void TMainMenus::TickSkin(const QString &skinName)
{
    const QList<TSkin> &skins = SkinTable();
    const QList<QAction *> items = smSkin->actions();
    for (qsizetype i = 0; i < items.size() && i < skins.size(); ++i)
        items[i]->setChecked(skins[i].name == skinName);
}

bool TMainMenus::SkinTicked(const QString &skinName) const
{
    const TSkin *skin = FindSkin(skinName);
    for (QAction *a : smSkin->actions())
        if (skin && a->objectName() == skin->component)
            return a->isChecked();
    return false;
}

void TMainMenus::TickTypingSound(int setting)
{
    for (int s = 1; s <= kTypingSoundCount; ++s)
        typingSoundItems[static_cast<size_t>(s - 1)]->setChecked(s == setting);
}

QString TMainMenus::TypingSoundCaption(int setting)
{
    if (setting < 1 || setting > kTypingSoundCount)
        return {};
    return QString::fromUtf8(kTypingSoundItems[static_cast<size_t>(setting - 1)].caption);
}

// ---------------------------------------------------------------------------
// Handlers
// ---------------------------------------------------------------------------

bool TMainMenus::WindowsMayOpen() const
{
    const TTrainingFlow &flow = m_form.flow();
    return !flow.IsAsking() && !flow.IsLoading() && flow.State() != TFlowState::Closing;
}

int TMainMenus::RunModal(QDialog &dialog, bool moveAgent)
{
    int result = QDialog::Rejected;
    if (moveAgent)
        WithAgentAway([&] { result = dialog.exec(); });
    else
        result = dialog.exec();
    return result;
}

void TMainMenus::WithAgentAway(const std::function<void()> &show)
{
    TSpeechAndSound &media = m_form.program().media();
    const bool agentAway = media.AgentOnScreen();
    if (agentAway)
        media.MoveAgentOutOfView();
    try {
        show();
    } catch (...) {
        if (agentAway)
            media.RestoreAgentTop();
        throw;
    }
    if (agentAway)
        media.RestoreAgentTop();
}

void TMainMenus::smFileManagerClick()
{
    if (!WindowsMayOpen())
        return;
    TFileManagerForm &manager = m_form.program().fileManagerForm();
    manager.SetStartMode(false);
    RunModal(manager, false);
}

void TMainMenus::smUserFileClick()
{
    if (!WindowsMayOpen())
        return;
    TUserFilesForm &records = m_form.program().userFilesForm();
    RunModal(records);
    // The records were replaced: end without writing anything more.
    if (records.QuitAfterClose())
        m_form.flow().ShutDown();
}

void TMainMenus::smResetClick()
{
    if (!WindowsMayOpen())
        return;
    if (!confirmOkCancel(kResetQuestion) || !confirmOkCancel(kResetSecondQuestion))
        return;
    TCC &cc = m_form.cc();
    // The records as they were stay beside the file, whatever follows; without
    // that copy nothing is reset.
    if (!cc.context.readOnly) {
        try {
            KeepCopyBeforeReset(cc.RecordFilePath());
        } catch (const TFatalError &e) {
            cc.notifier->Error(e.Message());
            return;
        }
    }
    m_form.flow().PlaySound(QStringLiteral("RESET"));
    cc.ResetRecordFile();
    m_form.wordPanel().RefreshActivePage();
}

void TMainMenus::smStatusClick()
{
    if (!WindowsMayOpen())
        return;
    WithAgentAway([this] { m_form.program().statusForm().ShowModal(TStatusMode::Normal); });
    m_form.flow().UpdateQuotaLabel();
}

void TMainMenus::smFileExitClick()
{
    m_form.flow().smFileExitClick();
}

void TMainMenus::smFileAllExitClick()
{
    m_form.flow().smFileAllExitClick();
}

void TMainMenus::smPreferencesClick()
{
    if (!WindowsMayOpen())
        return;
    WithAgentAway([this] { m_form.program().preferencesForm().ShowModal(); });
    m_form.ShowTopRightDisplay(m_form.cc().settings.topRightDisplay);
    m_form.flow().UpdateQuotaLabel();
}

void TMainMenus::ShowHelpPage(const QString &topic)
{
    if (WindowsMayOpen())
        WithAgentAway([this, &topic] { m_form.program().infoForm().ShowTopic(topic); });
}

void TMainMenus::smKeyClick()
{
    ShowHelpPage(kInfoOperation);
}

void TMainMenus::smTokushuRuleClick()
{
    ShowHelpPage(kInfoTokushuTyping);
}

void TMainMenus::smJukugoRuleClick()
{
    ShowHelpPage(kInfoJukugoTyping);
}

void TMainMenus::smFAQClick()
{
    ShowHelpPage(kInfoFAQ);
}

void TMainMenus::smWordsClick()
{
    ShowHelpPage(kInfoWords);
}

void TMainMenus::smCosmosClick()
{
    if (WindowsMayOpen())
        RunModal(m_form.program().aboutCosmosForm());
}

void TMainMenus::smTessarionClick()
{
    if (WindowsMayOpen())
        RunModal(m_form.program().aboutTessarionForm());
}

void TMainMenus::smVersionClick()
{
    if (WindowsMayOpen())
        RunModal(m_form.program().aboutForm());
}

void TMainMenus::smVersionCheckClick()
{
    if (WindowsMayOpen())
        WithAgentAway([this] { m_form.program().versionUpForm().ShowModal(); });
}

void TMainMenus::MainMenu1Change()
{
    if (m_form.isVisible())
        m_form.FocusHiddenButton();
}
