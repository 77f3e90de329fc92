#include "net/TestHttpServer.h"

#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace {
const QByteArray kLastModified = QByteArrayLiteral("Last-Modified: Thu, 10 Dec 2026 00:00:00 GMT\r\n");
const QByteArray kHtml = QByteArrayLiteral("<html><body><h1>Service Unavailable</h1></body></html>\n");
constexpr qint64 kHugeLength = 100LL * 1024 * 1024 * 1024;
constexpr int kEndlessChunk = 256 * 1024;
constexpr int kEndlessChunks = 64;

QByteArray Head(int status, const QByteArray &reason, qint64 length, const QByteArray &extra = {})
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\n" + kLastModified + extra;
    if (length >= 0)
        head += "Content-Length: " + QByteArray::number(length) + "\r\n";
    return head + "Connection: close\r\n\r\n";
}
}

TTestHttpServer::TTestHttpServer(QString folder) : m_folder(std::move(folder)), m_server(new QTcpServer(this))
{
    m_server->listen(QHostAddress::LocalHost, 0);
    QObject::connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server->nextPendingConnection()) {
            socket->setParent(this);
            QObject::connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        }
    });
}

TTestHttpServer::~TTestHttpServer() = default;

QString TTestHttpServer::address() const
{
    return QStringLiteral("http://127.0.0.1:%1/").arg(m_server->serverPort());
}

void TTestHttpServer::answer(QTcpSocket *socket)
{
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    if (!request.contains("\r\n\r\n") || socket->property("answered").toBool())
        return;
    socket->setProperty("answered", true);
    const QList<QByteArray> lines = request.left(request.indexOf("\r\n\r\n")).split('\n');
    const QList<QByteArray> first = lines.first().trimmed().split(' ');
    const bool head = first.value(0) == "HEAD";
    const QString path = QString::fromUtf8(first.value(1)).mid(1);
    for (const QByteArray &line : lines) {
        if (line.toLower().startsWith("user-agent:"))
            agents.append(QString::fromUtf8(line.mid(11).trimmed()));
    }
    const TServerFault fault = m_faults.value(path, TServerFault::None);
    QFile file(m_folder + path);
    const bool found = !path.contains(QLatin1String("..")) && file.open(QIODevice::ReadOnly);
    const QByteArray body = found ? file.readAll() : QByteArray();
    const auto send = [&](const QByteArray &headLines, const QByteArray &rest, bool close = true) {
        socket->write(headLines);
        if (!head)
            socket->write(rest);
        if (close)
            socket->disconnectFromHost();
    };
    if (!found || fault == TServerFault::NotFound) {
        send(Head(404, "Not Found", kHtml.size()), kHtml);
        return;
    }
    switch (fault) {
    case TServerFault::None: send(Head(200, "OK", body.size()), body); break;
    case TServerFault::LongerThanLength: send(Head(200, "OK", body.size() / 2), body); break;
    case TServerFault::ShorterThanLength: send(Head(200, "OK", body.size()), head ? body : body.left(body.size() / 2)); break;
    case TServerFault::NoLength: send(Head(200, "OK", -1), body); break;
    case TServerFault::HugeLength: send(Head(200, "OK", kHugeLength), body); break;
    case TServerFault::EndlessBody:
        if (head) {
            send(Head(200, "OK", -1), {});
        } else {
            socket->write(Head(200, "OK", -1));
            for (int i = 0; i < kEndlessChunks; ++i)
                socket->write(QByteArray(kEndlessChunk, 'x'));
            socket->disconnectFromHost();
        }
        break;
    case TServerFault::StallMidBody: send(Head(200, "OK", body.size()), body.left(body.size() / 2), head); break;
    case TServerFault::NotFound: break;
    case TServerFault::ServerError: send(Head(500, "Internal Server Error", kHtml.size()), kHtml); break;
    case TServerFault::HtmlPage: send(Head(200, "OK", kHtml.size()), kHtml); break;
    case TServerFault::RedirectElsewhere:
        send(Head(302, "Found", 0, "Location: http://example.invalid/" + path.toUtf8() + "\r\n"), {});
        break;
    }
}
