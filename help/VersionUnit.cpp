#include "help/VersionUnit.h"

#include "base/Version.h"
#include "engine/CommonUnit.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {
const QString kCaption = QStringLiteral("バージョン情報");
const QString kProgramVersion = QStringLiteral("program version ");
const QString kFileVersion = QStringLiteral("file version ");
constexpr int kMargin = 16;

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
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("AboutText"));
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_text);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

QStringList TAboutForm::Lines() const
{
    QStringList lines;
    const int slot = m_cc.fileSlot;
    const bool file = slot >= 1 && slot <= kSlotCount;
    if (file)
        lines << m_cc.catalog.rows[static_cast<size_t>(slot)].Title.trimmed();
    lines << kProgramVersion + Hundredths(m_cc.catalog.dataVersion);
    if (file)
        lines << kFileVersion + Hundredths(m_cc.catalog.rows[static_cast<size_t>(slot)].Version);
    lines << QStringLiteral("Tessarion %1").arg(QString::fromLatin1(kTessarionVersion));
    return lines;
}

void TAboutForm::showEvent(QShowEvent *event)
{
    m_text->setText(Lines().join(u'\n'));
    adjustSize();
    QDialog::showEvent(event);
}
