#ifndef COMMSETTINGS_H
#define COMMSETTINGS_H

#include <QByteArray>
#include <QList>
#include <QSerialPortInfo>
#include <QString>
#include <QVector>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace Ui {
class CommSettings;
}

// The connection panel: picks a route, validates and remembers the typed
// addresses, and asks the main window to open, close or abort a route. It
// never touches a port itself.
class CommSettings : public QWidget
{
    Q_OBJECT

public:
    enum eRoute_t { TCP = 0, USB = 1, TCP232 = 2, TCP485 = 3, Max = 4 };
    enum DeviceType { eETHModem = 1, eGSMModem = 2, eMax = 3 };

    explicit CommSettings(QWidget* parent = nullptr);
    virtual ~CommSettings();

    void SetUiConnectionStatus(eRoute_t eRoute, bool ConnectionState);
    void SetUiSelectedDeviceStatus(int);
    void SetCurrentIp(const QByteArray& tstIpAddr);
    void SetTcpConnectButtonStatus(bool bStatus);
    void SetTcp232ConnectButtonStatus(bool bStatus);
    void SetTcp485ConnectButtonStatus(bool bStatus);

    // A serial device that the system does not list as a port (a
    // pseudo-terminal, say), named by its path on the command line. It is
    // listed after the system's ports; since no port information exists
    // for it, the main window opens it by path when handed an empty one.
    static void setExtraSerialDevice(const QString& path);
    static QString extraSerialDevice() { return s_extraSerialDevice; }
    // Whether the COM PORT entry chosen is the command-line device's own.
    bool extraSerialDeviceChosen() const;

    QString Load(const QString& Key);
    void Save(const QString& Key, const QString& Data);

signals:
    void ConnectComPort(const QSerialPortInfo& port);
    void DisconnectComPort();
    void ConnectTcp(const QString& Ip, int port);
    void DisconnectTcp();
    void ConnectTcp232(const QString& Ip, int port);
    void DisconnectTcp232();
    void ConnectTcp485(const QString& Ip, int port);
    void DisconnectTcp485();
    void AbortTcp232();
    void AbortTcp485();
    void WriteData(const QByteArray& qba);
    void Set232Settings();
    void WriteStatusBar(const QString& text, int timeout);

private slots:
    void on_pushButton_RefreshCOM_clicked();
    void on_pushButton_TcpConnect_clicked();
    void on_pushButton_UsbConnect_clicked();
    void on_pushButton_GetIpAddr_clicked();
    void on_lineEdit_ServerIp_editingFinished();
    void on_lineEdit_ServerPort_editingFinished();
    void on_pushButton_232Connect_clicked();
    void on_pushButton_485Connect_clicked();
    void on_lineEdit_ServerPort232_editingFinished();
    void on_lineEdit_ServerPort485_editingFinished();
    void on_lineEdit_TcpServerIp_editingFinished();
    void on_pushButton_Abort485_clicked();
    void on_pushButton_Abort232_clicked();

private:
    // What tells the RS485 tunnel from the RS232 one; everything else about
    // the two is the same code.
    struct Tunnel
    {
        eRoute_t route;
        QPushButton* connectButton;
        QLineEdit* portField;
        QPushButton* abortButton;
        bool CommSettings::*flag;
        void (CommSettings::*connectRequest)(const QString&, int);
        void (CommSettings::*disconnectRequest)();
        const char* stateText;
    };

    // One row of the route-state table: what a route's new state does to
    // the panel.
    struct StatusRow
    {
        eRoute_t route;
        bool connected;
        QLabel* lamp;
        QPushButton* button;
        bool lookIsText; // the tunnel buttons show their state in text, the others in a picture
        QString look;
        bool CommSettings::*flag;
        QList<QWidget*> disable;
        QList<QWidget*> enable;
    };

    void buildControlSets();
    QVector<StatusRow> tunnelRows(const Tunnel& self, const Tunnel& other) const;
    void pressTunnelButton(const Tunnel& self, const Tunnel* alsoReported = nullptr);
    void finishIpEdit(QLineEdit* field, const QString& key);
    void finishPortEdit(QLineEdit* field, const QString& key);
    bool portToConnect(const QLineEdit* field);
    static QString portName(const QString& entry);

    static QString s_extraSerialDevice;

    Ui::CommSettings* ui;
    bool TcpConnectionStatus = false;
    bool Tcp232ConnectionStatus = false;
    bool Tcp485ConnectionStatus = false;
    bool UsbConnectionStatus = false;

    Tunnel m_tunnel232;
    Tunnel m_tunnel485;
    QList<QWidget*> m_usbSet;
    QList<QWidget*> m_ethernetSet;
    QList<QWidget*> m_ipQuerySet;
    QList<QWidget*> m_tunnelSet;
    QVector<StatusRow> m_statusRows;
};

#endif // COMMSETTINGS_H
