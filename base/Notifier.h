#pragma once
// How the engine tells the learner something. The main window shows these as
// message boxes; headless callers (tools, tests) collect or print them.
#include <QString>
#include <QStringList>

class TNotifier {
public:
    virtual ~TNotifier() = default;
    virtual void Information(const QString &text) = 0;   // information box, OK
    virtual void Error(const QString &text) = 0;         // error box, OK
    virtual bool Confirm(const QString &text) = 0;       // Yes/No; true for Yes
};

// Keeps every message; answers confirmations with a fixed reply.
class TCollectingNotifier : public TNotifier {
public:
    void Information(const QString &text) override { messages.append(text); }
    void Error(const QString &text) override { messages.append(text); }
    bool Confirm(const QString &text) override
    {
        messages.append(text);
        return confirmReply;
    }
    QStringList messages;
    bool confirmReply = false;
};
