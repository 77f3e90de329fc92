#include "updates/VersionUpUnit.h"
#include "widgets/DialogPlacement.h"
#include "base/TError.h"
#include "base/WaitPumping.h"
#include "engine/CommonUnit.h"
#include "net/HttpDownloadService.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <limits>

namespace {
const QString kCaption = QStringLiteral(" Tessarion");
const QString kChecking = QStringLiteral("バージョンをチェックしています。しばらくお待ちください。");
const QString kRestartNote = QStringLiteral("改訂内容を反映させるには、一度 Tessarion を終了して再起動してください。");
const QString kOk = QStringLiteral("Ｏ Ｋ");
const QString kOfferProgram = QStringLiteral("現在お使いの Tessarion は最新版ではありません。　\r\n\r\n\r\n最新バージョンをダウンロードしますか？");
const QString kDeclined = QStringLiteral("最新バージョンをダウンロードしませんでした。");
const QString kDownloadingProgram =
    QStringLiteral("Tessarion の最新バージョンをダウンロードしています。しばらくお待ちください。");
const QString kProgramSaved = QStringLiteral(
    "ダウンロードが完了しました。Tessarion 終了後、再インストールしてください。　\r\n\r\n\r\n※上書きをしても学習記録は消えませんのでご安心ください");
const QString kSaveTitle = QStringLiteral("Save to:");
constexpr int kTimerInterval = 222;
constexpr int kReadingPause = 2222;
constexpr int kWidth = 460;
constexpr int kHeight = 220;
} // namespace

TVersionUpForm::TVersionUpForm(TCC &cc, QWidget *parent) : QDialog(parent), m_cc(cc)
{
    setObjectName(QStringLiteral("VersionUpForm"));
    setWindowTitle(kCaption);
    // No close button: the window is closed with OK.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(kWidth, kHeight);
    auto *layout = new QVBoxLayout(this);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("sLabel1"));
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setWordWrap(true);
    m_gauge = new QProgressBar(this);
    m_gauge->setObjectName(QStringLiteral("sGauge1"));
    m_gauge->setTextVisible(false);
    m_gauge->hide();
    m_reset = new QLabel(kRestartNote, this);
    m_reset->setObjectName(QStringLiteral("sLabel_reset"));
    m_reset->setAlignment(Qt::AlignCenter);
    m_reset->setWordWrap(true);
    m_reset->hide();
    m_ok = new QPushButton(kOk, this);
    m_ok->setObjectName(QStringLiteral("sButton1"));
    m_ok->hide();
    m_focus = new QPushButton(this);
    m_focus->setFixedSize(1, 1);
    layout->addWidget(m_label, 1);
    layout->addWidget(m_gauge);
    layout->addWidget(m_reset);
    layout->addWidget(m_ok, 0, Qt::AlignHCenter);
    m_timer.setInterval(kTimerInterval);
    connect(&m_timer, &QTimer::timeout, this, &TVersionUpForm::Timer1Timer);
    connect(m_ok, &QPushButton::clicked, this, &TVersionUpForm::sButton1Click);

    makeService = [this]() -> std::unique_ptr<TDownloadService> {
        const TServerAddress address = ReadServerAddress(m_cc.programFolder);
        // A configuration file without a usable address is named; the check
        // then goes on as without a connection.
        if (!address.problem.isEmpty())
            m_cc.notifier->Error(address.problem);
        if (address.url.isEmpty())
            return nullptr;
        return std::make_unique<THttpDownloadService>(address.url);
    };
    chooseSaveFile = [this](const QString &proposed) {
        const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        return QFileDialog::getSaveFileName(this, kSaveTitle, desktop + QLatin1Char('/') + proposed);
    };
    pause = [](int milliseconds) { WaitPumping(milliseconds); };
}

TVersionUpForm::~TVersionUpForm() = default;

void TVersionUpForm::ShowModal()
{
    exec();
}

void TVersionUpForm::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    FormShow();
}

void TVersionUpForm::closeEvent(QCloseEvent *e)
{
    if (!m_finished)
        e->ignore();
    else
        QDialog::closeEvent(e);
}

void TVersionUpForm::reject()
{
    // Escape closes the window only once the check has ended.
    if (m_finished)
        sButton1Click();
}

void TVersionUpForm::FormShow()
{
    m_focus->move(-100, -100);
    CentreOverOwner(this);
    m_finished = false;
    m_label->setText(kChecking);
    m_reset->hide();
    m_gauge->hide();
    m_ok->hide();
    m_timer.start();
}

void TVersionUpForm::Timer1Timer()
{
    m_timer.stop();
    try {
        RunCheck();
    } catch (const std::exception &e) {
        // Nothing of the check may end the program; what failed is said.
        const QString message = dynamic_cast<const TFatalError *>(&e) ? static_cast<const TFatalError &>(e).Message()
                                                                        : QString::fromLocal8Bit(e.what());
        m_cc.notifier->Error(message);
        m_status = kDownloadFailedStatus;
    }
    m_label->setText(m_status);
    m_gauge->hide();
    m_ok->show();
    m_ok->setFocus();
    m_finished = true;
}

void TVersionUpForm::RunCheck()
{
    m_status = kNoConnectionStatus;
    const std::unique_ptr<TDownloadService> service = makeService ? makeService() : nullptr;
    TUpdateObserver observer;
    observer.status = [this](const QString &text) { m_status = text; };
    observer.showGauge = [this](qint64 maximum) {
        m_gauge->setRange(0, static_cast<int>(qMin<qint64>(maximum, std::numeric_limits<int>::max())));
        m_gauge->setValue(0);
        m_gauge->show();
    };
    observer.hideGauge = [this] { m_gauge->hide(); };
    observer.progress = [this](qint64 position) {
        m_gauge->setValue(static_cast<int>(qMin<qint64>(position, m_gauge->maximum())));
        m_gauge->repaint();
    };
    observer.dataReplaced = [this] { m_reset->show(); };
    TDataUpdater updater(m_cc, service.get(), observer);
    if (!updater.IsInternetConnected())
        return;
    m_status = kUpToDateStatus;
    updater.RunDataUpdates();
    ProgramVersion(updater);
}

void TVersionUpForm::ProgramVersion(TDataUpdater &updater)
{
    if (!updater.NewerProgramOffered())
        return;
    if (m_reset->isVisible()) {
        // Let the revision's completion text be read before the question.
        m_reset->hide();
        m_label->setText(m_status);
        m_label->repaint();
        if (pause)
            pause(kReadingPause);
    }
    if (!m_cc.notifier->Confirm(kOfferProgram)) {
        m_status = kDeclined;
        return;
    }
    const QString destination = chooseSaveFile ? chooseSaveFile(QFileInfo(kServerProgramPath).fileName()) : QString();
    if (destination.isEmpty()) {
        // The learner cancelled the save dialog: nothing is downloaded.
        m_status = kDeclined;
        return;
    }
    m_label->setText(kDownloadingProgram);
    m_gauge->setRange(0, static_cast<int>(qMin<qint64>(updater.RemoteFileSize(kServerProgramPath), std::numeric_limits<int>::max())));
    m_gauge->setValue(0);
    m_gauge->show();
    const bool saved = updater.DownloadProgram(destination);
    m_gauge->hide();
    if (saved) {
        m_cc.SaveCatalog();
        m_status = kProgramSaved;
    } else {
        m_status = kDownloadFailedStatus;
    }
}

void TVersionUpForm::sButton1Click()
{
    m_gauge->hide();
    m_ok->hide();
    m_finished = true;
    accept();
}
