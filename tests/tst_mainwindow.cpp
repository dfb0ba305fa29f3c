#include "kolvexconfigurator.h"
#include "modalanswerer.h"
#include "scriptedpeer.h"
#include "staticipconfig.h"
#include "testsettings.h"
#include "transparentconfig.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>

namespace {

QAction* action(QWidget& w, const char* name)
{
    return w.findChild<QAction*>(name);
}

template <typename T = QWidget>
T* control(QWidget& w, const char* name)
{
    return w.findChild<T*>(name);
}

QString status(KolvexConfigurator& w)
{
    return w.statusBar()->currentMessage();
}

TransparentConfig* form(KolvexConfigurator& w)
{
    return w.findChild<TransparentConfig*>();
}

// Connects the TCP configuration route through the panel and lets the peer
// answer the first read request, which establishes the route.
void connectTcp(KolvexConfigurator& w, ScriptedPeer& peer)
{
    control<QLineEdit>(w, "lineEdit_ServerIp")->setText("127.0.0.1");
    control<QLineEdit>(w, "lineEdit_ServerPort")->setText(QString::number(peer.port()));
    control<QPushButton>(w, "pushButton_TcpConnect")->click();
}

void connectTunnel(KolvexConfigurator& w, ScriptedPeer& peer, const char* portField,
                   const char* button)
{
    control<QLineEdit>(w, "lineEdit_TcpServerIp")->setText("127.0.0.1");
    control<QLineEdit>(w, portField)->setText(QString::number(peer.port()));
    control<QPushButton>(w, button)->click();
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { isolateSettings(); }
    void initialState_data();
    void initialState();
    void kindSwitchMovesIcon();
    void frameWithoutRoute();
    void tcpRouteAndDeviceCommands_data();
    void tcpRouteAndDeviceCommands();
    void tcpDisconnectByPeer();
    void refusedTcpConnection();
    void tunnelRouteAndAbort_data();
    void tunnelRouteAndAbort();
    void tunnelPollsThenWarns();
    void tunnelRefusedShowsWarning();
    void staticIpWindowOnce();
    void staticIpWithoutRouteIsRefused();
    void destroyWithRouteUp();
};

void TestMainWindow::initialState_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<bool>("ethIcon");
    QTest::addColumn<bool>("gsmIcon");
    QTest::addColumn<bool>("ethernetGroup");
    QTest::addColumn<bool>("tunnelGroup");
    QTest::newRow("Ethernet") << 1 << true << false << true << false;
    QTest::newRow("GSM") << 2 << false << true << false << true;
}

void TestMainWindow::initialState()
{
    QFETCH(int, choice);
    QFETCH(bool, ethIcon);
    QFETCH(bool, gsmIcon);
    QFETCH(bool, ethernetGroup);
    QFETCH(bool, tunnelGroup);
    KolvexConfigurator w(nullptr, choice);
    QCOMPARE(w.windowTitle(), QString("Quorvane v2.01"));
    QCOMPARE(w.minimumSize(), QSize(585, 940));
    QCOMPARE(w.maximumSize(), QSize(585, 940));
    QCOMPARE(w.connectionStatus(), CommSettings::Max);
    QVERIFY(!action(w, "actionRESTART_DEVICE")->isEnabled());
    QVERIFY(!action(w, "actionGET_INFO")->isEnabled());
    QVERIFY(!action(w, "actionPING")->isEnabled());
    QVERIFY(action(w, "actionEthernet_Modem")->isEnabled());
    QVERIFY(action(w, "actionGSM_Modem")->isEnabled());
    QCOMPARE(!action(w, "actionEthernet_Modem")->icon().isNull(), ethIcon);
    QCOMPARE(!action(w, "actionGSM_Modem")->icon().isNull(), gsmIcon);
    QCOMPARE(control(w, "pushButton_TcpConnect")->isEnabled(), ethernetGroup);
    QCOMPARE(control(w, "pushButton_UsbConnect")->isEnabled(), ethernetGroup);
    QCOMPARE(control(w, "pushButton_485Connect")->isEnabled(), tunnelGroup);
    QCOMPARE(control(w, "pushButton_232Connect")->isEnabled(), tunnelGroup);
    QVERIFY(!form(w)->isEnabled());
    QCOMPARE(w.statusBar()->styleSheet(), QString("background-color: rgb(199, 255, 253);"));
}

void TestMainWindow::kindSwitchMovesIcon()
{
    KolvexConfigurator w(nullptr, 0);
    QVERIFY(action(w, "actionEthernet_Modem")->icon().isNull());
    QVERIFY(action(w, "actionGSM_Modem")->icon().isNull());
    action(w, "actionGSM_Modem")->trigger();
    QVERIFY(action(w, "actionEthernet_Modem")->icon().isNull());
    QVERIFY(!action(w, "actionGSM_Modem")->icon().isNull());
    QVERIFY(control(w, "pushButton_485Connect")->isEnabled());
    QVERIFY(!control(w, "pushButton_TcpConnect")->isEnabled());
    action(w, "actionEthernet_Modem")->trigger();
    action(w, "actionEthernet_Modem")->trigger();
    QVERIFY(!action(w, "actionEthernet_Modem")->icon().isNull());
    QVERIFY(action(w, "actionGSM_Modem")->icon().isNull());
    QVERIFY(control(w, "pushButton_TcpConnect")->isEnabled());
}

void TestMainWindow::frameWithoutRoute()
{
    KolvexConfigurator w(nullptr, 1);
    w.Transmit_Callback("AT+READALL\r\n");
    QCOMPARE(status(w), QString("Önce bağlantı sağlayın !! "));
    // With no route, restart goes to the closed serial port; ping nowhere.
    w.SetStatusBarText("x", 0);
    w.Ping_Triggered();
    QCOMPARE(status(w), QString("x"));
    w.RestartDevice_Triggered();
    QCOMPARE(status(w), QString("Cannot write via USB"));
}

void TestMainWindow::tcpRouteAndDeviceCommands_data()
{
    QTest::addColumn<QString>("actionName");
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("GET INFO") << "actionGET_INFO" << QByteArray("AT+DEVINFO\r\n");
    QTest::newRow("PING") << "actionPING" << QByteArray("AT+PING\r\n");
    QTest::newRow("RESTART DEVICE") << "actionRESTART_DEVICE" << QByteArray("AT+RESTART\r\n");
}

void TestMainWindow::tcpRouteAndDeviceCommands()
{
    QFETCH(QString, actionName);
    QFETCH(QByteArray, frame);
    ScriptedPeer peer;
    peer.reply = [](const QByteArray& request) {
        return request == "AT+READALL\r\n" ? QByteArray("+PING\r\n") : QByteArray();
    };
    KolvexConfigurator w(nullptr, 1);
    connectTcp(w, peer);
    QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::TCP, 5000);
    QCOMPARE(peer.requests.value(0), QByteArray("AT+READALL\r\n"));
    QVERIFY(form(w)->isEnabled());
    QCOMPARE(form(w)->connectionType(), TransparentConfig::eETH);
    QVERIFY(action(w, "actionPING")->isEnabled());
    QVERIFY(!action(w, "actionEthernet_Modem")->isEnabled());
    QCOMPARE(control<QLabel>(w, "label_TcpSettings")->styleSheet(),
             QString("background-color:green"));

    action(w, qPrintable(actionName))->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(peer.requests.size(), 2, 5000);
    QCOMPARE(peer.requests.at(1), frame);
}

void TestMainWindow::tcpDisconnectByPeer()
{
    ScriptedPeer peer;
    peer.reply = [](const QByteArray&) { return QByteArray("+OK\r\n"); };
    KolvexConfigurator w(nullptr, 1);
    connectTcp(w, peer);
    QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::TCP, 5000);
    peer.dropClient();
    QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::Max, 5000);
    QCOMPARE(status(w), QString("Disconnected from TCP"));
    QVERIFY(!form(w)->isEnabled());
    QVERIFY(!action(w, "actionGET_INFO")->isEnabled());
    QVERIFY(action(w, "actionGSM_Modem")->isEnabled());
    QCOMPARE(control<QLabel>(w, "label_TcpSettings")->styleSheet(),
             QString("background-color:red"));
    // And the route can be opened again.
    connectTcp(w, peer);
    QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::TCP, 5000);
}

void TestMainWindow::refusedTcpConnection()
{
    ScriptedPeer peer;
    const quint16 port = peer.port();
    peer.close();
    KolvexConfigurator w(nullptr, 1);
    w.OpenTcpCommunication("127.0.0.1", port);
    QTRY_COMPARE_WITH_TIMEOUT(status(w), QString("ConnectionRefusedError"), 5000);
    QCOMPARE(w.connectionStatus(), CommSettings::Max);
}

void TestMainWindow::tunnelRouteAndAbort_data()
{
    QTest::addColumn<bool>("rs485");
    QTest::newRow("RS485 tunnel") << true;
    QTest::newRow("RS232 tunnel") << false;
}

void TestMainWindow::tunnelRouteAndAbort()
{
    QFETCH(bool, rs485);
    ScriptedPeer peer;
    peer.reply = [](const QByteArray& request) {
        return request == "AT+READALL\r\n" ? QByteArray("+PING\r\n") : QByteArray();
    };
    KolvexConfigurator w(nullptr, 2);
    connectTunnel(w, peer, rs485 ? "lineEdit_ServerPort485" : "lineEdit_ServerPort232",
                  rs485 ? "pushButton_485Connect" : "pushButton_232Connect");
    const auto route = rs485 ? CommSettings::TCP485 : CommSettings::TCP232;
    QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), route, 5000);
    QCOMPARE(status(w), QString(rs485 ? "Tcp 485 Port Connected" : "Tcp 232 Port Connected"));
    QVERIFY(action(w, "actionPING")->isEnabled());
    // The poll asks for the configuration; the answer enables the form on
    // this tunnel's section.
    QTRY_VERIFY_WITH_TIMEOUT(form(w)->isEnabled(), 5000);
    QCOMPARE(peer.requests.value(0), QByteArray("AT+READALL\r\n"));
    QCOMPARE(form(w)->connectionType(),
             rs485 ? TransparentConfig::eTCP485 : TransparentConfig::eTCP232);

    // Abort of the other tunnel goes out over this one.
    control<QPushButton>(w, rs485 ? "pushButton_Abort232" : "pushButton_Abort485")->click();
    QTRY_COMPARE_WITH_TIMEOUT(peer.requests.size(), 2, 5000);
    QCOMPARE(peer.requests.at(1),
             QByteArray(rs485 ? "AT+232CLOSE\r\n" : "AT+485CLOSE\r\n"));
    QCOMPARE(status(w), QString(rs485 ? "Tcp 232 Port Closed" : "Tcp 485 Port Closed"));

    // Polling stopped at the answer: no further read requests.
    QTest::qWait(1500);
    QCOMPARE(peer.requests.count("AT+READALL\r\n"), 1);

    peer.dropClient();
    QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::Max, 5000);
    QCOMPARE(status(w),
             QString(rs485 ? "Disconnected from TCP 485 Port" : "Disconnected from TCP 232 Port"));
    QVERIFY(!form(w)->isEnabled());
    QVERIFY(!action(w, "actionPING")->isEnabled());
    QVERIFY(action(w, "actionEthernet_Modem")->isEnabled());
}

void TestMainWindow::tunnelPollsThenWarns()
{
    ScriptedPeer peer; // never answers
    ModalAnswerer boxes;
    KolvexConfigurator w(nullptr, 2);
    w.OpenTcp485Communication("127.0.0.1", peer.port());
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 8000);
    QCOMPARE(boxes.lastTitle(), QString("Uyarı !"));
    QCOMPARE(boxes.lastText(), QString("Cihazdan veri alınamadı !"));
    QCOMPARE(peer.requests.count("AT+READALL\r\n"), 3);
    QTRY_VERIFY(form(w)->isEnabled());
    QVERIFY(control(w, "pushButton_ReadConfiguration")->isEnabled());
    QVERIFY(!control(w, "pushButton_ConfigurationApply")->isEnabled());
    QTest::qWait(1500);
    QCOMPARE(boxes.count(), 1);
}

void TestMainWindow::tunnelRefusedShowsWarning()
{
    ScriptedPeer peer;
    const quint16 port = peer.port();
    peer.close();
    ModalAnswerer boxes;
    KolvexConfigurator w(nullptr, 2);
    control<QLineEdit>(w, "lineEdit_TcpServerIp")->setText("127.0.0.1");
    control<QLineEdit>(w, "lineEdit_ServerPort232")->setText(QString::number(port));
    control<QPushButton>(w, "pushButton_232Connect")->click();
    QVERIFY(!control(w, "pushButton_232Connect")->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 5000);
    QCOMPARE(status(w), QString("ConnectionRefusedError"));
    QCOMPARE(boxes.lastText(), QString("Bağlantı Sağlanamadı. IP ve Port Adresinizi Kontrol Edin."));
    QCOMPARE(w.connectionStatus(), CommSettings::Max);
    QVERIFY(control(w, "pushButton_232Connect")->isEnabled());
}

void TestMainWindow::staticIpWindowOnce()
{
    ScriptedPeer peer;
    peer.reply = [](const QByteArray& request) {
        return request == "AT+READALL\r\n" ? QByteArray("+OK\r\n") : QByteArray();
    };
    KolvexConfigurator w(nullptr, 1);
    connectTcp(w, peer);
    QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::TCP, 5000);
    auto* button = control<QPushButton>(w, "pushButton_StaticIPConfig");
    button->click();
    button->click();
    QVERIFY(w.staticIpWindow());
    QTRY_COMPARE_WITH_TIMEOUT(peer.requests.count("AT+READ_NETWORKCFG\r\n"), 1, 5000);
    QTest::qWait(100);
    QCOMPARE(peer.requests.count("AT+READ_NETWORKCFG\r\n"), 1);
    const QWidgetList tops = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(tops.begin(), tops.end(),
                           [](QWidget* t) { return qobject_cast<StaticIpConfig*>(t) != nullptr; }),
             1);

    w.staticIpWindow()->close();
    QVERIFY(!w.staticIpWindow());
    button->click();
    QVERIFY(w.staticIpWindow());
    QTRY_COMPARE_WITH_TIMEOUT(peer.requests.count("AT+READ_NETWORKCFG\r\n"), 2, 5000);
    w.staticIpWindow()->close();
}

void TestMainWindow::staticIpWithoutRouteIsRefused()
{
    KolvexConfigurator w(nullptr, 1);
    w.OpenStaticIpConfigScreen();
    QVERIFY(!w.staticIpWindow());
    QCOMPARE(status(w), QString("Önce bağlantı sağlayın !! "));
}

void TestMainWindow::destroyWithRouteUp()
{
    ScriptedPeer peer;
    peer.reply = [](const QByteArray&) { return QByteArray("+OK\r\n"); };
    auto* w = new KolvexConfigurator(nullptr, 1);
    connectTcp(*w, peer);
    QTRY_COMPARE_WITH_TIMEOUT(w->connectionStatus(), CommSettings::TCP, 5000);
    w->OpenStaticIpConfigScreen();
    delete w;
    // The peer's hang-up and any due timers must find nothing to touch.
    QTRY_VERIFY_WITH_TIMEOUT(!peer.hasClient(), 5000);
    QTest::qWait(200);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
