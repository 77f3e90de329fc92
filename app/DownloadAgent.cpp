#include "app/DownloadAgent.h"
#include "base/SlotGuard.h"


#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <functional>

namespace {
constexpr int kWidth = 567;
constexpr int kHeight = 353;
constexpr double kOpacity = 222.0 / 255.0;
constexpr int kUsEnglish = 1033;
constexpr int kFocusTop = 999;
constexpr int kMargin = 24;
constexpr int kButtonWidth = 150;
constexpr int kButtonHeight = 32;
} // namespace

TDownloadAgentForm::TDownloadAgentForm(std::function<void(bool)> mainProgram, TComponentCheck check,
                                       QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_mainProgram(std::move(mainProgram)),
      m_check(check ? std::move(check) : TComponentCheck([] { return CheckSpeechComponents(kUsEnglish); }))
{
    endProgram = [] { QCoreApplication::exit(0); };
    setObjectName(QStringLiteral("DownloadAgentForm"));
    setWindowTitle(QStringLiteral("発音機能のインストール"));
    setFixedSize(kWidth, kHeight);
    setWindowOpacity(kOpacity);

    auto *lead = new QLabel(QStringLiteral("発音機能に必要な次のものが、このコンピューターに見つかりませんでした。"), this);
    lead->setObjectName(QStringLiteral("sLabel0"));
    lead->setGeometry(kMargin, 20, kWidth - 2 * kMargin, 24);

    m_missing = new QLabel(this);
    m_missing->setObjectName(QStringLiteral("sLabel1"));
    m_missing->setGeometry(kMargin + 16, 52, kWidth - 2 * kMargin - 16, 84);
    m_missing->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_missing->setWordWrap(true);

    m_howTo = new QLabel(this);
    m_howTo->setObjectName(QStringLiteral("sLabel6"));
    m_howTo->setGeometry(kMargin, 144, kWidth - 2 * kMargin, 60);
    m_howTo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_howTo->setWordWrap(true);

    m_command = new QLineEdit(this);
    m_command->setObjectName(QStringLiteral("sEdit_command"));
    m_command->setGeometry(kMargin, 210, kWidth - 2 * kMargin, 30);
    m_command->setReadOnly(true);
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setStyleHint(QFont::Monospace);
    m_command->setFont(mono);

    auto *note = new QLabel(QStringLiteral("※ 発音なしで続けると、発音とインコは OFF のままになります。"), this);
    note->setObjectName(QStringLiteral("sLabel5"));
    note->setGeometry(kMargin, 252, kWidth - 2 * kMargin, 24);

    m_withoutSpeech = new QPushButton(QStringLiteral("発音なしで続ける"), this);
    m_withoutSpeech->setObjectName(QStringLiteral("sButton_withoutSpeech"));
    m_withoutSpeech->setGeometry(kWidth - 2 * kButtonWidth - kMargin - 12, kHeight - kButtonHeight - 20,
                                 kButtonWidth, kButtonHeight);
    m_cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    m_cancel->setObjectName(QStringLiteral("sButton_cancel"));
    m_cancel->setGeometry(kWidth - kButtonWidth - kMargin, kHeight - kButtonHeight - 20, kButtonWidth,
                          kButtonHeight);
    m_focus = new QPushButton(QStringLiteral("フォーカス用"), this);
    m_focus->setObjectName(QStringLiteral("sButton_focus"));
    m_focus->setGeometry(0, kFocusTop, 10, 10);

    connect(m_withoutSpeech, &QPushButton::clicked, this, Guarded(std::bind_front(&TDownloadAgentForm::sButton_withoutSpeechClick, this)));
    connect(m_cancel, &QPushButton::clicked, this, Guarded(std::bind_front(&TDownloadAgentForm::sButton_cancelClick, this)));
}

void TDownloadAgentForm::FormCreate()
{
    m_report = m_check();
    if (m_report.AllPresent()) {
        ExecuteMainProgram(true);
        return;
    }
    FillReport();
    show();
}

void TDownloadAgentForm::FillReport()
{
    QStringList lines;
    for (const TMissingSpeechComponent &m : m_report.missing)
        lines << QStringLiteral("・") + m.description;
    m_missing->setText(lines.join(u'\n'));
    const QString command = m_report.InstallCommand();
    QString howTo;
    if (!command.isEmpty())
        howTo = QStringLiteral("端末で次のコマンドを実行してインストールしてから、Tessarion を起動し直してください。");
    if (m_report.NeedsReinstall()) {
        if (!howTo.isEmpty())
            howTo += u'\n';
        howTo += QStringLiteral("インコの画像はプログラムの一部です。Tessarion を入れ直してください。");
    }
    m_howTo->setText(howTo);
    m_command->setText(command);
    m_command->setVisible(!command.isEmpty());
}

void TDownloadAgentForm::ExecuteMainProgram(bool speech)
{
    if (m_started)
        return;
    m_started = true;
    hide();
    if (m_mainProgram)
        m_mainProgram(speech);
}

void TDownloadAgentForm::showEvent(QShowEvent *e)
{
    Guard([&] {
        QWidget::showEvent(e);
        m_focus->move(0, kFocusTop);
        if (const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen()) {
            const QRect area = s->availableGeometry();
            move(area.center() - QPoint(width() / 2, height() / 2));
        }
        m_withoutSpeech->setEnabled(true);
        m_cancel->setEnabled(true);
        m_focus->setFocus();
    });
}

void TDownloadAgentForm::sButton_withoutSpeechClick() { ExecuteMainProgram(false); }

void TDownloadAgentForm::sButton_cancelClick()
{
    hide();
    if (endProgram)
        endProgram();
}

void TDownloadAgentForm::closeEvent(QCloseEvent *e)
{
    Guard([&] {
        // Closing the window before the main program runs is cancelling.
        if (!m_started) {
            e->ignore();
            sButton_cancelClick();
            return;
        }
        QWidget::closeEvent(e);
    });
}

void TDownloadAgentForm::keyPressEvent(QKeyEvent *e)
{
    Guard([&] {
        if (e->key() == Qt::Key_Escape && !m_started) {
            sButton_cancelClick();
            return;
        }
        QWidget::keyPressEvent(e);
    });
}
