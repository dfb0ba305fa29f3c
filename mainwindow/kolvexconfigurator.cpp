#include "kolvexconfigurator.h"
#include "logging.h"
#include "staticipconfig.h"
#include "trafficwindow.h"
#include "ui_kolvexconfigurator.h"
#include "version.h"

#include <QIcon>
#include <QTcpSocket>
#include <QTimer>

const char* const KolvexConfigurator::SocketErrString[24] = {
    QT_TR_NOOP("ConnectionRefusedError"),
    QT_TR_NOOP("RemoteHostClosedError"),
    QT_TR_NOOP("HostNotFoundError"),
    QT_TR_NOOP("SocketAccessError"),
    QT_TR_NOOP("SocketResourceError"),
    QT_TR_NOOP("SocketTimeoutError"),
    QT_TR_NOOP("DatagramTooLargeError"),
    QT_TR_NOOP("NetworkError"),
    QT_TR_NOOP("AddressInUseError"),
    QT_TR_NOOP("SocketAddressNotAvailableError"),
    QT_TR_NOOP("UnsupportedSocketOperationError"),
    QT_TR_NOOP("UnfinishedSocketOperationError"),
    QT_TR_NOOP("ProxyAuthenticationRequiredError"),
    QT_TR_NOOP("SslHandshakeFailedError"),
    QT_TR_NOOP("ProxyConnectionRefusedError"),
    QT_TR_NOOP("ProxyConnectionClosedError"),
    QT_TR_NOOP("ProxyConnectionTimeoutError"),
    QT_TR_NOOP("ProxyNotFoundError"),
    QT_TR_NOOP("ProxyProtocolError"),
    QT_TR_NOOP("OperationError"),
    QT_TR_NOOP("SslInternalError"),
    QT_TR_NOOP("SslInvalidUserDataError"),
    QT_TR_NOOP("TemporaryError"),
    QT_TR_NOOP("UnknownSocketError"),
};

const char* const KolvexConfigurator::SerialErrString[14] = {
    QT_TR_NOOP("NoError"),
    QT_TR_NOOP("DeviceNotFoundError"),
    QT_TR_NOOP("PermissionError"),
    QT_TR_NOOP("OpenError"),
    QT_TR_NOOP("ParityError"),
    QT_TR_NOOP("FramingError"),
    QT_TR_NOOP("BreakConditionError"),
    QT_TR_NOOP("WriteError"),
    QT_TR_NOOP("ReadError"),
    QT_TR_NOOP("ResourceError"),
    QT_TR_NOOP("UnsupportedOperationError"),
    QT_TR_NOOP("UnknownError"),
    QT_TR_NOOP("TimeoutError"),
    QT_TR_NOOP("NotOpenError"),
};

KolvexConfigurator::KolvexConfigurator(QWidget* parent, int DeviceChoice)
    : QMainWindow(parent), ui(new Ui::KolvexConfigurator), newCommSetting(nullptr),
      newTransparentConfig(nullptr)
{
    ui->setupUi(this);
    setWindowTitle(windowTitleText());

    pTcpSocket = new QTcpSocket;
    pTcp232Socket = new QTcpSocket;
    pTcp485Socket = new QTcpSocket;
    pSerial = new QSerialPort;
    pTimerTcpState = new QTimer;
    pTimerTcpReading = new QTimer;
    pTimerUsbState = new QTimer;
    pTimerServerFull = new QTimer;

    ui->Layout->addWidget(&newTransparentConfig);
    ui->SettingLayout->addWidget(&newCommSetting);
    newTransparentConfig.installEventFilter(this); // the file entries follow the form
    makeContentScrollable();

    wire();

    if (DeviceChoice == eETHModem || DeviceChoice == eGSMModem)
        selectDeviceKind(DeviceType(DeviceChoice));
}

KolvexConfigurator::~KolvexConfigurator()
{
    // A socket deleted while connected reports its disconnection, and a
    // timer may still be due: cut every link to this window before the
    // widgets those handlers touch go away.
    detachLinks();
    delete m_trafficWindow; // it shows m_traffic, which goes before the children do
    delete ui;
    delete pTcpSocket;
    delete pTcp232Socket;
    delete pTcp485Socket;
    delete pSerial;
    delete pTimerTcpState;
    delete pTimerUsbState;
    delete pTimerTcpReading;
    delete pTimerServerFull;
}

void KolvexConfigurator::detachLinks()
{
    const QObject* links[] = {pTcpSocket,     pTcp232Socket,    pTcp485Socket,
                              pSerial,        pTimerTcpState,   pTimerUsbState,
                              pTimerTcpReading, pTimerServerFull, &newTransparentConfig,
                              &newCommSetting, &pendingUsb,     &pendingTcp,
                              &pending232,    &pending485};
    for (const QObject* link : links)
        disconnect(link, nullptr, this, nullptr);
    if (pStaticIpWindow)
        disconnect(pStaticIpWindow, nullptr, this, nullptr);
    newTransparentConfig.removeEventFilter(this);
}

// Reads like the wiring table, in its order; the four pending buffers come
// last because they only stand between a port's arrivals and the parser.
void KolvexConfigurator::wire()
{
    connect(pTcpSocket, &QTcpSocket::connected, this, &KolvexConfigurator::TcpConnected);
    connect(pTcpSocket, &QTcpSocket::disconnected, this, &KolvexConfigurator::TcpDisconnected);
    connect(pTcpSocket, &QTcpSocket::readyRead, this, &KolvexConfigurator::TcpDataReceived);
    connect(pTcpSocket, &QTcpSocket::bytesWritten, this, &KolvexConfigurator::TcpDataTransmitted);
    connect(pTcpSocket, SIGNAL(error(QAbstractSocket::SocketError)), this,
            SLOT(TcpError(QAbstractSocket::SocketError)));
    connect(pTcpSocket, &QTcpSocket::aboutToClose, this, &KolvexConfigurator::connectionLost);

    connect(pTcp232Socket, &QTcpSocket::connected, this, &KolvexConfigurator::Tcp232Connected);
    connect(pTcp232Socket, &QTcpSocket::disconnected, this,
            &KolvexConfigurator::Tcp232Disconnected);
    connect(pTcp232Socket, &QTcpSocket::readyRead, this, &KolvexConfigurator::Tcp232DataReceived);
    connect(pTcp232Socket, &QTcpSocket::bytesWritten, this,
            &KolvexConfigurator::Tcp232DataTransmitted);
    connect(pTcp232Socket, &QTcpSocket::stateChanged, this,
            &KolvexConfigurator::Tcp232StateChanged);
    connect(pTcp232Socket, SIGNAL(error(QAbstractSocket::SocketError)), this,
            SLOT(Tcp232Error(QAbstractSocket::SocketError)));

    connect(pTcp485Socket, &QTcpSocket::connected, this, &KolvexConfigurator::Tcp485Connected);
    connect(pTcp485Socket, &QTcpSocket::disconnected, this,
            &KolvexConfigurator::Tcp485Disconnected);
    connect(pTcp485Socket, &QTcpSocket::readyRead, this, &KolvexConfigurator::Tcp485DataReceived);
    connect(pTcp485Socket, &QTcpSocket::bytesWritten, this,
            &KolvexConfigurator::Tcp485DataTransmitted);
    connect(pTcp485Socket, &QTcpSocket::stateChanged, this,
            &KolvexConfigurator::Tcp485StateChanged);
    connect(pTcp485Socket, SIGNAL(error(QAbstractSocket::SocketError)), this,
            SLOT(Tcp485Error(QAbstractSocket::SocketError)));

    connect(pSerial, &QSerialPort::readyRead, this, &KolvexConfigurator::SerialReceived);
    connect(pSerial, &QSerialPort::errorOccurred, this, &KolvexConfigurator::SerialErrorHandle);

    connect(pTimerUsbState, &QTimer::timeout, this, &KolvexConfigurator::TimerTimeoutUsbState);
    connect(pTimerTcpState, &QTimer::timeout, this, &KolvexConfigurator::TimerTimeoutTcpState);
    connect(pTimerTcpReading, &QTimer::timeout, this, &KolvexConfigurator::TimerTcpReading);
    connect(pTimerServerFull, &QTimer::timeout, this, &KolvexConfigurator::TimerServerFull);

    TransparentConfig* form = &newTransparentConfig;
    connect(form, &TransparentConfig::OpenStaticIpWindow, this,
            &KolvexConfigurator::OpenStaticIpConfigScreen);
    connect(form, &TransparentConfig::WriteData, this, &KolvexConfigurator::Transmit_Callback);
    connect(form, &TransparentConfig::WriteStatusBar, this, &KolvexConfigurator::SetStatusBarText);
    connect(form, &TransparentConfig::SetCurrentIpAddr, this,
            &KolvexConfigurator::SetCurrentIpAddr);
    connect(form, &TransparentConfig::DisconnectTcp, this,
            &KolvexConfigurator::CloseTcpCommunication);

    CommSettings* panel = &newCommSetting;
    connect(panel, &CommSettings::ConnectComPort, this, &KolvexConfigurator::OpenComPort);
    connect(panel, &CommSettings::DisconnectComPort, this, &KolvexConfigurator::CloseComPort);
    connect(panel, &CommSettings::ConnectTcp, this, &KolvexConfigurator::OpenTcpCommunication);
    connect(panel, &CommSettings::DisconnectTcp, this, &KolvexConfigurator::CloseTcpCommunication);
    connect(panel, &CommSettings::ConnectTcp232, this,
            &KolvexConfigurator::OpenTcp232Communication);
    connect(panel, &CommSettings::DisconnectTcp232, this,
            &KolvexConfigurator::CloseTcp232Communication);
    connect(panel, &CommSettings::ConnectTcp485, this,
            &KolvexConfigurator::OpenTcp485Communication);
    connect(panel, &CommSettings::DisconnectTcp485, this,
            &KolvexConfigurator::CloseTcp485Communication);
    connect(panel, &CommSettings::AbortTcp232, this, &KolvexConfigurator::AbortTcp232Communication);
    connect(panel, &CommSettings::AbortTcp485, this, &KolvexConfigurator::AbortTcp485Communication);
    connect(panel, &CommSettings::WriteData, this, &KolvexConfigurator::Transmit_Callback);
    connect(panel, &CommSettings::WriteStatusBar, this, &KolvexConfigurator::SetStatusBarText);

    connect(ui->actionRESTART_DEVICE, &QAction::triggered, this,
            &KolvexConfigurator::RestartDevice_Triggered);
    connect(ui->actionGET_INFO, &QAction::triggered, this, &KolvexConfigurator::GetInfo_Triggered);
    connect(ui->actionPING, &QAction::triggered, this, &KolvexConfigurator::Ping_Triggered);
    connect(ui->actionEthernet_Modem, &QAction::triggered, this,
            &KolvexConfigurator::EthernetModem_Triggered);
    connect(ui->actionGSM_Modem, &QAction::triggered, this, &KolvexConfigurator::GSMModem_Triggered);
    connect(ui->actionSave_Configuration, &QAction::triggered, this,
            &KolvexConfigurator::SaveConfiguration_Triggered);
    connect(ui->actionLoad_Configuration, &QAction::triggered, this,
            &KolvexConfigurator::LoadConfiguration_Triggered);
    connect(ui->actionTraffic, &QAction::triggered, this, &KolvexConfigurator::Traffic_Triggered);

    connect(&pendingUsb, &PendingBuffer::blockReady, this, [this](const QByteArray& block) {
        parseBlock(block, {QT_TR_NOOP("SerialReceived Error : %1"), 1000});
    });
    connect(&pendingTcp, &PendingBuffer::blockReady, this, [this](const QByteArray& block) {
        parseBlock(block, {QT_TR_NOOP("TCPDataReceived Error :%1"), 3000});
    });
    connect(&pending232, &PendingBuffer::blockReady, this, [this](const QByteArray& block) {
        parseBlock(block, {QT_TR_NOOP("TCP232DataReceived Error :%1"), 3000});
    });
    connect(&pending485, &PendingBuffer::blockReady, this, [this](const QByteArray& block) {
        parseBlock(block, {QT_TR_NOOP("TCP485DataReceived Error :%1"), 3000});
    });
}

void KolvexConfigurator::SetStatusBarText(const QString& tstErrMsg, int Timeout)
{
    ui->statusbar->showMessage(tstErrMsg, Timeout);
}

void KolvexConfigurator::SetCurrentIpAddr(const QByteArray& qbaBuffer)
{
    newCommSetting.SetCurrentIp(qbaBuffer);
}

void KolvexConfigurator::setDeviceCommandsEnabled(bool restartAndInfo, bool ping)
{
    ui->actionRESTART_DEVICE->setEnabled(restartAndInfo);
    ui->actionGET_INFO->setEnabled(restartAndInfo);
    ui->actionPING->setEnabled(ping);
}

void KolvexConfigurator::setDeviceSelectEnabled(bool enabled)
{
    ui->actionEthernet_Modem->setEnabled(enabled);
    ui->actionGSM_Modem->setEnabled(enabled);
}

void KolvexConfigurator::selectDeviceKind(DeviceType kind)
{
    newCommSetting.SetUiSelectedDeviceStatus(kind);
    const QIcon selected(":/Button/Icons/apply.png");
    ui->actionEthernet_Modem->setIcon(kind == eETHModem ? selected : QIcon());
    ui->actionGSM_Modem->setIcon(kind == eGSMModem ? selected : QIcon());
}

void KolvexConfigurator::EthernetModem_Triggered()
{
    selectDeviceKind(eETHModem);
}

void KolvexConfigurator::GSMModem_Triggered()
{
    selectDeviceKind(eGSMModem);
}

// The USB and TCP routes speak the Ethernet dialect, the tunnels the GSM
// one. With no route the frame goes to the closed serial port, which
// reports that it cannot write; PING is never sent over USB.
void KolvexConfigurator::sendDeviceCommand(eTrpCfgCmdTableID_t ethId,
                                           eTrpCfgCmdGSMTableID_t gsmId,
                                           bool sendOverSerial)
{
    switch (ConnectionStatus) {
    case CommSettings::TCP:
        CheckAndSendData(*pTcpSocket, TransparentConfig::AT_Command_Formatter(TrpCfgCmdTexts[ethId]));
        break;
    case CommSettings::TCP232:
        CheckAndSendData(*pTcp232Socket,
                         TransparentConfig::AT_Command_Formatter(TrpCfgCmdGSMTexts[gsmId]));
        break;
    case CommSettings::TCP485:
        CheckAndSendData(*pTcp485Socket,
                         TransparentConfig::AT_Command_Formatter(TrpCfgCmdGSMTexts[gsmId]));
        break;
    case CommSettings::USB:
    case CommSettings::Max:
        if (sendOverSerial)
            CheckAndSendData(*pSerial,
                             TransparentConfig::AT_Command_Formatter(TrpCfgCmdTexts[ethId]));
        break;
    }
}

void KolvexConfigurator::RestartDevice_Triggered()
{
    sendDeviceCommand(eIdDeviceRestart, eIdGSMDeviceRestart, true);
}

void KolvexConfigurator::GetInfo_Triggered()
{
    sendDeviceCommand(eIdDeviceInfo, eIdGSMDeviceInfo, true);
}

void KolvexConfigurator::Ping_Triggered()
{
    sendDeviceCommand(eIdDevicePing, eIdGSMDevicePing, false);
}

void KolvexConfigurator::OpenStaticIpConfigScreen()
{
    if (pStaticIpWindow)
        return;
    // The form is usable only while a route stands, but a request that
    // slips through without one is refused rather than trusted.
    if (ConnectionStatus >= CommSettings::Max) {
        SetStatusBarText(tr("Önce bağlantı sağlayın !! "), 0);
        return;
    }
    const QByteArray& frame =
        TransparentConfig::AT_Command_Formatter(TrpCfgCmdTexts[eIdReadNetworkCfg]);
    if (ConnectionStatus == CommSettings::TCP)
        CheckAndSendData(*pTcpSocket, frame);
    else
        CheckAndSendData(*pSerial, frame);

    auto* window = new StaticIpConfig(ConnectionStatus, nullptr);
    connect(window, &StaticIpConfig::Close_StaticIpConfigWindow, this,
            &KolvexConfigurator::Close_StaticIpConfigWindow);
    window->show();
    connect(window, &StaticIpConfig::WriteData, this, &KolvexConfigurator::Transmit_Callback);
    pStaticIpWindow = window;
}

void KolvexConfigurator::Close_StaticIpConfigWindow()
{
    // Deferred: the window is still inside its own close event.
    if (auto* window = qobject_cast<StaticIpConfig*>(sender()))
        window->deleteLater();
    pStaticIpWindow = nullptr;
}

void KolvexConfigurator::Traffic_Triggered()
{
    if (!m_trafficWindow)
        m_trafficWindow = new TrafficWindow(m_traffic, this);
    m_trafficWindow->show();
    m_trafficWindow->raise();
    m_trafficWindow->activateWindow();
}
