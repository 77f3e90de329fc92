#pragma once
// A small HTTP/1.1 server on 127.0.0.1 (a free port) for the download tests:
// it serves a folder for GET and HEAD with Content-Length and Last-Modified,
// one request per connection, and can misbehave on chosen paths. It runs on
// the test's thread; the client's waiting loop lets it answer.
#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

class QTcpServer;
class QTcpSocket;

enum class TServerFault {
    None,
    LongerThanLength,   // the body goes on past its Content-Length
    ShorterThanLength,  // the connection closes before the announced length
    NoLength,           // no Content-Length, the connection closes at the end
    HugeLength,         // announces a body far beyond any data file
    EndlessBody,        // no Content-Length and bytes without end
    StallMidBody,       // half the body, then silence
    NotFound,           // 404
    ServerError,        // 500
    HtmlPage,           // 200 with an HTML error page of its own length
    RedirectElsewhere,  // 302 to another host
};

class TTestHttpServer : public QObject {
public:
    explicit TTestHttpServer(QString folder);
    ~TTestHttpServer() override;
    QString address() const;   // "http://127.0.0.1:<port>/"
    void misbehave(const QString &path, TServerFault fault) { m_faults.insert(path, fault); }
    QStringList agents;        // the User-Agent of every request

private:
    void answer(QTcpSocket *socket);
    QString m_folder;
    QTcpServer *m_server;
    QHash<QString, TServerFault> m_faults;
};
