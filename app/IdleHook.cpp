#include "app/IdleHook.h"
#include "base/SlotGuard.h"
#include <functional>

TIdleHook::TIdleHook(QObject *parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, Guarded(std::bind_front(&TIdleHook::Fire, this)));
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
