#include "scriptedpeer.h"

ScriptedPeer::ScriptedPeer(QObject* parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &ScriptedPeer::onNewConnection);
    m_server.listen(QHostAddress::LocalHost, 0);
}

void ScriptedPeer::send(const QByteArray& bytes)
{
    if (m_client) {
        m_client->write(bytes);
        m_client->flush();
    }
}

void ScriptedPeer::dropClient()
{
    if (m_client)
        m_client->abort();
}

void ScriptedPeer::onNewConnection()
{
    while (QTcpSocket* next = m_server.nextPendingConnection()) {
        ++m_accepted;
        if (m_client)
            m_client->deleteLater();
        m_client = next;
        m_line.clear();
        connect(next, &QTcpSocket::readyRead, this, &ScriptedPeer::onReadyRead);
    }
}

void ScriptedPeer::onReadyRead()
{
    const QByteArray bytes = m_client->readAll();
    received.append(bytes);
    m_line.append(bytes);
    int end;
    while ((end = m_line.indexOf("\r\n")) >= 0) {
        const QByteArray request = m_line.left(end + 2);
        m_line.remove(0, end + 2);
        requests.append(request);
        if (reply) {
            const QByteArray answer = reply(request);
            if (!answer.isEmpty())
                send(answer);
        }
    }
}
