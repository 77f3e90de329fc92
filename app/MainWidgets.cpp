#include "app/MainWidgets.h"
#include "base/SlotGuard.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QPainter>

namespace {
const QColor kGaugeTrough(0xF4, 0xF4, 0xF4);
const QColor kGaugeFrame(0xA8, 0xA8, 0xA8);
const QColor kGaugeBar(0x7F, 0x9C, 0xC8);
const QColor kGaugeBarLow(0xD8, 0x84, 0x84);
constexpr int kLowGaugePercent = 20;
}

QFont PixelFont(int pixelHeight, bool bold)
{
    QFont f = QApplication::font();
    f.setPixelSize(pixelHeight);
    f.setBold(bold);
    return f;
}

QLabel *MakeLabel(QWidget *parent, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

TPanel::TPanel(QWidget *parent, const QString &name) : QLabel(parent)
{
    setObjectName(name);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setAlignment(Qt::AlignCenter);
    setAutoFillBackground(false);
}

namespace {
// The gauge as assistive technology sees it: a progress bar whose value is
// the time left.
class TAccessibleGauge : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit TAccessibleGauge(TGauge *gauge) : QAccessibleWidget(gauge, QAccessible::ProgressBar) {}
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QVariant currentValue() const override { return gauge()->position(); }
    void setCurrentValue(const QVariant &) override {}   // only the question's clock moves it
    QVariant maximumValue() const override { return gauge()->maximum(); }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    TGauge *gauge() const { return static_cast<TGauge *>(widget()); }
};

QAccessibleInterface *GaugeAccessibility(const QString &className, QObject *object)
{
    if (className == QLatin1String(TGauge::staticMetaObject.className()) && object && object->isWidgetType())
        return new TAccessibleGauge(static_cast<TGauge *>(object));
    return nullptr;
}
}

TGauge::TGauge(QWidget *parent, const QString &name) : QWidget(parent)
{
    setObjectName(name);
    static const bool installed = [] {
        QAccessible::installFactory(&GaugeAccessibility);
        return true;
    }();
    Q_UNUSED(installed);
}

void TGauge::setMaximum(int maximum)
{
    m_maximum = qMax(0, maximum);
    if (m_position > m_maximum)
        m_position = m_maximum;
    update();
}

void TGauge::setPosition(int position)
{
    const int clamped = qBound(0, position, m_maximum);
    if (clamped == m_position)
        return;
    m_position = clamped;
    update();
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, m_position);
        QAccessible::updateAccessibility(&event);
    }
}

void TGauge::paintEvent(QPaintEvent *)
{
    Guard([&] {
        QPainter p(this);
        const QRect outer = rect().adjusted(0, 0, -1, -1);
        p.fillRect(rect(), kGaugeTrough);
        if (m_maximum > 0 && m_position > 0) {
            const int width = static_cast<int>(qint64(rect().width() - 2) * m_position / m_maximum);
            const bool low = qint64(m_position) * 100 < qint64(m_maximum) * kLowGaugePercent;
            p.fillRect(QRect(1, 1, width, rect().height() - 2), low ? kGaugeBarLow : kGaugeBar);
        }
        p.setPen(kGaugeFrame);
        p.drawRect(outer);
    });
}
