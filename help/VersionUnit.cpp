#include "help/VersionUnit.h"

#include "widgets/DialogPlacement.h"
#include "base/SlotGuard.h"
#include "base/Version.h"
#include "engine/CommonUnit.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace {
const QString kCaption = QStringLiteral("バージョン情報");
const QString kProgramVersion = QStringLiteral("program version ");
const QString kFileVersion = QStringLiteral("file version ");
const QString kButtonSound = QStringLiteral("BUTTON");
constexpr int kPanelWidth = 420;
constexpr int kFrameWidth = 4;
constexpr int kMargin = 24;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 32;
constexpr int kTextPixelSize = 15;
constexpr int kLineSpacing = 8;

// 805 -> "8.05"
QString Hundredths(qint32 version)
{
    return QStringLiteral("%1.%2").arg(version / 100).arg(version % 100, 2, 10, QLatin1Char('0'));
}
}

TAboutForm::TAboutForm(TCC &cc, QWidget *parent) : QDialog(parent), m_cc(cc)
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(kCaption);
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);

    // The help windows' look: a slate frame around a paper-coloured panel.
    m_frame = new QFrame(this);
    m_frame->setObjectName(QStringLiteral("sPanel_Frame"));
    m_frame->setStyleSheet(QStringLiteral("#sPanel_Frame { background: #5a6e82; }"));
    m_panel = new QFrame(m_frame);
    m_panel->setObjectName(QStringLiteral("sPanel_Version"));
    m_panel->setStyleSheet(QStringLiteral("#sPanel_Version { background: #f7f5ef; }"));
    m_panel->move(kFrameWidth, kFrameWidth);
    m_panel->setFocusPolicy(Qt::StrongFocus);

    m_text = new QLabel(m_panel);
    m_text->setObjectName(QStringLiteral("AboutText"));
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont font = m_text->font();
    font.setPixelSize(kTextPixelSize);
    m_text->setFont(font);
    m_text->move(kMargin, kMargin);

    sButton_OK = new QPushButton(QStringLiteral("ＯＫ"), m_panel);
    sButton_OK->setObjectName(QStringLiteral("sButton_OK"));
    sButton_OK->resize(kButtonWidth, kButtonHeight);
    connect(sButton_OK, &QPushButton::clicked, this, Guarded([this] { CloseVersion(); }));

    // A click on the panel closes the window, as the help window does.
    m_panel->installEventFilter(this);
}

QStringList TAboutForm::Lines() const
{
    QStringList lines;
    const int slot = m_cc.fileSlot;
    const bool file = slot >= 1 && slot <= kSlotCount;
    if (file) {
        // A long title ends in an ellipsis on whole characters, never cut
        // inside one.
        const QString title = m_cc.catalog.rows[static_cast<size_t>(slot)].Title.trimmed();
        lines << m_text->fontMetrics().elidedText(title, Qt::ElideRight, kPanelWidth - 2 * kMargin);
    }
    lines << kProgramVersion + Hundredths(m_cc.catalog.dataVersion);
    if (file)
        lines << kFileVersion + Hundredths(m_cc.catalog.rows[static_cast<size_t>(slot)].Version);
    lines << QStringLiteral("Tessarion %1").arg(QString::fromLatin1(kTessarionVersion));
    return lines;
}

void TAboutForm::showEvent(QShowEvent *event)
{
    Guard([&] {
        const QStringList lines = Lines();
        m_text->setText(lines.join(u'\n'));
        m_text->setToolTip(m_cc.fileSlot >= 1 && m_cc.fileSlot <= kSlotCount
                               ? m_cc.catalog.rows[static_cast<size_t>(m_cc.fileSlot)].Title.trimmed()
                               : QString());
        m_text->adjustSize();
        const int panelHeight = kMargin + m_text->height() + kLineSpacing + kMargin + kButtonHeight + kMargin;
        m_panel->resize(kPanelWidth, panelHeight);
        sButton_OK->move(kPanelWidth - kMargin - kButtonWidth, panelHeight - kMargin - kButtonHeight);
        m_frame->resize(kPanelWidth + 2 * kFrameWidth, panelHeight + 2 * kFrameWidth);
        setFixedSize(m_frame->size());
        CentreOverOwner(this);
        QDialog::showEvent(event);
        m_panel->setFocus();
    });
}

bool TAboutForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_panel && event->type() == QEvent::MouseButtonPress) {
        Guard([this] { CloseVersion(); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        Guard([this] { CloseVersion(); });
        return;
    }
    QDialog::keyPressEvent(event);
}

void TAboutForm::reject()
{
    Guard([this] { CloseVersion(); });
}

void TAboutForm::CloseVersion()
{
    if (!isVisible())
        return;
    if (playSoundEffect)
        playSoundEffect(kButtonSound);
    QDialog::done(QDialog::Accepted);
}
