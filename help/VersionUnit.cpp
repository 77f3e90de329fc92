#include "help/VersionUnit.h"

#include "base/SlotGuard.h"
#include "base/Version.h"
#include "engine/CommonUnit.h"

#include <QLabel>
#include <QPushButton>

namespace {
const QString kCaption = QStringLiteral("バージョン情報");
const QString kProgramVersion = QStringLiteral("program version ");
const QString kFileVersion = QStringLiteral("file version ");
constexpr int kPanelWidth = 420;
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

TAboutForm::TAboutForm(TCC &cc, QWidget *parent)
    : TFramedPanelDialog(parent, QStringLiteral("AboutForm"), kCaption, QStringLiteral("sPanel_Version")), m_cc(cc)
{
    m_text = new QLabel(Panel());
    m_text->setObjectName(QStringLiteral("AboutText"));
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont font = m_text->font();
    font.setPixelSize(kTextPixelSize);
    m_text->setFont(font);
    m_text->move(kMargin, kMargin);

    sButton_OK = new QPushButton(QStringLiteral("ＯＫ"), Panel());
    sButton_OK->setObjectName(QStringLiteral("sButton_OK"));
    sButton_OK->resize(kButtonWidth, kButtonHeight);
    connect(sButton_OK, &QPushButton::clicked, this, Guarded([this] { ClosePanel(); }));
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

void TAboutForm::PrepareToShow()
{
    const QStringList lines = Lines();
    m_text->setText(lines.join(u'\n'));
    m_text->setToolTip(m_cc.fileSlot >= 1 && m_cc.fileSlot <= kSlotCount
                           ? m_cc.catalog.rows[static_cast<size_t>(m_cc.fileSlot)].Title.trimmed()
                           : QString());
    m_text->adjustSize();
    const int panelHeight = kMargin + m_text->height() + kLineSpacing + kMargin + kButtonHeight + kMargin;
    SetPanelSize(kPanelWidth, panelHeight);
    sButton_OK->move(kPanelWidth - kMargin - kButtonWidth, panelHeight - kMargin - kButtonHeight);
}
