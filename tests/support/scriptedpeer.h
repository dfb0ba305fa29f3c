#ifndef SCRIPTEDPEER_H
#define SCRIPTEDPEER_H

#include <QtNetwork>

#include <functional>

// A TCP peer on 127.0.0.1 that records every request line the program sends
// and answers each through `reply` (an empty answer sends nothing).
class ScriptedPeer
{
public:
    ScriptedPeer()
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* next = m_server.nextPendingConnection()) {
                m_client ? m_client->deleteLater() : void();
                m_client = next;
                m_line.clear();
                QObject::connect(next, &QTcpSocket::readyRead, [this] { onReadyRead(); });
            }
        });
        m_server.listen(QHostAddress::LocalHost, 0);
    }
    quint16 port() const { return m_server.serverPort(); }
    bool hasClient() const { return m_client && m_client->state() == QAbstractSocket::ConnectedState; }

    QList<QByteArray> requests;
    std::function<QByteArray(const QByteArray& request)> reply;

private:
    void onReadyRead()
    {
        m_line.append(m_client->readAll());
        for (int end; (end = m_line.indexOf("\r\n")) >= 0; m_line.remove(0, end + 2)) {
            requests.append(m_line.left(end + 2));
            m_client->write(reply ? reply(requests.last()) : QByteArray());
        }
    }
    QTcpServer m_server;
    QPointer<QTcpSocket> m_client;
    QByteArray m_line;
};

#endif // SCRIPTEDPEER_H
