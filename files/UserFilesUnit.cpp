#include "files/UserFilesUnit.h"

#include "widgets/DialogPlacement.h"
#include "base/SlotGuard.h"
#include "base/TError.h"
#include "engine/CommonUnit.h"
#include "workspace/Paths.h"
#include "workspace/RecordFolderTransfer.h"

#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStandardPaths>

namespace {
constexpr int kClientWidth = 560;
constexpr int kClientHeight = 300;

const QString kCaption = QStringLiteral(" 記録ファイルの管理");
const QString kPlaceCaption = QStringLiteral("保存場所");
const QString kPlaceNote = QStringLiteral("※ 学習記録だけでなく、設定ファイルやユーザ作成学習ファイルも保存されています");
const QString kExportDialogCaption = QStringLiteral("場所を指定してください");
const QString kImportDialogCaption = QStringLiteral("フォルダ（user）を指定してください");
const QString kExportQuestion = QStringLiteral("%1 へ記録ファイルを書き出します。　");
const QString kOverwriteQuestion = QStringLiteral("同名のフォルダが存在します。上書きしますか？　");
const QString kImportQuestion = QStringLiteral(
    "記録ファイルを読み込みます\r\n\r\n※すべての学習ファイルの学習記録が上書きされます　\r\n※ユーザー作成の学習ファイルも上書きされます");
const QString kLossQuestion = QStringLiteral("現在の学習記録が失われますが、よろしいですか？");
}

TUserFilesForm::TUserFilesForm(TCC &cc, QWidget *parent) : QDialog(parent), m_cc(cc)
{
    setObjectName(QStringLiteral("UserFilesForm"));
    setWindowTitle(kCaption);
    setFixedSize(kClientWidth, kClientHeight);
    sGroupBox1 = new QGroupBox(kPlaceCaption, this);
    sGroupBox1->setObjectName(QStringLiteral("sGroupBox1"));
    sGroupBox1->setGeometry(16, 12, kClientWidth - 32, 100);
    sEdit_path = new QLineEdit(sGroupBox1);
    sEdit_path->setObjectName(QStringLiteral("sEdit_path"));
    sEdit_path->setReadOnly(true);
    sEdit_path->setGeometry(12, 28, kClientWidth - 56, 26);
    auto *note = new QLabel(kPlaceNote, sGroupBox1);
    note->setWordWrap(true);
    note->setGeometry(12, 60, kClientWidth - 56, 34);
    sButton_export = new QPushButton(QStringLiteral("外部に記録を書き出す"), this);
    sButton_export->setObjectName(QStringLiteral("sButton_export"));
    sButton_export->setToolTip(QStringLiteral("データを書き出します"));
    sButton_export->setGeometry(16, 132, (kClientWidth - 48) / 2, 48);
    sButton_import = new QPushButton(QStringLiteral("外部から記録を読み込む"), this);
    sButton_import->setObjectName(QStringLiteral("sButton_import"));
    sButton_import->setToolTip(QStringLiteral("データを読み込みます"));
    sButton_import->setGeometry(32 + (kClientWidth - 48) / 2, 132, (kClientWidth - 48) / 2, 48);
    sButton_OK = new QPushButton(QStringLiteral("Ｏ Ｋ"), this);
    sButton_OK->setObjectName(QStringLiteral("sButton_OK"));
    sButton_OK->setGeometry(kClientWidth / 2 - 70, kClientHeight - 64, 140, 40);

    connect(sButton_export, &QPushButton::clicked, this, Guarded([this] { sButton_exportClick(); }));
    connect(sButton_import, &QPushButton::clicked, this, Guarded([this] { sButton_importClick(); }));
    connect(sButton_OK, &QPushButton::clicked, this, Guarded([this] { sButton_OKClick(); }));
}

void TUserFilesForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Guard([this] { FormShow(); });
}

// On this platform the record folder is the user folder itself.
void TUserFilesForm::FormShow()
{
    CentreOverOwner(this);
    sEdit_path->setText(QDir::toNativeSeparators(m_cc.userFolder));
    sButton_OK->setFocus();
}

QString TUserFilesForm::ChooseFolder(const QString &caption)
{
    if (chooseFolder)
        return chooseFolder(caption);
    return QFileDialog::getExistingDirectory(this, caption,
                                             QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
}

void TUserFilesForm::SaveCurrentFile()
{
    if (saveCurrentFile)
        saveCurrentFile();
}

void TUserFilesForm::sButton_exportClick()
{
    try {
        const QString chosen = ChooseFolder(kExportDialogCaption);
        if (chosen.isEmpty())
            return;
        const TExportPlan plan = PlanExport(m_cc.userFolder, chosen);
        if (plan.outcome == TTransferOutcome::SameFolder)
            return;
        if (plan.outcome == TTransferOutcome::Refused) {
            m_cc.notifier->Error(plan.message);
            return;
        }
        if (!m_cc.notifier->Confirm(kExportQuestion.arg(QDir::toNativeSeparators(WithSeparator(chosen)))))
            return;
        SaveCurrentFile();
        TReplaceTarget replace = TReplaceTarget::No;
        if (plan.targetExists) {
            if (!m_cc.notifier->Confirm(kOverwriteQuestion))
                return;
            replace = TReplaceTarget::Yes;
        }
        const TTransferResult result = ExportRecordFolder(m_cc.userFolder, plan, replace);
        if (result.outcome == TTransferOutcome::Done)
            m_cc.notifier->Information(result.message);
        else if (!result.message.isEmpty())
            m_cc.notifier->Error(result.message);
    } catch (const TFatalError &e) {
        m_cc.notifier->Error(kExportFailedText + u'\n' + e.Message());
    }
}

void TUserFilesForm::sButton_importClick()
{
    try {
        if (!m_cc.notifier->Confirm(kImportQuestion) || !m_cc.notifier->Confirm(kLossQuestion))
            return;
        const QString chosen = ChooseFolder(kImportDialogCaption);
        if (chosen.isEmpty())
            return;
        const TTransferResult check = CheckImportSource(m_cc.userFolder, chosen);
        if (check.outcome == TTransferOutcome::SameFolder)
            return;
        if (check.outcome != TTransferOutcome::Done) {
            m_cc.notifier->Error(check.message);
            return;
        }
        // Today's answers go into the folder that is kept as the backup.
        SaveCurrentFile();
        const TTransferResult result = ImportRecordFolder(m_cc.userFolder, chosen);
        if (result.outcome != TTransferOutcome::Done) {
            if (!result.message.isEmpty())
                m_cc.notifier->Error(result.message);
            return;
        }
        m_cc.notifier->Information(result.message);
        m_cc.notifier->Information(kRestartText);
        m_quitAfterClose = true;
        accept();
    } catch (const TFatalError &e) {
        m_cc.notifier->Error(kImportFailedText + u'\n' + e.Message());
    }
}

void TUserFilesForm::sButton_OKClick()
{
    accept();
}

// A click on the background closes the window.
void TUserFilesForm::mousePressEvent(QMouseEvent *event)
{
    QDialog::mousePressEvent(event);
    Guard([&] {
        if (event->button() == Qt::LeftButton)
            accept();
    });
}
