#include "widgets/MessageBoxes.h"

#include <QMessageBox>

namespace {
const QString kCaption = QStringLiteral("Tessarion");
}

void TMessageBoxNotifier::Information(const QString &text)
{
    QMessageBox::information(m_parent, kCaption, text);
}

void TMessageBoxNotifier::Error(const QString &text)
{
    QMessageBox::critical(m_parent, kCaption, text);
}

bool TMessageBoxNotifier::Confirm(const QString &text)
{
    return QMessageBox::question(m_parent, kCaption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}
