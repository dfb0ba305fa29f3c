#include "kolvexconfigurator.h"
#include "testmain.h"
#include "modalanswerer.h"
#include "scriptedpeer.h"
#include "staticipconfig.h"
#include "testsettings.h"
#include "transparentconfig.h"
#include "uitest.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

    static QAction* action(QWidget& w, const char* name) { return w.findChild<QAction*>(name); }
    static QString status(KolvexConfigurator& w) { return w.statusBar()->currentMessage(); }
    static TransparentConfig* form(QWidget& w) { return w.findChild<TransparentConfig*>(); }
    // The "Device Commands" (restart, info, ping) and "Device Select"
    // (Ethernet, GSM) actions: 1 for enabled; then 1 for the apply icon.
    static QString menus(QWidget& w)
    {
        QString s;
        for (const char* a :
            { "RESTART_DEVICE", "GET_INFO", "PING", "Ethernet_Modem", "GSM_Modem" })
            s += action(w, qPrintable(QString("action") + a))->isEnabled() ? '1' : '0';
        for (const char* a : { "Ethernet_Modem", "GSM_Modem" })
            s += action(w, qPrintable(QString("action") + a))->icon().isNull() ? '0' : '1';
        return s.insert(5, ' ');
    }
private slots:
    void initTestCase() { isolateSettings(); }

    // The chosen kind carries the apply icon and decides the panel's routes;
    // no route, no device commands, no form.
    void deviceKind_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("menus");
        QTest::newRow("Ethernet") << 1 << "00011 10";
        QTest::newRow("GSM") << 2 << "00011 01";
        QTest::newRow("none") << 0 << "00011 00";
    }

    void deviceKind()
    {
        QFETCH(int, choice);
        QFETCH(QString, menus);
        KolvexConfigurator w(nullptr, choice);
        QCOMPARE(TestMainWindow::menus(w), menus);
        QCOMPARE(w.connectionStatus(), CommSettings::Max);
        QVERIFY(!form(w)->isEnabled());
        if (choice) {
            QCOMPARE(control(w, "pushButton_TcpConnect")->isEnabled(), choice == 1);
            QCOMPARE(control(w, "pushButton_485Connect")->isEnabled(), choice == 2);
        }
        action(w, "actionGSM_Modem")->trigger();
        QCOMPARE(TestMainWindow::menus(w), QString("00011 01"));
        QVERIFY(control(w, "pushButton_485Connect")->isEnabled());
        QVERIFY(!control(w, "pushButton_TcpConnect")->isEnabled());
        action(w, "actionEthernet_Modem")->trigger();
        action(w, "actionEthernet_Modem")->trigger();
        QCOMPARE(TestMainWindow::menus(w), QString("00011 10"));
        QVERIFY(control(w, "pushButton_TcpConnect")->isEnabled());
    }

    void withoutRoute()
    {
        KolvexConfigurator w(nullptr, 1);
        w.Transmit_Callback("AT+READALL\r\n");
        QCOMPARE(status(w), QString("Önce bağlantı sağlayın !! "));
        w.SetStatusBarText("x", 0);
        w.Ping_Triggered(); // nowhere to go
        QCOMPARE(status(w), QString("x"));
        w.RestartDevice_Triggered(); // to the closed serial port
        QCOMPARE(status(w), QString("Cannot write via USB"));
        w.OpenStaticIpConfigScreen();
        QVERIFY(!w.staticIpWindow());
        QCOMPARE(status(w), QString("Önce bağlantı sağlayın !! "));
    }

    // The TCP route from its first answer to its loss, with what goes out on
    // it meanwhile, and a window destroyed while it stands.
    void tcpRoute()
    {
        ScriptedPeer peer;
        peer.reply = [](const QByteArray& request) {
            return request == "AT+READALL\r\n" ? QByteArray("+PING\r\n")
                : request == "AT+PING\r\n"     ? QByteArray("+ERR=BUSY\r\n")
                                                : QByteArray();
        };
        QScopedPointer<KolvexConfigurator> w(new KolvexConfigurator(nullptr, 1));
        connectTo(*w, peer.port(), "Tcp");
        QTRY_COMPARE_WITH_TIMEOUT(w->connectionStatus(), CommSettings::TCP, 5000);
        QVERIFY(form(*w)->isEnabled());
        QCOMPARE(form(*w)->connectionType(), TransparentConfig::eETH);
        QCOMPARE(menus(*w), QString("11100 10"));
        QCOMPARE(control(*w, "label_TcpSettings")->styleSheet(), QString("background-color:green"));

        // One static IP window however often it is asked for, one read each.
        auto* staticIp = w->findChild<QPushButton*>("pushButton_StaticIPConfig");
        staticIp->click();
        staticIp->click();
        QVERIFY(w->staticIpWindow());
        w->staticIpWindow()->close();
        QVERIFY(!w->staticIpWindow());
        staticIp->click();
        w->staticIpWindow()->close();

        for (const char* a : { "actionGET_INFO", "actionPING", "actionRESTART_DEVICE" })
            action(*w, a)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(peer.requests.size(), 6, 5000);
        QCOMPARE(peer.requests,
            QList<QByteArray>({ "AT+READALL\r\n", "AT+READ_NETWORKCFG\r\n",
                "AT+READ_NETWORKCFG\r\n", "AT+DEVINFO\r\n", "AT+PING\r\n", "AT+RESTART\r\n" }));
        // The modem's refusal keeps its reason on screen.
        QTRY_COMPARE_WITH_TIMEOUT(status(*w), QString("Receive_Callback Error : BUSY"), 1000);

        peer.dropClient();
        QTRY_COMPARE_WITH_TIMEOUT(w->connectionStatus(), CommSettings::Max, 5000);
        QCOMPARE(status(*w), QString("Disconnected from TCP"));
        QVERIFY(!form(*w)->isEnabled());
        QCOMPARE(menus(*w), QString("00011 10"));
        QCOMPARE(control(*w, "label_TcpSettings")->styleSheet(), QString("background-color:red"));

        connectTo(*w, peer.port(), "Tcp");
        QTRY_COMPARE_WITH_TIMEOUT(w->connectionStatus(), CommSettings::TCP, 5000);
        w->OpenStaticIpConfigScreen();
        w.reset();
        // The peer's hang-up and any due timers must find nothing to touch.
        QTRY_VERIFY_WITH_TIMEOUT(!peer.hasClient(), 5000);
        QTest::qWait(200);
    }

    void refused_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("box");
        QTest::newRow("TCP") << "Tcp" << QString();
        QTest::newRow("RS232 tunnel")
            << "232"
            << "Bağlantı Sağlanamadı. IP ve Port Adresinizi Kontrol Edin.";
    }

    // Reported, and the button is usable again.
    void refused()
    {
        QFETCH(QString, route);
        QFETCH(QString, box);
        ScriptedPeer peer;
        const quint16 port = peer.port();
        peer.close();
        ModalAnswerer boxes;
        KolvexConfigurator w(nullptr, route == "Tcp" ? 1 : 2);
        connectTo(w, port, route);
        QTRY_COMPARE_WITH_TIMEOUT(status(w), QString("ConnectionRefusedError"), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(boxes.lastText(), box, 1000);
        QCOMPARE(w.connectionStatus(), CommSettings::Max);
        QVERIFY(control(w, qPrintable("pushButton_" + route + "Connect"))->isEnabled());
    }

    void tunnelRouteAndAbort_data()
    {
        QTest::addColumn<bool>("rs485");
        QTest::newRow("RS485 tunnel") << true;
        QTest::newRow("RS232 tunnel") << false;
    }

    void tunnelRouteAndAbort()
    {
        QFETCH(bool, rs485);
        const QString self = rs485 ? "485" : "232", other = rs485 ? "232" : "485";
        ScriptedPeer peer;
        peer.reply = [](const QByteArray& request) {
            return request == "AT+READALL\r\n" ? QByteArray("+PING\r\n") : QByteArray();
        };
        KolvexConfigurator w(nullptr, 2);
        connectTo(w, peer.port(), self);
        const auto route = rs485 ? CommSettings::TCP485 : CommSettings::TCP232;
        QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), route, 5000);
        QCOMPARE(status(w), "Tcp " + self + " Port Connected");
        QCOMPARE(menus(w), QString("11100 01"));
        // The poll asks for the configuration; the answer enables the form on
        // this tunnel's section and stops the poll.
        QTRY_VERIFY_WITH_TIMEOUT(form(w)->isEnabled(), 5000);
        QCOMPARE(form(w)->connectionType(),
            rs485 ? TransparentConfig::eTCP485 : TransparentConfig::eTCP232);

        // Abort of the other tunnel goes out over this one.
        w.findChild<QPushButton*>(qPrintable("pushButton_Abort" + other))->click();
        QTRY_COMPARE_WITH_TIMEOUT(peer.requests.size(), 2, 5000);
        QCOMPARE(peer.requests.at(1), "AT+" + other.toLatin1() + "CLOSE\r\n");
        QCOMPARE(status(w), "Tcp " + other + " Port Closed");
        QTest::qWait(1500);
        QCOMPARE(peer.requests.count("AT+READALL\r\n"), 1);

        peer.dropClient();
        QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::Max, 5000);
        QCOMPARE(status(w), "Disconnected from TCP " + self + " Port");
        QVERIFY(!form(w)->isEnabled());
        QCOMPARE(menus(w), QString("00011 01"));
    }

    // A tunnel modem that never answers is asked three times, then the user
    // is warned once and may read again, but not write.
    void tunnelPollsThenWarns()
    {
        ScriptedPeer peer;
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
};

QUORVANE_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
