#pragma once
// A child process that does some work and stops at every moment it reports,
// until the parent lets it go on or kills it there (SIGKILL): for tests of
// what a program killed at a chosen moment leaves behind. A child that
// outlives its parent ends by itself.
#include <QByteArray>

#include <csignal>
#include <functional>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

class TReportingChild {
public:
    // Tells the parent of a moment (a byte naming its kind) and waits there.
    using TReport = std::function<void(char kind)>;
    // Exit status of a child whose parent went away while it waited.
    static constexpr int kParentGone = 2;

    TReportingChild(const std::function<void(const TReport &report)> &work, unsigned lifetimeSeconds)
    {
        int moments[2];
        int go[2];
        if (pipe(moments) != 0 || pipe(go) != 0)
            return;
        m_pid = fork();
        if (m_pid == 0) {
            alarm(lifetimeSeconds);
            close(moments[0]);
            close(go[1]);
            const TReport report = [&](char kind) {
                char answer = 0;
                if (write(moments[1], &kind, 1) != 1 || read(go[0], &answer, 1) != 1)
                    _exit(kParentGone);
            };
            try {
                work(report);
            } catch (...) {
            }
            _exit(0);
        }
        close(moments[1]);
        close(go[0]);
        m_moments = moments[0];
        m_go = go[1];
    }
    ~TReportingChild()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_moments >= 0)
            close(m_moments);
        if (m_go >= 0)
            close(m_go);
    }
    TReportingChild(const TReportingChild &) = delete;
    TReportingChild &operator=(const TReportingChild &) = delete;

    bool Started() const { return m_pid > 0; }

    // Lets the child pass `moments` moments, then kills it at the next one,
    // while it waits there. Returns the kinds of the moments passed and,
    // last, of the one it was killed at; nothing when the child ended before.
    std::optional<QByteArray> KillAtMoment(int moments)
    {
        QByteArray kinds;
        const char go = 1;
        for (int k = 0; k <= moments; ++k) {
            char kind = 0;
            if (read(m_moments, &kind, 1) != 1)
                return std::nullopt;
            kinds.append(kind);
            if (k < moments && write(m_go, &go, 1) != 1)
                return std::nullopt;
        }
        kill(m_pid, SIGKILL);
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_pid = -1;
        if (!WIFSIGNALED(status))
            return std::nullopt;
        return kinds;
    }

private:
    pid_t m_pid = -1;
    int m_moments = -1;
    int m_go = -1;
};
