#pragma once
// The HTTP client of the updates, on Qt Network. Requests carry the agent
// "Tessarion-DL", always go to the network (no cache), ask for the body as it
// is stored (no compression, so Content-Length counts the bytes received) and
// never follow a redirect. A fetch first asks for the headers (the file must
// exist and carry Last-Modified), then receives the body within a receive
// time-out and an overall time limit, and refuses a body beyond a sane bound
// as soon as it is announced or received, without storing it. Each call waits
// in a local event loop, so windows stay painted.
#include "engine/DataUpdates.h"

#include <QUrl>

class QNetworkAccessManager;

struct TDownloadLimits {
    int receiveTimeoutMs = 12000;      // no byte for this long: the transfer failed
    int transferLimitMs = 120000;      // the whole file
    int connectTimeoutMs = 5000;       // the quick connection check
    qint64 maximumBytes = 64LL * 1024 * 1024;
};

class THttpDownloadService : public TDownloadService {
public:
    // `baseAddress` ends in "/" or gets one; paths are appended to it.
    explicit THttpDownloadService(const QString &baseAddress, TDownloadLimits limits = {});
    ~THttpDownloadService() override;

    bool IsInternetConnected() override;
    qint64 RemoteFileSize(const QString &path) override;
    TDownloadResult Fetch(const QString &path, const std::function<void(qint64 received)> &progress) override;

    const QUrl &BaseAddress() const { return m_base; }

private:
    struct THead {
        bool answered = false;
        int status = 0;
        qint64 length = -1;
        bool lastModified = false;
        QString error;
    };
    THead Head(const QUrl &url, int timeoutMs);
    QUrl UrlOf(const QString &path) const;

    QUrl m_base;
    TDownloadLimits m_limits;
    QNetworkAccessManager *m_manager;
};
