// The main window against a scripted peer, where a test must see exactly
// which requests leave and answer what no simulated modem would.
#include "scriptedpeer.h"
#include "testmain.h"

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    // The chosen kind carries the icon and decides the panel's routes; no
    // route, no device commands, no form.
    void deviceKind_data()
    {
        columns<int, QString>({ "choice", "expected" });
        QTest::newRow("Ethernet") << 1 << "00011 10";
        QTest::newRow("GSM") << 2 << "00011 01";
        QTest::newRow("none") << 0 << "00011 00";
    }

    void deviceKind()
    {
        const auto [choice, expected] = fetch<int, QString>("choice", "expected");
        KolvexConfigurator w(nullptr, choice);
        QCOMPARE(menus(w), expected);
        QCOMPARE(w.connectionStatus(), CommSettings::Max);
        QVERIFY(!w.findChild<TransparentConfig*>()->isEnabled());
        QVERIFY(!choice || control(w, "pushButton_TcpConnect")->isEnabled() == (choice == 1));
        QVERIFY(!choice || control(w, "pushButton_485Connect")->isEnabled() == (choice == 2));
        control<QAction>(w, "actionGSM_Modem")->trigger();
        QCOMPARE(menus(w), QString("00011 01"));
        QVERIFY(control(w, "pushButton_485Connect")->isEnabled() && !control(w, "pushButton_TcpConnect")->isEnabled());
        control<QAction>(w, "actionEthernet_Modem")->trigger();
        control<QAction>(w, "actionEthernet_Modem")->trigger();
        QCOMPARE(menus(w), QString("00011 10"));
        QVERIFY(control(w, "pushButton_TcpConnect")->isEnabled());
        control<QLineEdit>(w, "lineEdit_ServerPort")->setText("70000"); // as a store edited by hand may hold it
        control<QPushButton>(w, "pushButton_TcpConnect")->click();
        QCOMPARE(status(w), QString("Port 70000 is not a port of 1–65534"));

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

    // On a screen too short for it the window takes the room there is, and a
    // little more width for the scroll bar; elsewhere its designed size.
    void fit_data()
    {
        columns<QSize, QSize>({ "available", "fitted" });
        QTest::newRow("1280 x 1024") << QSize(1280, 994) << QSize(585, 940);
        QTest::newRow("just enough") << QSize(585, 940) << QSize(585, 940);
        QTest::newRow("1366 x 768") << QSize(1366, 738) << QSize(600, 738);
        QTest::newRow("a pixel short") << QSize(600, 939) << QSize(600, 939);
        QTest::newRow("short, no room for the bar") << QSize(590, 600) << QSize(590, 600);
        QTest::newRow("narrow") << QSize(500, 1000) << QSize(500, 955);
        QTest::newRow("narrow and short") << QSize(400, 300) << QSize(400, 300);
    }

    void fit()
    {
        const auto [available, fitted] = fetch<QSize, QSize>("available", "fitted");
        KolvexConfigurator w(nullptr, 1);
        QCOMPARE(w.minimumSize(), QSize(585, 940)); // until it is shown
        QCOMPARE(w.maximumSize(), QSize(585, 940));
        QCOMPARE(KolvexConfigurator::fittedSize(w.minimumSize(), available, 15), fitted);
    }

    // What goes out on the TCP route from its first answer, and a window
    // destroyed while the route stands.
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
        QCOMPARE(menus(*w), QString("11100 10"));
        // One static IP window however often it is asked for, one read each time it opens.
        auto* staticIp = w->findChild<QPushButton*>("pushButton_StaticIPConfig");
        staticIp->click();
        staticIp->click();
        w->staticIpWindow()->close();
        QVERIFY(!w->staticIpWindow());
        staticIp->click();
        w->staticIpWindow()->close();
        for (const char* a : { "actionGET_INFO", "actionPING", "actionRESTART_DEVICE" })
            control<QAction>(*w, a)->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(peer.requests.size(), 6, 5000);
        QCOMPARE(peer.requests, QList<QByteArray>({ "AT+READALL\r\n", "AT+READ_NETWORKCFG\r\n",
                                    "AT+READ_NETWORKCFG\r\n", "AT+DEVINFO\r\n", "AT+PING\r\n", "AT+RESTART\r\n" }));
        // The modem's refusal keeps its reason on screen.
        QTRY_COMPARE_WITH_TIMEOUT(status(*w), QString("Receive_Callback Error : BUSY"), 1000);

        w->OpenStaticIpConfigScreen();
        w.reset();
        // The peer's hang-up and any due timers must find nothing to touch.
        QTRY_VERIFY_WITH_TIMEOUT(!peer.hasClient(), 5000);
        QTest::qWait(200);
    }

    void tunnelPoll_data()
    {
        columns<QString, bool>({ "tunnel", "answers" });
        QTest::newRow("RS485, answered") << "485" << true;
        QTest::newRow("RS232, answered") << "232" << true;
        QTest::newRow("RS485, silent") << "485" << false;
    }

    // A tunnel asks for the configuration until the first answer; a modem
    // that never answers is asked three times, then the user is warned once
    // and may read again, but not write. Closing the other tunnel goes out
    // over this one.
    void tunnelPoll()
    {
        const auto [tunnel, answers] = fetch<QString, bool>("tunnel", "answers");
        ScriptedPeer peer;
        if (answers)
            peer.reply = [](const QByteArray& r) { return r == "AT+READALL\r\n" ? QByteArray("+PING\r\n") : QByteArray(); };
        ModalAnswerer boxes;
        KolvexConfigurator w(nullptr, 2);
        connectTo(w, peer.port(), tunnel);
        QTRY_VERIFY_WITH_TIMEOUT(w.findChild<TransparentConfig*>()->isEnabled() && boxes.count() == (answers ? 0 : 1), 8000);
        if (answers) // the answer opens this tunnel's section of the form
            QCOMPARE(w.findChild<TransparentConfig*>()->connectionType(), tunnel == "485" ? AtProtocol::eTCP485 : AtProtocol::eTCP232);
        QCOMPARE(boxes.lastText(), answers ? QString() : QString("Cihazdan veri alınamadı !"));
        QVERIFY(control(w, "pushButton_ReadConfiguration")->isEnabled());
        QCOMPARE(control(w, "pushButton_ConfigurationApply")->isEnabled(), answers);
        const QString other = tunnel == "485" ? "232" : "485";
        control<QPushButton>(w, "pushButton_Abort" + other)->click();
        QTest::qWait(1500);
        QCOMPARE(peer.requests.count("AT+READALL\r\n"), answers ? 1 : 3);
        QCOMPARE(peer.requests.last(), "AT+" + other.toLatin1() + "CLOSE\r\n");
        QCOMPARE(boxes.count(), answers ? 0 : 1);
    }
};

QUORVANE_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
