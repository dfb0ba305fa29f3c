// The USB and TCP configuration routes, the send routine and the receive
// path shared by every route.
#include "kolvexconfigurator.h"
#include "logging.h"
#include "ui_kolvexconfigurator.h"

#include <QMessageBox>
#include <QTcpSocket>
#include <QTimer>

void KolvexConfigurator::Transmit_Callback(const QByteArray& qbaBuffer)
{
    qCDebug(lcLink) << "Sta:" << ConnectionStatus << "Transmit_Callback: " << qbaBuffer;
    switch (ConnectionStatus) {
    case CommSettings::USB:
        CheckAndSendData(*pSerial, qbaBuffer);
        break;
    case CommSettings::TCP:
        CheckAndSendData(*pTcpSocket, qbaBuffer);
        break;
    case CommSettings::TCP232:
        CheckAndSendData(*pTcp232Socket, qbaBuffer);
        break;
    case CommSettings::TCP485:
        CheckAndSendData(*pTcp485Socket, qbaBuffer);
        break;
    case CommSettings::Max:
        SetStatusBarText(tr("Önce bağlantı sağlayın !! "), 0);
        break;
    }
}

void KolvexConfigurator::CheckAndSendData(QTcpSocket& rSocket, const QByteArray& rArr)
{
    if (!rSocket.isOpen() || rSocket.write(rArr) == -1)
        ui->statusbar->showMessage(tr("Cannot write via TCP"), 0);
    else
        m_traffic.record(TrafficLog::Sent, trafficRoute(&rSocket), rArr);
}

void KolvexConfigurator::CheckAndSendData(QSerialPort& rSerial, const QByteArray& rArr)
{
    if (!rSerial.isOpen()) {
        ui->statusbar->showMessage(tr("Cannot write via USB"), 0);
        return;
    }
    const qint64 written = rSerial.write(rArr);
    qCDebug(lcLink) << "Write status:" << written;
    if (written == -1)
        ui->statusbar->showMessage(tr("Cannot write via USB"), 0);
    else
        m_traffic.record(TrafficLog::Sent, TrafficLog::Usb, rArr);
}

// Tells the traffic log which route a port or socket serves: the tunnel
// close commands go out over the other tunnel, and the first read of a
// route leaves before the route is established.
TrafficLog::Route KolvexConfigurator::trafficRoute(const QIODevice* device) const
{
    return device == pSerial          ? TrafficLog::Usb
        : device == pTcpSocket       ? TrafficLog::Tcp
        : device == pTcp232Socket    ? TrafficLog::Tunnel232
                                     : TrafficLog::Tunnel485;
}

void KolvexConfigurator::parseBlock(const QByteArray& block, const ReceiveReport& report)
{
    QByteArray answer = block;
    const TransparentConfig::TrpErr_t result =
        newTransparentConfig.Receive_Callback(answer, pStaticIpWindow);
    // An error answer has just shown the modem's own reason; the route's
    // report (a bare "err_Unknown") would replace it before it could be read.
    if (result == TransparentConfig::err_OK || result == TransparentConfig::err_Unknown
        || result >= TransparentConfig::err_Max)
        return;
    SetStatusBarText(tr(report.text).arg(TransparentConfig::TrpErrString[result]),
                     report.timeout);
}

// ---- USB route ------------------------------------------------------------

void KolvexConfigurator::OpenComPort(const QSerialPortInfo& port)
{
    // A route that is already up is left alone; a port that is open and
    // still waiting for its first answer is asked again, not reopened
    // (opening it twice would fail and tear it down).
    if (ConnectionStatus > CommSettings::USB && !pSerial->isOpen()) {
        // A listed port that has vanished also comes as an empty one: it
        // must fail, not open the command-line device in its place.
        if (newCommSetting.extraSerialDeviceChosen())
            pSerial->setPortName(CommSettings::extraSerialDevice());
        else
            pSerial->setPort(port);
        pSerial->setBaudRate(QSerialPort::Baud115200, QSerialPort::AllDirections);
        pSerial->open(QIODevice::ReadWrite);
    }
    if (pSerial->isOpen()) {
        CheckAndSendData(*pSerial,
                         TransparentConfig::AT_Command_Formatter(TrpCfgCmdTexts[eIdReadAll]));
        pTimerUsbState->start(CONNECTION_TIMEOUT_MS);
        UsbConnectionSucceed = true;
        newTransparentConfig.SetUSBSettings(true);
    }
}

void KolvexConfigurator::establishUsbRoute()
{
    pTcpSocket->abort();
    pTimerUsbState->stop();
    ConnectionStatus = CommSettings::USB;
    SetStatusBarText(tr("Connected %1").arg(pSerial->portName()), 5000);
    newCommSetting.SetUiConnectionStatus(CommSettings::USB, true);
    newTransparentConfig.setEnabled(true);
    newTransparentConfig.SetUSBSettings(true);
    newTransparentConfig.forgetReadConfiguration();
    setDeviceCommandsEnabled(true, ui->actionPING->isEnabled());
    setDeviceSelectEnabled(false);
}

void KolvexConfigurator::TimerTimeoutUsbState()
{
    qCDebug(lcLink) << "Usb:false";
    ui->statusbar->showMessage(tr("Cannot connect over USB"), 1000);
    UsbConnectionSucceed = false;
    pendingUsb.clear();
    pSerial->close();
    pTimerUsbState->stop();
}

void KolvexConfigurator::CloseComPort()
{
    pSerial->close();
    pTimerUsbState->stop();
    pendingUsb.clear();
    ConnectionStatus = CommSettings::Max;
    newTransparentConfig.setEnabled(false);
    newCommSetting.SetUiConnectionStatus(CommSettings::USB, false);
    setDeviceCommandsEnabled(false, ui->actionPING->isEnabled());
    SetStatusBarText(tr("Disconnected from USB"), 1000);
    setDeviceSelectEnabled(true);
}

void KolvexConfigurator::SerialReceived()
{
    qCDebug(lcLink) << "UsbConnectionSucceed:" << UsbConnectionSucceed;
    if (UsbConnectionSucceed && ConnectionStatus != CommSettings::USB)
        establishUsbRoute();
    const QByteArray arrival = pSerial->readAll();
    m_traffic.record(TrafficLog::Received, TrafficLog::Usb, arrival);
    pendingUsb.append(arrival);
}

void KolvexConfigurator::SerialErrorHandle(QSerialPort::SerialPortError error)
{
    // An unplugged device keeps reporting while the box is open; one box is
    // enough.
    if (error != QSerialPort::NoError && !serialErrorBoxOpen) {
        serialErrorBoxOpen = true;
        QMessageBox::critical(this, tr("Critical Error"), pSerial->errorString(), QMessageBox::Ok);
        serialErrorBoxOpen = false;
        if (pSerial->isOpen())
            CloseComPort();
    }
    if (error >= 0 && error < int(std::size(SerialErrString)))
        SetStatusBarText(tr(SerialErrString[error]), 1000);
}

// ---- TCP configuration route ---------------------------------------------

void KolvexConfigurator::OpenTcpCommunication(const QString& Ip, int Port)
{
    qCDebug(lcLink).noquote() << QStringLiteral("ConnectionStatus:%1 pTcpSocket->state:%2")
                                     .arg(ConnectionStatus)
                                     .arg(pTcpSocket->state())
                              << Ip << Port;
    if (ConnectionStatus != CommSettings::Max)
        return;
    if (pTcpSocket->state() == QAbstractSocket::ConnectedState) {
        TcpConnected();
        return;
    }
    pTcpSocket->abort();
    pTcpSocket->connectToHost(Ip, quint16(Port), QIODevice::ReadWrite,
                              QAbstractSocket::AnyIPProtocol);
}

void KolvexConfigurator::CloseTcpCommunication()
{
    pTcpSocket->disconnectFromHost();
    pTcpSocket->close();
}

void KolvexConfigurator::TcpConnected()
{
    CheckAndSendData(*pTcpSocket,
                     TransparentConfig::AT_Command_Formatter(TrpCfgCmdTexts[eIdReadAll]));
    TcpConnectionSucceed = true;
    pTimerTcpState->start(CONNECTION_TIMEOUT_MS);
    newTransparentConfig.SetETHSettings(true);
    setDeviceSelectEnabled(false);
}

void KolvexConfigurator::establishTcpRoute()
{
    pTimerTcpState->stop();
    ConnectionStatus = CommSettings::TCP;
    SetStatusBarText(tr("Tcp Connected"), 1000);
    setDeviceCommandsEnabled(true, true);
    newCommSetting.SetUiConnectionStatus(CommSettings::TCP, true);
    newTransparentConfig.setEnabled(true);
    newTransparentConfig.SetETHSettings(true);
    newTransparentConfig.forgetReadConfiguration();
}

void KolvexConfigurator::TimerTimeoutTcpState()
{
    qCDebug(lcLink) << " TCP false";
    pTcpSocket->abort();
    TcpConnectionSucceed = false;
    pTimerTcpState->stop();
}

void KolvexConfigurator::TcpDisconnected()
{
    pendingTcp.clear();
    setDeviceCommandsEnabled(false, false);
    newTransparentConfig.setEnabled(false);
    SetStatusBarText(tr("Disconnected from TCP"), 1000);
    newCommSetting.SetUiConnectionStatus(CommSettings::TCP, false);
    ConnectionStatus = CommSettings::Max;
    setDeviceSelectEnabled(true);
}

void KolvexConfigurator::TcpDataReceived()
{
    qCDebug(lcLink) << "TcpConnectionSucceed:" << TcpConnectionSucceed;
    if (TcpConnectionSucceed && ConnectionStatus != CommSettings::TCP)
        establishTcpRoute();
    const QByteArray arrival = pTcpSocket->readAll();
    m_traffic.record(TrafficLog::Received, TrafficLog::Tcp, arrival);
    pendingTcp.append(arrival);
}

void KolvexConfigurator::TcpDataTransmitted(qint64 Bytes)
{
    qCDebug(lcLink) << Bytes << " Byte Data transmitted ";
}

void KolvexConfigurator::TcpError(QAbstractSocket::SocketError err)
{
    if (err == QAbstractSocket::NetworkError)
        SetStatusBarText(tr("Connection closed by server."), 3000);
    else
        reportSocketError(err);
}

void KolvexConfigurator::reportSocketError(QAbstractSocket::SocketError err)
{
    if (err >= 0 && err < int(std::size(SocketErrString)))
        SetStatusBarText(tr(SocketErrString[err]), 3000);
    else
        SetStatusBarText(tr("UnknownSocketError"), 3000);
}

void KolvexConfigurator::connectionLost()
{
    qCDebug(lcLink) << "Connection lost.";
}

// ---- Tunnel acceptance check and read poll -------------------------------

void KolvexConfigurator::TimerServerFull()
{
    if (ConnectionStatus != CommSettings::Max)
        SetStatusBarText(tr("Connected Succesfully"), 1000);
    else
        SetStatusBarText(tr("Server can have connection Check server"), 1000);
    pTimerServerFull->stop();
}

void KolvexConfigurator::TimerTcpReading()
{
    if (DataSendRetryCount < MAX_RETRY_COUNT) {
        const QByteArray& frame =
            TransparentConfig::AT_Command_Formatter(TrpCfgCmdGSMTexts[eIdGSMReadAll]);
        if (ConnectionStatus == CommSettings::TCP485) {
            qCDebug(lcLink) << "Data send from 485";
            CheckAndSendData(*pTcp485Socket, frame);
        } else if (ConnectionStatus == CommSettings::TCP232) {
            qCDebug(lcLink) << "Data send from 232";
            CheckAndSendData(*pTcp232Socket, frame);
        }
        pTimerTcpReading->stop();
        pTimerTcpReading->start(2 * SEND_READING_DATA);
        ++DataSendRetryCount;
        return;
    }
    QMessageBox::warning(this, tr("Uyarı !"), tr("Cihazdan veri alınamadı !"), QMessageBox::Ok);
    // The tunnel may have gone while the box was open; a form without a
    // route would only offer writes that cannot leave.
    if (ConnectionStatus == CommSettings::TCP232 || ConnectionStatus == CommSettings::TCP485) {
        newTransparentConfig.setEnabled(true);
        newTransparentConfig.DataReadSettings(true);
    }
    pTimerTcpReading->stop();
    DataSendRetryCount = 0;
}
