// The small windows: the modem kind selection, the device information dialog
// and the network settings.
#include "devicechoose.h"
#include "devinfo.h"
#include "kolvexconfigurator.h"
#include "modalanswerer.h"
#include "staticipconfig.h"
#include "testmain.h"
#include "uitest.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>

// The address fields in the order of the rows on screen, which is not the
// order on the wire (IP, mask, gateway, DNS 1, DNS 2).
const char* const Fields[] = { "lineEdit_IpAddr", "lineEdit_DefaultGateway", "lineEdit_SubnetMask",
    "lineEdit_DNS1_Addr", "lineEdit_DNS2_Addr" };
const QByteArray Addresses = "192,168,1,50,255,255,255,0,192,168,1,1,8,8,8,8,8,8,4,4";
QByteArray block(const char* flag)
{
    return "00:1A:2B:3C:4D:5E," + QByteArray(flag) + "," + Addresses;
}

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

    // "Devam Et" waits for a kind, then opens the main window for it: the
    // chosen kind shows as the apply icon on its "Device Select" action.
    // Without one, the user can only cancel, which ends the program.
    void chooseDevice()
    {
        QFETCH(QList<int>, indexes);
        DeviceChoose w;
        w.show();
        auto* combo = control<QComboBox>(w, "comboBox_ChooseDevice");
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->itemText(0) + "|" + combo->itemText(1) + "|" + combo->itemText(2),
            "-Seçiniz-|Ethernet Modem|4G Modem");
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
        control<QPushButton>(w, "pushButton_Login")->click();
        QVERIFY(!w.isVisible());
        QScopedPointer<KolvexConfigurator> main(w.kolvexconfigurator);
        QVERIFY(main && main->isVisible());
        QCOMPARE(main->windowTitle(), QString("Quorvane v2.01"));
        QCOMPARE(!control<QAction>(*main, "actionEthernet_Modem")->icon().isNull(), kind == 1);
        QCOMPARE(!control<QAction>(*main, "actionGSM_Modem")->icon().isNull(), kind == 2);
    }

    // Field i shows value i as UTF-8; values past the tenth are ignored and a
    // short list leaves the rest empty. Closed, or hidden by Escape, the
    // dialog tells its owner once.
    void devInfo()
    {
        const char* const names[] = { "SerialNum", "MacAddr", "ProductType", "ProductSubType",
            "VersionMajorApp", "VersionMinorApp", "BoardType", "VersionMajorBoard",
            "VersionMinorBoard", "VersionParameter" };
        for (int count : { 12, 10, 3, 0 }) {
            QList<QByteArray> values;
            for (int i = 0; i < count; ++i)
                values << "ğ" + QByteArray::number(i);
            DevInfo dialog(values);
            for (int i = 0; i < DevInfo::FieldCount; ++i)
                QCOMPARE(control<QLineEdit>(dialog, QByteArray("lineEdit_") + names[i])->text(),
                    i < count ? QString("ğ%1").arg(i) : QString());
            dialog.show();
            QSignalSpy closed(&dialog, &DevInfo::Delete_DevInfo_Window);
            count % 2 ? QTest::keyClick(&dialog, Qt::Key_Escape) : void(dialog.close());
            QVERIFY(!dialog.isVisible());
            QCOMPARE(closed.count(), 1);
        }
    }

    void networkSettings_data()
    {
        QTest::addColumn<int>("route");
        QTest::addColumn<QByteArray>("block"); // read after a block with static IP 0 (DHCP)
        QTest::addColumn<QString>("edit"); // "field index:text"
        QTest::addColumn<QString>("outcome"); // values sent, or the field the warning names
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
        row("21 values dropped", usb, "", "0," + addresses, "1," + Addresses);
        row("23 values dropped", usb, "", "0," + addresses, block("1") + ",9");
        row("IP", usb, "0:10.0.0.1", "1,10,0,0,1,255,255,255,0,192,168,1,1,8,8,8,8,8,8,4,4");
        row("gateway", usb, "1:0.0.0.0", "1,192,168,1,50,255,255,255,0,0,0,0,0,8,8,8,8,8,8,4,4");
        row("256", usb, "0:192.168.1.256", "IP Address");
        row("three parts", usb, "1:192.168.1", "Default Gateway");
        row("letters", usb, "2:a.b.c.d", "Subnet Mask");
        row("sign", usb, "2:255.255.+25.0", "Subnet Mask");
        row("empty part", usb, "3:8..8.8", "DNS-1 Address");
        row("five parts", usb, "4:8.8.4.4.4", "DNS-2 Address");
        row("four digits", usb, "4:8.8.4.0004", "DNS-2 Address");
    }

    // Nothing leaves while a field is no address: it would shift every value
    // after it in the modem's list; a warning names the field. Sent, the window
    // closes and says so.
    void networkSettings()
    {
        QFETCH(int, route);
        QFETCH(QByteArray, block);
        QFETCH(QString, edit);
        QFETCH(QString, outcome);
        StaticIpConfig w { CommSettings::eRoute_t(route) };
        w.show();
        QVERIFY(w.ReadNetworkCfg(::block("0")));
        QCOMPARE(w.ReadNetworkCfg(block), block.count(',') == 21);
        QCOMPARE(control<QLineEdit>(w, "lineEdit_MacAddr")->text(), QString("00:1A:2B:3C:4D:5E"));
        QCOMPARE(control<QLineEdit>(w, "lineEdit_DefaultGateway")->text(), QString("192.168.1.1"));
        auto* dhcp = control<QCheckBox>(w, "checkBox_Dhcp");
        QCOMPARE(dhcp->isChecked(), outcome.startsWith("0,"));
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
        QVERIFY(!boxes.count()
            || (boxes.lastTitle() == "Uyarı !" && boxes.lastText().contains(outcome)));
    }
};

QUORVANE_TEST_MAIN(TestWindows)
#include "tst_windows.moc"
