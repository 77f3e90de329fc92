#pragma once
// The application's idle hook: the one scheduler of the training. "Installing"
// posts the handler to run once the pending events have been handled;
// "removing" cancels a posted call. Installing twice posts it once.
#include <QObject>
#include <QTimer>
#include <functional>

class TIdleHook : public QObject {
    Q_OBJECT
public:
    explicit TIdleHook(QObject *parent = nullptr);

    void SetHandler(std::function<void()> handler) { m_handler = std::move(handler); }
    void Install();
    void Remove();
    bool IsInstalled() const { return m_timer.isActive(); }

private:
    void Fire();

    QTimer m_timer;
    std::function<void()> m_handler;
};
