#ifndef MODEMSIM_SIMSERVER_H
#define MODEMSIM_SIMSERVER_H

#include "faultplanner.h"
#include "modemcore.h"
#include "simoptions.h"

#include <QList>
#include <QObject>

class QIODevice;
class QTcpServer;
class QTcpSocket;

namespace modemsim {

class PtyPort;
class SimSession;

// One modem's ports: the configuration port (Ethernet) or the two tunnel
// ports (GSM), and the pseudo-terminal USB port. All of them share one core,
// so a write over one port shows in a read over another. It listens on the
// ports `options` names; `index` is its place in a fleet.
class SimServer : public QObject
{
    Q_OBJECT

public:
    SimServer(const SimOptions& options, int index, QIODevice* journal, QObject* parent = nullptr);

    bool start(QString* error);
    // "READY kind=.. config=.. port485=.. port232=.. pty=..", "-" for what
    // this modem does not offer.
    QString readyLine() const;
    // The configuration port (eth) or the RS485 port (gsm).
    QString firstPort() const;

private:
    enum class Role { Config, Tunnel485, Tunnel232 };

    struct Listener
    {
        Role role;
        QString name;
        QTcpServer* server;
    };

    bool listen(Role role, const QString& name, quint16 port, QString* error);
    bool openPty(QString* error);
    void acceptClients(const Listener& listener);
    void serve(QTcpSocket* socket, const QString& name);
    QList<QTcpSocket*> clients(const Listener& listener) const;
    void dropClients(Role role);
    void carryOut(ModemCore::Action action);
    QString portText(Role role) const;

    SimOptions m_options;
    ModemCore m_core;
    FaultPlanner m_faults;
    // Before a client's name: a fleet's modem index ("5:config#1").
    QString m_label;
    QList<Listener> m_listeners;
    PtyPort* m_pty = nullptr;
    SimSession* m_ptySession = nullptr;
    int m_connections = 0;
};

} // namespace modemsim

#endif // MODEMSIM_SIMSERVER_H
