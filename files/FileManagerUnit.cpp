#include "files/FileManagerUnit.h"

#include "app/DialogPlacement.h"

#include "engine/CommonUnit.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {
constexpr int kClientWidth = 560;
constexpr int kClientHeight = 240;
constexpr int kHiddenTop = 999;
}

TFileManagerForm::TFileManagerForm(TCC &cc, QWidget *parent) : QDialog(parent), m_cc(cc)
{
    setObjectName(QStringLiteral("FileManagerForm"));
    setWindowTitle(QStringLiteral(" 学習ファイルの管理"));
    setFixedSize(kClientWidth, kClientHeight);
    auto *note = new QLabel(QStringLiteral("▼ 学習するファイルをチェックしてください"), this);
    note->move(16, 16);
    note->adjustSize();
    sListFiles = new QListWidget(this);
    sListFiles->setObjectName(QStringLiteral("sListFiles"));
    sListFiles->setGeometry(16, 40, kClientWidth - 32, kClientHeight - 104);
    connect(sListFiles, &QListWidget::itemChanged, this, &TFileManagerForm::FileItemChanged);
    sCheckBox_start = new QCheckBox(QStringLiteral(" 起動時に毎回この画面を表示する"), this);
    sCheckBox_start->setObjectName(QStringLiteral("sCheckBox_start"));
    sCheckBox_start->move(16, kClientHeight - 48);
    sCheckBox_start->adjustSize();
    sButton_OK = new QPushButton(QStringLiteral("ＯＫ"), this);
    sButton_OK->setObjectName(QStringLiteral("sButton_OK"));
    sButton_OK->setGeometry(kClientWidth - 236, kClientHeight - 52, 104, 32);
    sButton_fin = new QPushButton(QStringLiteral("終了"), this);
    sButton_fin->setObjectName(QStringLiteral("sButton_fin"));
    sButton_fin->setGeometry(kClientWidth - 120, kClientHeight - 52, 104, 32);
    sButton_focus = new QPushButton(QStringLiteral("フォーカス用"), this);
    sButton_focus->setObjectName(QStringLiteral("sButton_focus"));
    sButton_focus->setAutoDefault(false);
    connect(sButton_OK, &QPushButton::clicked, this, [this] { done(kStartStudy); });
    connect(sButton_focus, &QPushButton::clicked, this, [this] { done(kStartStudy); });
    connect(sButton_fin, &QPushButton::clicked, this, [this] { done(kEndProgram); });
    connect(sCheckBox_start, &QCheckBox::clicked, this, &TFileManagerForm::sCheckBox_startClick);
}

void TFileManagerForm::SetStartMode(bool start)
{
    m_startMode = start;
}

void TFileManagerForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    sButton_focus->move(sButton_focus->x(), kHiddenTop);
    sButton_OK->setText(m_startMode ? QStringLiteral("学習開始") : QStringLiteral("ＯＫ"));
    CentreOverOwner(this);
    sCheckBox_start->setChecked(m_cc.catalog.fileManager);
    FillFileList();
    sButton_OK->setFocus();
}

void TFileManagerForm::sCheckBox_startClick()
{
    m_cc.catalog.fileManager = sCheckBox_start->isChecked();
}

// One row per slot whose file is installed: its code and title, checked while
// the file is studied.
void TFileManagerForm::FillFileList()
{
    const QSignalBlocker blocker(sListFiles);
    sListFiles->clear();
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const TDBF &row = m_cc.catalog.rows[static_cast<size_t>(slot)];
        if (row.Code.isEmpty() || !QFileInfo::exists(m_cc.BuiltInLearningFilePath(row.Code)))
            continue;
        auto *item = new QListWidgetItem(QStringLiteral("%1　%2").arg(row.Code, row.Title), sListFiles);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        item->setCheckState(row.OnOff ? Qt::Checked : Qt::Unchecked);
        item->setData(Qt::UserRole, slot);
    }
}

void TFileManagerForm::FileItemChanged(QListWidgetItem *item)
{
    const int slot = item->data(Qt::UserRole).toInt();
    m_cc.catalog.rows[static_cast<size_t>(slot)].OnOff = item->checkState() == Qt::Checked;
}

// Esc closes the window as OK does, except at program start.
void TFileManagerForm::reject()
{
    if (!m_startMode)
        done(kStartStudy);
}

void TFileManagerForm::done(int result)
{
    m_cc.SaveCatalog();
    QDialog::done(result);
}
