#include "widgets/MessageBoxes.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTextLayout>
#include <algorithm>

namespace {
const QString kCaption = QStringLiteral("Tessarion");
const QString kTextLabelName = QStringLiteral("qt_msgbox_label");
// The box keeps its text unwrapped up to half the screen, at most 500 pixels
// wide; the icon and the margins take about this much of that.
constexpr int kBoxSoftLimit = 500;
constexpr int kIconAndMargins = 110;

int WidestText(const QWidget *parent)
{
    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const int half = screen ? screen->availableGeometry().width() / 2 : kBoxSoftLimit;
    return std::min(kBoxSoftLimit, half) - kIconAndMargins;
}

// The lines a label `width` pixels wide breaks a paragraph into.
QStringList Lines(const QString &paragraph, const QFont &font, int width)
{
    QTextLayout layout(paragraph, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QStringList lines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines.append(paragraph.mid(line.textStart(), line.textLength()));
    }
    layout.endLayout();
    if (lines.isEmpty())
        lines.append(QString());
    return lines;
}

int LineCount(const QString &paragraph, const QFont &font, int width)
{
    return static_cast<int>(Lines(paragraph, font, width).size());
}

QStringList Paragraphs(const QString &text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return plain.split(u'\n');
}

}

int MessageTextWidth(const QString &text, const QFont &font, int maximum)
{
    const QFontMetrics metrics(font);
    int width = 0;
    for (const QString &paragraph : Paragraphs(text)) {
        const int natural = metrics.horizontalAdvance(paragraph);
        if (natural <= maximum) {
            width = std::max(width, natural);
            continue;
        }
        // The narrowest width that needs no more lines than the widest.
        const int lines = LineCount(paragraph, font, maximum);
        int low = natural / lines;
        int high = maximum;
        while (low < high) {
            const int middle = (low + high) / 2;
            if (LineCount(paragraph, font, middle) <= lines)
                high = middle;
            else
                low = middle + 1;
        }
        width = std::max(width, high);
    }
    return std::min(width, maximum);
}

QString MessageTextLines(const QString &text, const QFont &font, int maximum)
{
    const int width = MessageTextWidth(text, font, maximum);
    QStringList lines;
    for (const QString &paragraph : Paragraphs(text)) {
        lines.append(Lines(paragraph, font, width));
    }
    // A line broken at a space does not keep it at its end.
    for (QString &line : lines)
        while (line.endsWith(u' '))
            line.chop(1);
    return lines.join(u'\n');
}

QMessageBox::StandardButton ShowMessageBox(QWidget *parent, QMessageBox::Icon icon, const QString &text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, kCaption, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    // The box's own wrapping may leave a character alone on a line: it gets
    // the lines broken evenly instead.
    if (const auto *label = box.findChild<QLabel *>(kTextLabelName))
        box.setText(MessageTextLines(text, label->font(), WidestText(parent)));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void TMessageBoxNotifier::Information(const QString &text)
{
    ShowMessageBox(m_parent, QMessageBox::Information, text);
}

void TMessageBoxNotifier::Error(const QString &text)
{
    ShowMessageBox(m_parent, QMessageBox::Critical, text);
}

bool TMessageBoxNotifier::Confirm(const QString &text)
{
    return ShowMessageBox(m_parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
           == QMessageBox::Yes;
}
