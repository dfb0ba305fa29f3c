// The small windows: the modem kind selection and the network settings.
#include "testmain.h"

// The address fields in the order of the rows on screen, which is not the
// order on the wire (IP, mask, gateway, DNS 1, DNS 2).
const char* const Fields[] = { "lineEdit_IpAddr", "lineEdit_DefaultGateway", "lineEdit_SubnetMask",
    "lineEdit_DNS1_Addr", "lineEdit_DNS2_Addr" };
const QByteArray Addresses = "192,168,1,50,255,255,255,0,192,168,1,1,8,8,8,8,8,8,4,4";
QByteArray block(const char* flag) { return "00:1A:2B:3C:4D:5E," + QByteArray(flag) + "," + Addresses; }

class TestWindows : public QObject
{
    Q_OBJECT

private slots:
    void chooseDevice_data()
    {
        QTest::addColumn<QList<int>>("indexes");
        QTest::newRow("nothing chosen") << QList<int> {};
        QTest::newRow("ethernet") << QList<int> { 1 };
        QTest::newRow("4g") << QList<int> { 2 };
        QTest::newRow("back to placeholder") << QList<int> { 2, 0 };
    }

    // "Devam Et" (or Enter) waits for a kind, then opens the main window for it: the
    // chosen kind shows as the apply icon on its "Device Select" action.
    // Without one, the user can only cancel, which ends the program.
    void chooseDevice()
    {
        QFETCH(QList<int>, indexes);
        DeviceChoose w;
        w.show();
        auto* combo = control<QComboBox>(w, "comboBox_ChooseDevice");
        QCOMPARE(QString::number(combo->count()) + combo->itemText(0) + combo->itemText(1) + combo->itemText(2),
            "3-Seçiniz-Ethernet Modem4G Modem");
        QTest::keyClick(combo, Qt::Key_Return); // nothing to continue with yet
        QVERIFY(w.isVisible() && !w.kolvexconfigurator);
        for (int i : indexes)
            combo->setCurrentIndex(i);
        const int kind = combo->currentIndex();
        QCOMPARE(control<QPushButton>(w, "pushButton_Login")->isEnabled(), kind > 0);
        if (kind == 0) {
            QTimer::singleShot(0, [&] { control<QPushButton>(w, "pushButton_Cancel")->click(); });
            QCOMPARE(qApp->exec(), 0);
            QVERIFY(!w.kolvexconfigurator);
            return;
        }
        QTest::keyClick(combo, Qt::Key_Enter); // as "Devam Et"
        QVERIFY(!w.isVisible());
        QScopedPointer<KolvexConfigurator> main(w.kolvexconfigurator);
        QVERIFY(main && main->isVisible());
        QCOMPARE(main->windowTitle(), QString("Quorvane v2.01"));
        QCOMPARE(menus(*main).right(2), kind == 1 ? "10" : "01");
    }

    void networkSettings_data()
    {
        // block: read after a block with static IP 0 (DHCP)
        // edit: "field index:text"
        // outcome: values sent, or the field the warning names
        columns<int, QByteArray, QString, QString>({ "route", "block", "edit", "outcome" });
        const auto row = [](const char* name, int route, const char* edit, const QString& outcome,
                             const QByteArray& block = ::block("1")) {
            QTest::newRow(name) << route << block << QString(edit) << outcome;
        };
        const int usb = CommSettings::USB;
        const QString addresses = Addresses;
        // Over TCP the settings travel over the address they change: shown only.
        row("over TCP", CommSettings::TCP, "", "");
        row("1 is static", CommSettings::TCP485, "", "1," + addresses);
        // The modem reports "static IP enabled"; the box shows DHCP, the opposite.
        row("0 is DHCP", usb, "", "0," + addresses, block("0"));
        row("7 is static", usb, "", "1," + addresses, block("7"));
        row("IP", usb, "0:10.0.0.1", "1,10,0,0,1,255,255,255,0,192,168,1,1,8,8,8,8,8,8,4,4");
        row("gateway", usb, "1:0.0.0.0", "1,192,168,1,50,255,255,255,0,0,0,0,0,8,8,8,8,8,8,4,4");
        row("256", usb, "0:192.168.1.256", "IP Address");
        row("three parts", usb, "1:192.168.1", "Default Gateway");
        row("letters", usb, "2:a.b.c.d", "Subnet Mask");
        row("sign", usb, "2:255.255.+25.0", "Subnet Mask");
        row("empty part", usb, "3:8..8.8", "DNS-1 Address");
        row("five parts", usb, "4:8.8.4.4.4", "DNS-2 Address");
        row("four digits", usb, "4:8.8.4.0004", "DNS-2 Address");
        // Greyed out under DHCP, yet carried by the frame: the warning says how to reach it.
        row("under DHCP", usb, "0:1.2.3.256", "IP Address.\nHer adres", block("0"));
    }

    // Nothing leaves while a field is no address: it would shift every value
    // after it in the modem's list; a warning names the field. Sent, the window
    // closes and says so.
    void networkSettings()
    {
        const auto [route, block, edit, outcome] = fetch<int, QByteArray, QString, QString>("route", "block", "edit", "outcome");
        StaticIpConfig w { CommSettings::eRoute_t(route) };
        w.show();
        QVERIFY(w.ReadNetworkCfg(::block("0")));
        QVERIFY(w.ReadNetworkCfg(block));
        QCOMPARE(control<QLineEdit>(w, "lineEdit_MacAddr")->text(), QString("00:1A:2B:3C:4D:5E"));
        QCOMPARE(control<QLineEdit>(w, "lineEdit_DefaultGateway")->text(), QString("192.168.1.1"));
        auto* dhcp = control<QCheckBox>(w, "checkBox_Dhcp");
        QCOMPARE(dhcp->isChecked(), block.split(',').value(1) == "0");
        QCOMPARE(dhcp->isEnabled(), route != CommSettings::TCP);
        for (const char* name : Fields) {
            QCOMPARE(control<QLineEdit>(w, name)->isEnabled(), !dhcp->isChecked());
            QCOMPARE(control<QLineEdit>(w, name)->isReadOnly(), route == CommSettings::TCP);
        }
        auto* edited
            = edit.isEmpty() ? nullptr : control<QLineEdit>(w, Fields[edit.left(1).toInt()]);
        if (edited)
            edited->setText(edit.mid(2));
        QSignalSpy written(&w, &StaticIpConfig::WriteData);
        QSignalSpy closed(&w, &StaticIpConfig::Close_StaticIpConfigWindow);
        ModalAnswerer boxes;
        control<QPushButton>(w, "pushButton_Read")->click();
        control<QPushButton>(w, "pushButton_Apply")->click();
        const bool sent = outcome.contains(',');
        QCOMPARE(written.takeFirst().value(0).toByteArray(), QByteArray("AT+READ_NETWORKCFG\r\n"));
        QCOMPARE(written.value(0).value(0).toString(),
            sent ? "AT+WRITE_NETWORKCFG=" + outcome + "\r\n" : QString());
        QCOMPARE(w.isVisible(), !sent);
        QCOMPARE(closed.count(), sent ? 1 : 0);
        if (edited) { // a refused field is marked until the next read
            QCOMPARE(edited->styleSheet().isEmpty(), sent);
            QVERIFY(w.ReadNetworkCfg(block) && edited->styleSheet().isEmpty());
        }
        QCOMPARE(boxes.count(), sent || outcome.isEmpty() ? 0 : 1);
        QVERIFY(!boxes.count() || (boxes.lastTitle() == "Uyarı !" && boxes.lastText().contains(outcome)
                                      && boxes.lastText().endsWith("önce DHCP işaretini kaldırın.") == dhcp->isChecked()));
    }
};

QUORVANE_TEST_MAIN(TestWindows)
#include "tst_windows.moc"
