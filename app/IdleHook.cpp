#include "app/IdleHook.h"

TIdleHook::TIdleHook(QObject *parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &TIdleHook::Fire);
}

void TIdleHook::Install()
{
    if (!m_timer.isActive())
        m_timer.start();
}

void TIdleHook::Remove()
{
    m_timer.stop();
}

void TIdleHook::Fire()
{
    if (m_handler)
        m_handler();
}
