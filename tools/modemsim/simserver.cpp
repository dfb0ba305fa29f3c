#include "simserver.h"

#include "ptyport.h"
#include "simlog.h"
#include "simsession.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>
#include <memory>

namespace modemsim {

namespace {

// Says "<name> flood sent" on stderr once the port has passed the whole
// flood on to the system, so a test knows when it is all on its way.
template <typename Port, typename Signal>
void reportFloods(SimSession* session, Port* port, Signal drained, std::function<bool()> idle)
{
    auto open = std::make_shared<bool>(false);
    const auto check = [session, open, idle] {
        if (*open && idle()) {
            *open = false;
            qCInfo(lcSim).noquote() << session->name() << "flood sent";
        }
    };
    QObject::connect(session, &SimSession::flooded, port, [open, check] {
        *open = true;
        check();
    });
    QObject::connect(port, drained, session, check);
}

} // namespace

SimServer::SimServer(const SimOptions& options, int index, QIODevice* journal, QObject* parent)
    : QObject(parent)
    , m_options(options)
    , m_core(options.kind, index)
    , m_faults(options.faultsOf(index))
    , m_label(options.fleet ? QStringLiteral("%1:").arg(index) : QString())
{
    m_core.setJournal(journal, options.fleet ? QByteArray::number(index) + ' ' : QByteArray());
    m_core.setRefusingWrites(m_faults.options().refuseWrites);
}

bool SimServer::start(QString* error)
{
    if (m_options.kind == ModemKind::Gsm) {
        return listen(Role::Tunnel485, QStringLiteral("485"), m_options.port485, error)
            && listen(Role::Tunnel232, QStringLiteral("232"), m_options.port232, error);
    }
    return listen(Role::Config, QStringLiteral("config"), m_options.configPort, error)
        && (!m_options.pty || openPty(error));
}

bool SimServer::listen(Role role, const QString& name, quint16 port, QString* error)
{
    QHostAddress address;
    if (m_options.host == QLatin1String("localhost"))
        address = QHostAddress::LocalHost;
    else if (!address.setAddress(m_options.host)) {
        *error = QStringLiteral("not an address: %1").arg(m_options.host);
        return false;
    }
    auto* server = new QTcpServer(this);
    if (!server->listen(address, port)) {
        *error = QStringLiteral("cannot listen on %1:%2 (%3): %4")
                     .arg(m_options.host)
                     .arg(port)
                     .arg(name, server->errorString());
        return false;
    }
    const Listener listener { role, name, server };
    m_listeners.append(listener);
    connect(
        server, &QTcpServer::newConnection, this, [this, listener] { acceptClients(listener); });
    return true;
}

bool SimServer::openPty(QString* error)
{
    m_pty = new PtyPort(this);
    if (!m_pty->open(m_options.ptyLink, error))
        return false;
    m_ptySession = new SimSession(m_core, m_faults, QStringLiteral("usb"), this);
    connect(m_pty, &PtyPort::received, m_ptySession, &SimSession::receive);
    connect(m_ptySession, &SimSession::transmit, m_pty, &PtyPort::write);
    connect(m_ptySession, &SimSession::closeRequested, m_pty, &PtyPort::unplugWhenDrained);
    connect(m_ptySession, &SimSession::actionRequested, this, &SimServer::carryOut);
    reportFloods(m_ptySession, m_pty, &PtyPort::drained, [this] { return !m_pty->hasPending(); });
    return true;
}

QList<QTcpSocket*> SimServer::clients(const Listener& listener) const
{
    // The server parents its pending connections too; only a socket with a
    // session is a client being served.
    QList<QTcpSocket*> connected;
    const auto children
        = listener.server->findChildren<QTcpSocket*>(QString(), Qt::FindDirectChildrenOnly);
    for (QTcpSocket* socket : children) {
        if (socket->state() == QAbstractSocket::ConnectedState && socket->findChild<SimSession*>())
            connected.append(socket);
    }
    return connected;
}

void SimServer::acceptClients(const Listener& listener)
{
    while (listener.server->hasPendingConnections()) {
        const bool full = m_options.singleClient && !clients(listener).isEmpty();
        QTcpSocket* socket = listener.server->nextPendingConnection();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        const QString name
            = QStringLiteral("%1%2#%3").arg(m_label, listener.name).arg(++m_connections);
        if (full) {
            // The modem's "server full": the connection is taken, then closed.
            qCDebug(lcSim).noquote() << name << "refused, port busy";
            socket->disconnectFromHost();
            continue;
        }
        qCDebug(lcSim).noquote() << name << "connected from" << socket->peerAddress().toString();
        serve(socket, name);
    }
}

void SimServer::serve(QTcpSocket* socket, const QString& name)
{
    auto* session = new SimSession(m_core, m_faults, name, socket);
    connect(socket, &QTcpSocket::readyRead, session,
        [socket, session] { session->receive(socket->readAll()); });
    connect(socket, &QTcpSocket::disconnected, session,
        [name] { qCDebug(lcSim).noquote() << name << "disconnected"; });
    // Every write goes out at once; a flood asked for in pieces also goes
    // without Nagle's delay, so each piece leaves as one while the system
    // takes them.
    if (m_faults.options().floodPiece > 0)
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(session, &SimSession::transmit, socket, [socket](const QByteArray& bytes) {
        socket->write(bytes);
        socket->flush();
    });
    reportFloods(session, socket, &QTcpSocket::bytesWritten,
        [socket] { return socket->bytesToWrite() == 0; });
    // disconnectFromHost writes out what is queued before it closes.
    connect(session, &SimSession::closeRequested, socket, &QTcpSocket::disconnectFromHost);
    connect(session, &SimSession::actionRequested, this, &SimServer::carryOut);
}

void SimServer::dropClients(Role role)
{
    for (const Listener& listener : qAsConst(m_listeners)) {
        if (listener.role == role) {
            for (QTcpSocket* socket : clients(listener))
                socket->disconnectFromHost();
        }
    }
}

void SimServer::carryOut(ModemCore::Action action)
{
    switch (action) {
    case ModemCore::Action::None:
        break;
    case ModemCore::Action::Restart:
        qCDebug(lcSim).noquote() << m_label + "restarting: every client is dropped";
        for (Role role : { Role::Config, Role::Tunnel485, Role::Tunnel232 })
            dropClients(role);
        // A pseudo-terminal cannot be dropped by the modem; what the
        // restart loses there is the half-received request and the count.
        if (m_ptySession)
            m_ptySession->reset();
        break;
    case ModemCore::Action::Close485:
        dropClients(Role::Tunnel485);
        break;
    case ModemCore::Action::Close232:
        dropClients(Role::Tunnel232);
        break;
    }
}

QString SimServer::portText(Role role) const
{
    for (const Listener& listener : m_listeners) {
        if (listener.role == role)
            return QString::number(listener.server->serverPort());
    }
    return QStringLiteral("-");
}

QString SimServer::firstPort() const
{
    return portText(m_options.kind == ModemKind::Gsm ? Role::Tunnel485 : Role::Config);
}

QString SimServer::readyLine() const
{
    return QStringLiteral("READY kind=%1 config=%2 port485=%3 port232=%4 pty=%5")
        .arg(kindName(m_options.kind), portText(Role::Config), portText(Role::Tunnel485),
            portText(Role::Tunnel232),
            m_pty && m_pty->isOpen() ? m_pty->path() : QStringLiteral("-"));
}

} // namespace modemsim
