// Both modem kinds end to end against the simulator: on every route the
// form reads, writes in one frame and reads back; then the device commands
// and the network settings.
#include "simrig.h"
#include "testmain.h"

class TestE2e : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { qDeleteAll(topLevels<DevInfo>()); }

    void routes_data()
    {
        // up: status text, lamp, device command menus
        columns<QString, QString, QString>({ "route", "up", "down" });
        QTest::newRow("TCP") << "Tcp" << "Tcp Connected|label_TcpSettings|11100" << "Disconnected from TCP";
        QTest::newRow("USB") << "Usb" << "Connected |label_USB_Settings|11000" << "Disconnected from USB";
        for (const QString t : { "485", "232" })
            QTest::addRow("RS%s tunnel", qPrintable(t)) << t << "Tcp " + t + " Port Connected|label_TCP2Settings|11100"
                                                        << "Disconnected from TCP " + t + " Port";
    }

    void routes()
    {
        const auto [route, up, down] = fetch<QString, QString, QString>("route", "up", "down");
        const bool gsm = route.startsWith('2') || route.startsWith('4');
        SimRig rig;
        QVERIFY(rig.start(gsm ? "gsm" : "eth"));
        KolvexConfigurator& w = *rig.w;
        TransparentConfig* form = rig.form();
        rig.connectRoute(route);
        // The first answer (a tunnel's read poll) fills the form.
        QTRY_COMPARE_WITH_TIMEOUT(form->paramsAll().size(), gsm ? 30 : 23, 5000);
        const QStringList upSigns = up.split('|');
        QVERIFY2(rig.logged(upSigns[0]), qPrintable(rig.log.join('|')));
        QCOMPARE(control(w, qPrintable(upSigns[1]))->styleSheet(), QString("background-color:green"));
        QCOMPARE(menus(w).left(5), upSigns[2]);
        QVERIFY(form->isEnabled());
        QCOMPARE(int(form->connectionType()), QStringList({ "Tcp", "Usb", "485", "232" }).indexOf(route));

        // Unchanged values go out without a question.
        auto* apply = control<QPushButton>(w, "pushButton_ConfigurationApply");
        apply->click();
        QTRY_VERIFY_WITH_TIMEOUT(rig.logged("Successfully written"), 5000);
        QCOMPARE(rig.boxes.count(), 0);

        const QString line = route == "232" ? "232" : "485";
        auto* timeout = control<QSpinBox>(w, "spinBox_ModbusTimeout_" + line);
        auto* baud = control<QComboBox>(w, "comboBox_Baud_" + line);
        auto* apn = control<QLineEdit>(w, "lineEdit_APN");
        const int newTimeout = timeout->value() == 2500 ? 3500 : 2500, newBaud = baud->currentIndex() == 7 ? 6 : 7;
        timeout->setValue(newTimeout);
        baud->setCurrentIndex(newBaud);
        if (gsm)
            apn->setText("m2m.example");
        w.SetStatusBarText(QString(), 0); // the same text again would not show as a change
        rig.log.clear();
        apply->click();
        QCOMPARE(rig.boxes.lastTitle(), QString("Dikkat !"));
        QTRY_VERIFY_WITH_TIMEOUT(rig.logged("Successfully written"), 5000);
        QFile journal(rig.sim.journal);
        QVERIFY(journal.open(QIODevice::ReadOnly) && journal.readAll().trimmed().split('\n').last().startsWith("OK"));

        // Disturb the form, then read the modem again: the written values are back.
        timeout->setValue(100);
        baud->setCurrentIndex(0);
        apn->setText(QString());
        control<QPushButton>(w, "pushButton_ReadConfiguration")->click();
        QTRY_COMPARE_WITH_TIMEOUT(timeout->value(), newTimeout, 5000);
        QCOMPARE(baud->currentIndex(), newBaud);
        QCOMPARE(apn->text(), gsm ? QString("m2m.example") : QString());
        if (gsm) { // retry count 2 shows the command interval in seconds, the ping interval in minutes
            QCOMPARE(control<QSpinBox>(w, "spinBox_IntervalTime_" + line)->value(), 5);
            QCOMPARE(control<QSpinBox>(w, "spinBox_" + line + "_Ping_Interval")->value(), 5);
            // The other tunnel is closed over this one, which stays.
            const QString other = line == "485" ? "232" : "485";
            control<QPushButton>(w, "pushButton_Abort" + other)->click();
            QTRY_VERIFY_WITH_TIMEOUT(rig.logged(other + " Closed"), 5000);
            QVERIFY(rig.logged("Tcp " + other + " Port Closed"));
            QCOMPARE(form->connectionType(), line == "485" ? AtProtocol::eTCP485 : AtProtocol::eTCP232);
        }

        // Leave the route the way the user would.
        control<QPushButton>(w, "pushButton_" + route + "Connect")->click();
        QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::Max, 5000);
        QVERIFY(rig.logged(down));
        QCOMPARE(control(w, qPrintable(upSigns[1]))->styleSheet(), QString("background-color:red"));
        QCOMPARE(menus(w).left(5), QString("00011"));
        QVERIFY(!form->isEnabled());
    }

    // A file every value of which differs from the modem's: loaded, applied,
    // read back and saved again, the modem holds it and the file is the same.
    void configurationFile()
    {
        SimRig rig;
        QVERIFY(rig.start("eth"));
        rig.connectRoute("Tcp");
        QTRY_COMPARE_WITH_TIMEOUT(rig.form()->paramsAll().size(), 23, 5000);
        QVERIFY(control<QAction>(*rig.w, "actionLoad_Configuration")->isEnabled());
        QTemporaryDir dir;
        QFile wrong(dir.filePath("4g.json"));
        QVERIFY(QFile::copy(QUORVANE_EXAMPLES "/gsm.json", wrong.fileName()));
        QVERIFY(!rig.w->loadConfigurationFile(wrong.fileName())); // refused whole, in a box
        QVERIFY(rig.boxes.lastText().startsWith("4g.json: kind: the file is for a 4G modem"));
        QVERIFY(rig.w->loadConfigurationFile(QUORVANE_TESTDATA "/ethernet-every-value-changed.json"));
        QVERIFY(rig.logged("Loaded ethernet-every-value-changed.json: 23 of its values differ from the modem's"));
        control<QPushButton>(*rig.w, "pushButton_ConfigurationApply")->click();
        QTRY_VERIFY_WITH_TIMEOUT(rig.logged("Successfully written"), 5000);
        QCOMPARE(rig.boxes.lastTitle(), QString("Dikkat !"));
        const QStringList written = rig.form()->writeAllValues();
        control<QPushButton>(*rig.w, "pushButton_ReadConfiguration")->click();
        QTRY_COMPARE_WITH_TIMEOUT(rig.form()->paramsAll(), written, 5000);
        QVERIFY(rig.w->saveConfigurationFile(dir.filePath("saved.json")));
        QFile saved(dir.filePath("saved.json")), example(QUORVANE_TESTDATA "/ethernet-every-value-changed.json");
        QVERIFY(saved.open(QIODevice::ReadOnly) && example.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), example.readAll());
    }

    void deviceCommands_data()
    {
        QTest::addColumn<QString>("route");
        QTest::newRow("TCP") << "Tcp";
        QTest::newRow("USB") << "Usb";
    }

    // The device commands on both routes of the Ethernet modem. The network
    // settings are written over USB and read back; over TCP, which they would
    // move, they are shown only.
    void deviceCommands()
    {
        QFETCH(QString, route);
        const bool usb = route == "Usb";
        SimRig rig;
        QVERIFY(rig.start("eth"));
        KolvexConfigurator& w = *rig.w;
        if (usb) { // a port unplugged since the list was made fails; the command-line device is not its stand-in
            auto* ports = control<QComboBox>(w, "comboBox_COMPorts");
            ports->insertItem(0, "ttyGONE0(unplugged)");
            ports->setCurrentIndex(0);
            control<QPushButton>(w, "pushButton_UsbConnect")->click();
            QTRY_VERIFY_WITH_TIMEOUT(rig.logged("DeviceNotFoundError") && rig.boxes.lastTitle() == "Critical Error", 5000);
            QCOMPARE(w.connectionStatus(), CommSettings::Max);
        }
        rig.connectRoute(route);
        QTRY_COMPARE_WITH_TIMEOUT(rig.form()->paramsAll().size(), 23, 5000);
        w.findChild<QAction*>("actionGET_INFO")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(topLevels<DevInfo>().size(), 1, 5000);
        QCOMPARE(control<QLineEdit>(*topLevels<DevInfo>().first(), "lineEdit_SerialNum")->text(), QString("QV-E24-000417"));
        w.findChild<QAction*>("actionPING")->trigger(); // offered over TCP only
        QTRY_VERIFY_WITH_TIMEOUT(rig.logged("Ping -> OK") != usb, 5000);
        control<QPushButton>(w, "pushButton_GetIpAddr")->click();
        QTRY_COMPARE_WITH_TIMEOUT(control<QLineEdit>(w, "lineEdit_CurrentIpAddr")->text(), QString("192.168.0.20"), 5000);

        const QStringList fields = { "lineEdit_IpAddr=10.1.2.3", "lineEdit_SubnetMask=255.0.0.0",
            "lineEdit_DefaultGateway=10.0.0.1", "checkBox_Dhcp=false" };
        for (bool write : { usb, false }) {
            control<QPushButton>(w, "pushButton_StaticIPConfig")->click();
            StaticIpConfig* window = w.staticIpWindow();
            QTRY_VERIFY_WITH_TIMEOUT(!control<QLineEdit>(*window, "lineEdit_MacAddr")->text().isEmpty(), 5000);
            QCOMPARE(control(*window, "pushButton_Apply")->isEnabled(), usb);
            QCOMPARE(control<QLineEdit>(*window, "lineEdit_IpAddr")->isReadOnly(), !usb);
            for (const QString& f : fields) {
                QObject* c = control(*window, f.section('=', 0, 0));
                const char* property = qobject_cast<QCheckBox*>(c) ? "checked" : "text";
                if (write)
                    c->setProperty(property, f.section('=', 1));
                QVERIFY(!usb || c->property(property).toString() == f.section('=', 1));
            }
            write ? control<QPushButton>(*window, "pushButton_Apply")->click() : void(window->close());
            QTRY_VERIFY_WITH_TIMEOUT(!w.staticIpWindow() && rig.logged("Successfully written") == usb, 5000);
        }
        if (usb)
            return;
        w.findChild<QAction*>("actionRESTART_DEVICE")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::Max, 5000);
        QVERIFY(rig.logged("Device Restarted!"));
        QCOMPARE(status(w), QString("Disconnected from TCP"));
        rig.connectRoute("Tcp");
        QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::TCP, 5000);
    }
};

QUORVANE_TEST_MAIN(TestE2e)
#include "tst_e2e.moc"
