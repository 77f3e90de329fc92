#include "app/NoticeUnit.h"

#include "app/WordPanel.h"
#include "widgets/DialogPlacement.h"

#include "speech/SpeechAndSound.h"
#include "engine/CommonUnit.h"
#include "base/SlotGuard.h"

#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <functional>

namespace {
constexpr int kClientWidth = 792;
constexpr int kClientHeight = 453;
constexpr int kListLeft = 8;
constexpr int kListWidth = 776;
constexpr int kListHeight = 97;
constexpr int kHiddenTop = 999;
const QString kNothing = QStringLiteral(" nothing");

QTreeWidget *MakeList(QWidget *parent, const QString &name, int top)
{
    auto *tree = new QTreeWidget(parent);
    tree->setObjectName(name);
    tree->setGeometry(kListLeft, top, kListWidth, kListHeight);
    tree->setHeaderHidden(true);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setFocusPolicy(Qt::NoFocus);
    tree->setSortingEnabled(false);
    return tree;
}

QLabel *MakeNote(QWidget *parent, const QString &name, int top, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->move(kListLeft, top);
    label->adjustSize();
    return label;
}

// One header with the entries below it, sorted by text, each with the file's
// language flag; a list without entries says " nothing" and cannot be selected.
void FillList(QTreeWidget *tree, const QString &header, const QList<TStageNoticeEntry> &listed, const QIcon &flag)
{
    QStringList entries;
    for (const TStageNoticeEntry &e : listed)
        entries.append(e.text);
    tree->hide();
    tree->clear();
    auto *root = new QTreeWidgetItem(tree, {header});
    entries.sort();
    for (const QString &e : entries)
        (new QTreeWidgetItem(root, {e}))->setIcon(0, flag);
    tree->setEnabled(true);
    if (entries.isEmpty()) {
        new QTreeWidgetItem(root, {kNothing});
        tree->setEnabled(false);
    }
    tree->expandAll();
    tree->setCurrentItem(root);
    tree->show();
}
}

TNoticeForm::TNoticeForm(TCC &cc, TSpeechAndSound &media, QWidget *parent)
    : QDialog(parent), m_cc(cc), m_media(media)
{
    setObjectName(QStringLiteral("NoticeForm"));
    setWindowTitle(QStringLiteral(" Information"));
    setFixedSize(kClientWidth, kClientHeight);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    TreeView_Stage2OK = MakeList(this, QStringLiteral("TreeView_Stage2OK"), 8);
    TreeView_StageNG = MakeList(this, QStringLiteral("TreeView_StageNG"), 112);
    TreeView_Limbo = MakeList(this, QStringLiteral("TreeView_Limbo"), 216);
    MakeNote(this, QStringLiteral("sLabel2"), 328,
             QStringLiteral("※ Stage 2 の合格規定：　800 日経過するまでに習熟レベル 10 に達すること"));
    MakeNote(this, QStringLiteral("sLabel1"), 344,
             QStringLiteral("※ Stage 1 の合格規定：　1600 問経過するまでに習熟レベル 6 に達すること"));
    MakeNote(this, QStringLiteral("sLabel3"), 360,
             QStringLiteral("※ Stage 1 の合格規定に達した語は、その時点で即座に Stage 2 に進みますので、"
                            "この画面には表示されません。"));
    sButton_close = new QPushButton(QStringLiteral("ＯＫ"), this);
    sButton_close->setObjectName(QStringLiteral("sButton_close"));
    sButton_close->setGeometry(664, 402, 100, 28);
    connect(sButton_close, &QPushButton::clicked, this, Guarded(std::bind_front(&QDialog::accept, this)));
    sButton_focus = new QPushButton(QStringLiteral("フォーカス用"), this);
    sButton_focus->setObjectName(QStringLiteral("sButton_focus"));
    sButton_focus->setDefault(false);
    sButton_focus->setAutoDefault(false);
}

void TNoticeForm::showEvent(QShowEvent *event)
{
    Guard([&] {
        QDialog::showEvent(event);
        FormShow();
    });
}

void TNoticeForm::FormShow()
{
    sButton_focus->move(sButton_focus->x(), kHiddenTop);
    CentreOverOwner(this);
    m_media.PlaySoundEffect(QStringLiteral("NOTICE"));
    const TStageNoticeLists notice = m_cc.studyRun.ApplyStageRules();
    const QIcon flag = LanguageFlagIcon(LanguageKindOfSlot(m_cc.fileSlot));
    FillList(TreeView_Stage2OK,
             QStringLiteral("以下の単語は Stage 2 の合格規定に達しました。 Stage 3 に進みます。"), notice.stage2OK, flag);
    FillList(TreeView_StageNG,
             QStringLiteral("以下の単語は各 Stage の合格規定に達しませんでした。　初めからやり直しとなります。"),
             notice.stageNG, flag);
    FillList(TreeView_Limbo,
             QStringLiteral("学習不足により、以下の単語は習得率が大幅に低下しました。　初めからやり直しとなります。"),
             notice.limbo, flag);
    m_saved = false;
    sButton_focus->setFocus();
}

// OK, Esc and the close button all end here: the moves made while the lists
// were built are saved at once.
void TNoticeForm::done(int result)
{
    Guard([&] {
        Q_UNUSED(result);
        if (!m_saved) {
            m_saved = true;
            m_media.PlaySoundEffect(QStringLiteral("BUTTON"));
            m_cc.SaveRecordFile();
        }
        QDialog::done(1);
    });
}
