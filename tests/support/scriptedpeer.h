#ifndef SCRIPTEDPEER_H
#define SCRIPTEDPEER_H

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

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
                if (m_client)
                    m_client->deleteLater();
                m_client = next;
                m_line.clear();
                QObject::connect(next, &QTcpSocket::readyRead, [this] { onReadyRead(); });
            }
        });
        m_server.listen(QHostAddress::LocalHost, 0);
    }

    quint16 port() const { return m_server.serverPort(); }
    bool hasClient() const { return m_client && m_client->state() == QAbstractSocket::ConnectedState; }
    void dropClient() { m_client ? m_client->abort() : void(); }
    void close() { m_server.close(); } // later connection attempts are refused

    QList<QByteArray> requests;
    std::function<QByteArray(const QByteArray& request)> reply;

private:
    void onReadyRead()
    {
        m_line.append(m_client->readAll());
        for (int end; (end = m_line.indexOf("\r\n")) >= 0;) {
            requests.append(m_line.left(end + 2));
            m_line.remove(0, end + 2);
            const QByteArray answer = reply ? reply(requests.last()) : QByteArray();
            if (!answer.isEmpty())
                m_client->write(answer);
        }
    }

    QTcpServer m_server;
    QPointer<QTcpSocket> m_client;
    QByteArray m_line;
};

#endif // SCRIPTEDPEER_H
