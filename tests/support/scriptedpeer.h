#ifndef SCRIPTEDPEER_H
#define SCRIPTEDPEER_H

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>

// A TCP peer on 127.0.0.1 that records every byte the program sends and
// answers each complete request line through `reply` (an empty answer
// sends nothing). Lets a test see exactly what left the send routine.
class ScriptedPeer : public QObject
{
    Q_OBJECT

public:
    explicit ScriptedPeer(QObject* parent = nullptr);

    quint16 port() const { return m_server.serverPort(); }
    bool hasClient() const { return m_client && m_client->state() == QAbstractSocket::ConnectedState; }
    int accepted() const { return m_accepted; }

    void send(const QByteArray& bytes);
    void dropClient();
    // Stops accepting: later connection attempts are refused.
    void close() { m_server.close(); }

    QByteArray received;
    QList<QByteArray> requests;
    std::function<QByteArray(const QByteArray& request)> reply;

private:
    void onNewConnection();
    void onReadyRead();

    QTcpServer m_server;
    QPointer<QTcpSocket> m_client;
    QByteArray m_line;
    int m_accepted = 0;
};

#endif // SCRIPTEDPEER_H
