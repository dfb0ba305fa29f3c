#ifndef KOLVEXCONFIGURATOR_H
#define KOLVEXCONFIGURATOR_H

#include "commsettings.h"
#include "pendingbuffer.h"
#include "trafficlog.h"
#include "transparentconfig.h"

#include <QAbstractSocket>
#include <QMainWindow>
#include <QSerialPort>
#include <QSerialPortInfo>

namespace Ui {
class KolvexConfigurator;
}
class QTcpSocket;
class QTimer;
class QAction;
class StaticIpConfig;
class TrafficWindow;

// The working window: holds the connection panel above the configuration
// form, owns every port, socket and supervision timer, and alone decides
// over which route a frame leaves.
class KolvexConfigurator : public QMainWindow
{
    Q_OBJECT

public:
    enum DeviceType { eETHModem = 1, eGSMModem = 2, eMax = 3 };

    KolvexConfigurator(QWidget* parent, int DeviceChoice);
    virtual ~KolvexConfigurator();
    void setVisible(bool visible) override;

    CommSettings::eRoute_t connectionStatus() const { return ConnectionStatus; }
    StaticIpConfig* staticIpWindow() const { return pStaticIpWindow; }
    // The menu's file entries once the user has chosen the file.
    bool saveConfigurationFile(const QString& path);
    bool loadConfigurationFile(const QString& path);
    TrafficLog& traffic() { return m_traffic; }
    // The window's size on a screen with `available` room for it (its frame
    // already taken off): as designed where that fits, else the room, with
    // `scrollBar` more width for the content's vertical scroll bar.
    static QSize fittedSize(const QSize& designed, const QSize& available, int scrollBar);

public slots:
    void OpenComPort(const QSerialPortInfo& port);
    void CloseComPort();
    void OpenTcpCommunication(const QString& Ip, int Port);
    void CloseTcpCommunication();
    void OpenTcp232Communication(const QString& Ip, int Port);
    void OpenTcp485Communication(const QString& Ip, int Port);
    void CloseTcp232Communication();
    void CloseTcp485Communication();
    void AbortTcp232Communication();
    void AbortTcp485Communication();
    void SetCurrentIpAddr(const QByteArray& qbaBuffer);
    void OpenStaticIpConfigScreen();
    void SetStatusBarText(const QString& tstErrMsg, int Timeout);
    void Transmit_Callback(const QByteArray& qbaBuffer);

    void TcpConnected();
    void TcpDisconnected();
    void TcpDataReceived();
    void TcpDataTransmitted(qint64 Bytes);
    void TcpError(QAbstractSocket::SocketError err);
    void connectionLost();

    void Tcp232Connected();
    void Tcp232Disconnected();
    void Tcp232DataReceived();
    void Tcp232DataTransmitted(qint64 Bytes);
    void Tcp232Error(QAbstractSocket::SocketError err);
    void Tcp232StateChanged(QAbstractSocket::SocketState SocketState);
    void Tcp485Connected();
    void Tcp485Disconnected();
    void Tcp485DataReceived();
    void Tcp485DataTransmitted(qint64 Bytes);
    void Tcp485Error(QAbstractSocket::SocketError err);
    void Tcp485StateChanged(QAbstractSocket::SocketState SocketState);

    void SerialReceived();
    void SerialErrorHandle(QSerialPort::SerialPortError error);

    void RestartDevice_Triggered();
    void GetInfo_Triggered();
    void Ping_Triggered();
    void EthernetModem_Triggered();
    void GSMModem_Triggered();
    void SaveConfiguration_Triggered();
    void LoadConfiguration_Triggered();
    void Traffic_Triggered();

    void TimerTimeoutUsbState();
    void TimerTimeoutTcpState();
    void TimerTcpReading();
    void TimerServerFull();

    void Close_StaticIpConfigWindow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    // Everything that tells the RS232 tunnel from the RS485 tunnel; the
    // handlers are written once over this.
    struct Tunnel
    {
        CommSettings::eRoute_t route;
        QTcpSocket* socket;
        QTcpSocket* otherSocket;
        bool* connectionSucceed;
        PendingBuffer* pending;
        void (TransparentConfig::*selectSection)(bool const&);
        eTrpCfgCmdGSMTableID_t closeCommand;
        const char* connectedText;
        const char* disconnectedText;
        const char* closeDiagnostic;
        const char* closeText;
    };
    // How each route reports a block that the parser rejected.
    struct ReceiveReport
    {
        const char* text;
        int timeout;
    };

    Tunnel tunnel232();
    Tunnel tunnel485();
    void openTunnel(const Tunnel& t, const QString& Ip, int Port);
    void tunnelConnected(const Tunnel& t);
    void tunnelDisconnected(const Tunnel& t);
    void tunnelDataReceived(const Tunnel& t);
    void tunnelStateChanged(const Tunnel& t, QAbstractSocket::SocketState state);
    void abortTunnel(const Tunnel& t);
    void reportSocketError(QAbstractSocket::SocketError err);

    void wire();
    void openSerial();
    void establishUsbRoute();
    void establishTcpRoute();
    void parseBlock(const QByteArray& block, const ReceiveReport& report);
    void sendDeviceCommand(eTrpCfgCmdTableID_t ethId, eTrpCfgCmdGSMTableID_t gsmId,
                           bool sendWithoutTcpRoute);
    void selectDeviceKind(DeviceType kind);
    void setDeviceCommandsEnabled(bool restartAndInfo, bool ping);
    void setDeviceSelectEnabled(bool enabled);
    void detachLinks();
    void makeContentScrollable();
    void fitToScreen();
    TrafficLog::Route trafficRoute(const QIODevice* device) const;

    void CheckAndSendData(QTcpSocket& rSocket, const QByteArray& rArr);
    void CheckAndSendData(QSerialPort& rSerial, const QByteArray& rArr);

    Ui::KolvexConfigurator* ui;
    CommSettings newCommSetting;
    CommSettings::eRoute_t ConnectionStatus = CommSettings::Max;
    TransparentConfig newTransparentConfig;
    StaticIpConfig* pStaticIpWindow = nullptr;
    QTcpSocket* pTcpSocket = nullptr;
    QTcpSocket* pTcp232Socket = nullptr;
    QTcpSocket* pTcp485Socket = nullptr;
    QSerialPort* pSerial = nullptr;
    QTimer* pTimerTcpState = nullptr;
    QTimer* pTimerTcpReading = nullptr;
    QTimer* pTimerUsbState = nullptr;
    QTimer* pTimerServerFull = nullptr;
    bool TcpConnectionSucceed = true;
    bool Tcp232ConnectionSucceed = false;
    bool Tcp485ConnectionSucceed = false;
    bool UsbConnectionSucceed = true;
    const int CONNECTION_TIMEOUT_MS = 10000;
    const int SERVER_FULL_TIMEOUT_MS = 8000;
    const int SEND_READING_DATA = 500;
    const int MAX_RETRY_COUNT = 3;
    int DataSendRetryCount = 0;
    // Qt's names of the errors, shown as they are; translatable all the same.
    static const char* const SocketErrString[24];
    static const char* const SerialErrString[14];

    // Arrivals wait here until they form whole answer blocks.
    PendingBuffer pendingUsb;
    PendingBuffer pendingTcp;
    PendingBuffer pending232;
    PendingBuffer pending485;

    bool serialErrorBoxOpen = false;

    // Every write and arrival, recorded whether or not its window is open.
    TrafficLog m_traffic;
    TrafficWindow* m_trafficWindow = nullptr;
    QSize m_designedSize;

};

#endif // KOLVEXCONFIGURATOR_H
