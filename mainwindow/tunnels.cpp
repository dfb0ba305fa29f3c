// The GSM modem's two serial tunnels. Each named slot is an entry point
// into one implementation that takes the tunnel's description.
#include "kolvexconfigurator.h"
#include "logging.h"
#include "ui_kolvexconfigurator.h"

#include <QMessageBox>
#include <QTcpSocket>
#include <QTimer>

KolvexConfigurator::Tunnel KolvexConfigurator::tunnel232()
{
    return {CommSettings::TCP232,
            pTcp232Socket,
            pTcp485Socket,
            &Tcp232ConnectionSucceed,
            &pending232,
            &TransparentConfig::Set232Settings,
            eId232ComClose,
            QT_TR_NOOP("Tcp 232 Port Connected"),
            QT_TR_NOOP("Disconnected from TCP 232 Port"),
            "232 Port Closed",
            QT_TR_NOOP("Tcp 232 Port Closed")};
}

KolvexConfigurator::Tunnel KolvexConfigurator::tunnel485()
{
    return {CommSettings::TCP485,
            pTcp485Socket,
            pTcp232Socket,
            &Tcp485ConnectionSucceed,
            &pending485,
            &TransparentConfig::Set485Settings,
            eId485ComClose,
            QT_TR_NOOP("Tcp 485 Port Connected"),
            QT_TR_NOOP("Disconnected from TCP 485 Port"),
            "485 Port Closed",
            QT_TR_NOOP("Tcp 485 Port Closed")};
}

void KolvexConfigurator::OpenTcp232Communication(const QString& Ip, int Port)
{
    openTunnel(tunnel232(), Ip, Port);
}

void KolvexConfigurator::OpenTcp485Communication(const QString& Ip, int Port)
{
    openTunnel(tunnel485(), Ip, Port);
}

void KolvexConfigurator::CloseTcp232Communication()
{
    pTcp232Socket->disconnectFromHost();
    pTcp232Socket->close();
}

void KolvexConfigurator::CloseTcp485Communication()
{
    pTcp485Socket->disconnectFromHost();
    pTcp485Socket->close();
}

void KolvexConfigurator::AbortTcp232Communication()
{
    abortTunnel(tunnel232());
}

void KolvexConfigurator::AbortTcp485Communication()
{
    abortTunnel(tunnel485());
}

void KolvexConfigurator::Tcp232Connected()
{
    tunnelConnected(tunnel232());
}

void KolvexConfigurator::Tcp485Connected()
{
    tunnelConnected(tunnel485());
}

void KolvexConfigurator::Tcp232Disconnected()
{
    tunnelDisconnected(tunnel232());
}

void KolvexConfigurator::Tcp485Disconnected()
{
    tunnelDisconnected(tunnel485());
}

void KolvexConfigurator::Tcp232DataReceived()
{
    tunnelDataReceived(tunnel232());
}

void KolvexConfigurator::Tcp485DataReceived()
{
    tunnelDataReceived(tunnel485());
}

void KolvexConfigurator::Tcp232DataTransmitted(qint64 Bytes)
{
    TcpDataTransmitted(Bytes);
}

void KolvexConfigurator::Tcp485DataTransmitted(qint64 Bytes)
{
    TcpDataTransmitted(Bytes);
}

void KolvexConfigurator::Tcp232Error(QAbstractSocket::SocketError err)
{
    reportSocketError(err);
}

void KolvexConfigurator::Tcp485Error(QAbstractSocket::SocketError err)
{
    reportSocketError(err);
}

void KolvexConfigurator::Tcp232StateChanged(QAbstractSocket::SocketState SocketState)
{
    tunnelStateChanged(tunnel232(), SocketState);
}

void KolvexConfigurator::Tcp485StateChanged(QAbstractSocket::SocketState SocketState)
{
    tunnelStateChanged(tunnel485(), SocketState);
}

void KolvexConfigurator::openTunnel(const Tunnel& t, const QString& Ip, int Port)
{
    qCDebug(lcLink).noquote() << QStringLiteral("ConnectionStatus:%1 pTcpSocket->state:%2")
                                     .arg(ConnectionStatus)
                                     .arg(t.socket->state())
                              << Ip << Port;
    if (ConnectionStatus != CommSettings::Max)
        return;
    if (t.socket->state() == QAbstractSocket::ConnectedState) {
        tunnelConnected(t);
        return;
    }
    t.socket->abort();
    t.socket->connectToHost(Ip, quint16(Port), QIODevice::ReadWrite,
                            QAbstractSocket::AnyIPProtocol);
}

void KolvexConfigurator::tunnelConnected(const Tunnel& t)
{
    *t.connectionSucceed = true;
    // Each connect gets its own three polls.
    DataSendRetryCount = 0;
    pTimerTcpReading->start(SEND_READING_DATA);
    pTimerServerFull->start(SERVER_FULL_TIMEOUT_MS);
    if (ConnectionStatus == t.route)
        return;
    ConnectionStatus = t.route;
    newTransparentConfig.forgetReadConfiguration();
    SetStatusBarText(tr(t.connectedText), 1000);
    setDeviceCommandsEnabled(true, true);
    newCommSetting.SetUiConnectionStatus(t.route, true);
    setDeviceSelectEnabled(false);
}

void KolvexConfigurator::tunnelDisconnected(const Tunnel& t)
{
    // A poll left running would warn about a modem the user already left
    // and enable the form without a route.
    pTimerTcpReading->stop();
    DataSendRetryCount = 0;
    t.pending->clear();
    setDeviceCommandsEnabled(false, false);
    newTransparentConfig.setEnabled(false);
    SetStatusBarText(tr(t.disconnectedText), 1000);
    newCommSetting.SetUiConnectionStatus(t.route, false);
    ConnectionStatus = CommSettings::Max;
    *t.connectionSucceed = false;
    (newTransparentConfig.*t.selectSection)(false);
    setDeviceSelectEnabled(true);
}

void KolvexConfigurator::tunnelDataReceived(const Tunnel& t)
{
    pTimerTcpReading->stop();
    DataSendRetryCount = 0;
    (newTransparentConfig.*t.selectSection)(true);
    newTransparentConfig.setEnabled(true);
    const QByteArray arrival = t.socket->readAll();
    qCDebug(lcLink) << arrival;
    m_traffic.record(TrafficLog::Received, trafficRoute(t.socket), arrival);
    t.pending->append(arrival);
}

void KolvexConfigurator::tunnelStateChanged(const Tunnel& t, QAbstractSocket::SocketState state)
{
    if (state == QAbstractSocket::ConnectedState) {
        qCDebug(lcLink) << "Bağlantı başarılı.";
        return;
    }
    if (state != QAbstractSocket::UnconnectedState || *t.connectionSucceed)
        return;
    qCDebug(lcLink) << "Bağlantı başarısız.";
    newCommSetting.SetUiConnectionStatus(t.route, false);
    // Shown after the socket has finished reporting, not from inside its
    // state change, so a retry from the box's nested loop cannot re-enter
    // the socket.
    QTimer::singleShot(0, this, [this] {
        QMessageBox::warning(this, tr("Uyarı !"),
                             tr("Bağlantı Sağlanamadı. IP ve Port Adresinizi Kontrol Edin."),
                             QMessageBox::Ok);
    });
}

void KolvexConfigurator::abortTunnel(const Tunnel& t)
{
    qCDebug(lcLink) << t.closeDiagnostic;
    CheckAndSendData(*t.otherSocket,
                     TransparentConfig::AT_Command_Formatter(TrpCfgCmdGSMTexts[t.closeCommand]));
    SetStatusBarText(tr(t.closeText), 1000);
}
