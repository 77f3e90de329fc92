#include "net/HttpDownloadService.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace {
const QByteArray kAgent = QByteArrayLiteral("Tessarion-DL");

QNetworkRequest RequestOf(const QUrl &url, int receiveTimeoutMs)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, kAgent);
    request.setRawHeader(QByteArrayLiteral("Accept-Encoding"), QByteArrayLiteral("identity"));
    request.setRawHeader(QByteArrayLiteral("Cache-Control"), QByteArrayLiteral("no-cache"));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setTransferTimeout(receiveTimeoutMs);
    return request;
}

int StatusOf(const QNetworkReply *reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

// What went wrong on the connection, in the learner's words (the network
// library's own texts are English).
QString NetworkErrorText(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::NoError:
        return {};
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("サーバーに接続を断られました");
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("サーバーが途中で接続を切りました");
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("サーバーが見つかりません");
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return QStringLiteral("サーバーから応答がありません");
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("安全な接続を確立できませんでした");
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
        return QStringLiteral("ネットワークに接続されていません");
    case QNetworkReply::TooManyRedirectsError:
    case QNetworkReply::InsecureRedirectError:
        return QStringLiteral("転送先が正しくありません");
    case QNetworkReply::ContentNotFoundError:
        return QStringLiteral("サーバーにファイルがありません");
    default:
        break;
    }
    if (error >= QNetworkReply::ProxyConnectionRefusedError && error < QNetworkReply::ContentAccessDenied)
        return QStringLiteral("プロキシを通して接続できませんでした（%1）").arg(static_cast<int>(error));
    return QStringLiteral("通信のエラー（%1）").arg(static_cast<int>(error));
}

// The announced length, or -1 when there is none or it is not a number.
qint64 LengthOf(const QNetworkReply *reply)
{
    if (!reply->hasRawHeader(QByteArrayLiteral("Content-Length")))
        return -1;
    bool ok = false;
    const qint64 length = reply->rawHeader(QByteArrayLiteral("Content-Length")).trimmed().toLongLong(&ok);
    return ok && length >= 0 ? length : -1;
}
}

THttpDownloadService::THttpDownloadService(const QString &baseAddress, TDownloadLimits limits)
    : m_base(baseAddress.endsWith(QLatin1Char('/')) ? baseAddress : baseAddress + QLatin1Char('/')),
      m_limits(limits), m_manager(new QNetworkAccessManager)
{
    m_manager->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

THttpDownloadService::~THttpDownloadService()
{
    delete m_manager;
}

QUrl THttpDownloadService::UrlOf(const QString &path) const
{
    QUrl url = m_base;
    url.setPath(m_base.path() + path);
    return url;
}

THttpDownloadService::THead THttpDownloadService::Head(const QUrl &url, int timeoutMs)
{
    THead head;
    QNetworkReply *reply = m_manager->head(RequestOf(url, timeoutMs));
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, [reply] { reply->abort(); });
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    head.status = StatusOf(reply);
    head.answered = head.status > 0;
    head.length = LengthOf(reply);
    head.lastModified = reply->hasRawHeader(QByteArrayLiteral("Last-Modified"));
    head.error = NetworkErrorText(reply->error());
    reply->deleteLater();
    return head;
}

bool THttpDownloadService::IsInternetConnected()
{
    // Any answer of the configured server counts; no other host is asked.
    return Head(m_base, m_limits.connectTimeoutMs).answered;
}

qint64 THttpDownloadService::RemoteFileSize(const QString &path)
{
    const THead head = Head(UrlOf(path), m_limits.connectTimeoutMs);
    return head.status == 200 && head.length > 0 ? head.length : 0;
}

TDownloadResult THttpDownloadService::Fetch(const QString &path, const std::function<void(qint64)> &progress)
{
    TDownloadResult result;
    const QUrl url = UrlOf(path);
    const THead head = Head(url, m_limits.connectTimeoutMs);
    if (!head.answered) {
        result.outcome = TDownloadOutcome::NoConnection;
        result.detail = head.error;
        return result;
    }
    if (head.status != 200 || !head.lastModified) {
        result.outcome = TDownloadOutcome::NotOnServer;
        result.detail = head.status != 200 ? QStringLiteral("HTTP %1").arg(head.status)
                                           : QStringLiteral("更新日時（Last-Modified）が返されませんでした");
        return result;
    }

    QNetworkReply *reply = m_manager->get(RequestOf(url, m_limits.receiveTimeoutMs));
    reply->setReadBufferSize(64 * 1024);
    QEventLoop loop;
    QByteArray body;
    qint64 announced = -1;
    bool refused = false;
    const auto stop = [&](TDownloadOutcome outcome, const QString &detail) {
        if (refused)
            return;
        refused = true;
        result.outcome = outcome;
        result.detail = detail;
        reply->abort();
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        const int status = StatusOf(reply);
        if (status != 200) {
            stop(TDownloadOutcome::NotOnServer, QStringLiteral("HTTP %1").arg(status));
            return;
        }
        announced = LengthOf(reply);
        if (announced > m_limits.maximumBytes)
            stop(TDownloadOutcome::TooLarge, QStringLiteral("%1 バイトと告げられました").arg(announced));
    });
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        if (refused)
            return;
        body += reply->readAll();
        if (body.size() > m_limits.maximumBytes) {
            stop(TDownloadOutcome::TooLarge, QStringLiteral("%1 バイトを超えました").arg(m_limits.maximumBytes));
            return;
        }
        if (announced >= 0 && body.size() > announced) {
            stop(TDownloadOutcome::SizeMismatch, QStringLiteral("告げられた %1 バイトを超えました").arg(announced));
            return;
        }
        if (progress)
            progress(body.size());
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, [&] {
        stop(TDownloadOutcome::Interrupted, QStringLiteral("制限時間の %1 秒を過ぎました").arg(m_limits.transferLimitMs / 1000));
    });
    limit.start(m_limits.transferLimitMs);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    limit.stop();

    if (!refused) {
        const int status = StatusOf(reply);
        if (reply->error() == QNetworkReply::OperationCanceledError || reply->error() == QNetworkReply::TimeoutError) {
            result.outcome = TDownloadOutcome::Interrupted;
            result.detail = QStringLiteral("%1 秒間データが届きませんでした").arg(m_limits.receiveTimeoutMs / 1000.0);
        } else if (status != 200 && status != 0) {
            result.outcome = TDownloadOutcome::NotOnServer;
            result.detail = QStringLiteral("HTTP %1").arg(status);
        } else if (reply->error() != QNetworkReply::NoError) {
            result.outcome = TDownloadOutcome::Interrupted;
            result.detail = NetworkErrorText(reply->error());
        } else {
            body += reply->readAll();
            if (body.size() > m_limits.maximumBytes) {
                result.outcome = TDownloadOutcome::TooLarge;
                result.detail = QStringLiteral("%1 バイトを超えました").arg(m_limits.maximumBytes);
            } else if (announced < 0) {
                result.outcome = TDownloadOutcome::SizeMismatch;
                result.detail = QStringLiteral("大きさ（Content-Length）が告げられませんでした");
            } else if (body.size() != announced) {
                result.outcome = TDownloadOutcome::SizeMismatch;
                result.detail = QStringLiteral("%2 バイトのうち %1 バイトしか届きませんでした").arg(body.size()).arg(announced);
            } else {
                result.outcome = TDownloadOutcome::Completed;
                result.body = std::move(body);
                if (progress)
                    progress(result.body.size());
            }
        }
    }
    reply->deleteLater();
    return result;
}
