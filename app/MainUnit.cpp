#include "app/MainUnit.h"

#include "engine/CommonUnit.h"

#include <QFont>
#include <QLabel>
#include <QPalette>

namespace {
constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 768;
const char *const kWindowColour = "#DADADA";
}

TMainForm::TMainForm(TCC &cc, QWidget *parent) : QWidget(parent), m_cc(cc)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Tessarion"));
    setFixedSize(kWindowWidth, kWindowHeight);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(QString::fromLatin1(kWindowColour)));
    setPalette(pal);
    setAutoFillBackground(true);

    m_titleCover = new QLabel(QStringLiteral("Tessarion"), this);
    m_titleCover->setObjectName(QStringLiteral("sLabel_titleCover"));
    m_titleCover->setGeometry(0, 0, kWindowWidth, kWindowHeight);
    m_titleCover->setAlignment(Qt::AlignCenter);
    QFont font(QStringLiteral("Serif"), 64);
    font.setItalic(true);
    m_titleCover->setFont(font);
}
