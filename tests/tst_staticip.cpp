#include "modalanswerer.h"
#include "testmain.h"
#include "staticipconfig.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// The address fields in the order of the rows on screen, which is not the
// order on the wire (IP, mask, gateway, DNS 1, DNS 2).
const char* const Fields[] = { "lineEdit_IpAddr", "lineEdit_DefaultGateway", "lineEdit_SubnetMask",
    "lineEdit_DNS1_Addr", "lineEdit_DNS2_Addr" };
const QByteArray Mac = "00:1A:2B:3C:4D:5E";
const QByteArray Addresses = "192,168,1,50,255,255,255,0,192,168,1,1,8,8,8,8,8,8,4,4";

class TestStaticIp : public QObject
{
    Q_OBJECT

    static QByteArray block(const char* flag) { return Mac + "," + flag + "," + Addresses; }
    static QLineEdit* field(QWidget& w, const char* name) { return w.findChild<QLineEdit*>(name); }
    static QCheckBox* dhcp(QWidget& w) { return w.findChild<QCheckBox*>("checkBox_Dhcp"); }

private slots:
    void readThenApply_data()
    {
        QTest::addColumn<int>("route");
        QTest::addColumn<QByteArray>("block"); // read after a block with static IP 0 (DHCP)
        QTest::addColumn<int>("edited"); // index of the field given `text`, or -1
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("sent"); // the values after "AT+WRITE_NETWORKCFG="
        QTest::addColumn<QString>("refused"); // the field the warning names
        auto row
            = [](const char* name, int route, int edited, const char* text, const QByteArray& sent,
                  const char* refused = "", const QByteArray& block = TestStaticIp::block("1")) {
                  QTest::newRow(name)
                      << route << block << edited << QString(text) << sent << QString(refused);
              };
        const int usb = CommSettings::USB;
        // Over TCP the settings travel over the address they change: shown only.
        row("over TCP", CommSettings::TCP, -1, "", "");
        row("1 is static", CommSettings::TCP485, -1, "", "1," + Addresses);
        // The modem reports "static IP enabled"; the box shows DHCP, the opposite.
        row("0 is DHCP", usb, -1, "", "0," + Addresses, "", block("0"));
        row("7 is static", usb, -1, "", "1," + Addresses, "", block("7"));
        row("21 values dropped", usb, -1, "", "0," + Addresses, "",
            block("1").left(block("1").lastIndexOf(',')));
        row("23 values dropped", usb, -1, "", "0," + Addresses, "", block("1") + ",9");
        row("IP", usb, 0, "10.0.0.1", "1,10,0,0,1,255,255,255,0,192,168,1,1,8,8,8,8,8,8,4,4");
        row("gateway", usb, 1, "0.0.0.0", "1,192,168,1,50,255,255,255,0,0,0,0,0,8,8,8,8,8,8,4,4");
        row("256", usb, 0, "192.168.1.256", "", "IP Address");
        row("three parts", usb, 1, "192.168.1", "", "Default Gateway");
        row("letters", usb, 2, "a.b.c.d", "", "Subnet Mask");
        row("empty", usb, 3, "", "", "DNS-1 Address");
        row("five parts", usb, 4, "8.8.4.4.4", "", "DNS-2 Address");
    }

    // Nothing leaves while a field is no address: it would shift every value
    // after it in the modem's list. Sent, the window closes.
    void readThenApply()
    {
        QFETCH(int, route);
        QFETCH(QByteArray, block);
        QFETCH(int, edited);
        QFETCH(QString, text);
        QFETCH(QByteArray, sent);
        QFETCH(QString, refused);
        StaticIpConfig w { CommSettings::eRoute_t(route) };
        w.show();
        QVERIFY(w.ReadNetworkCfg(TestStaticIp::block("0")));
        QCOMPARE(w.ReadNetworkCfg(block), block.count(',') == 21);
        QCOMPARE(field(w, "lineEdit_MacAddr")->text(), QString(Mac));
        QCOMPARE(field(w, "lineEdit_DefaultGateway")->text(), QString("192.168.1.1"));
        const bool dhcpOn = sent.startsWith("0,");
        QCOMPARE(dhcp(w)->isChecked(), dhcpOn);
        QCOMPARE(dhcp(w)->isEnabled(), route != CommSettings::TCP);
        for (const char* name : Fields) {
            QCOMPARE(field(w, name)->isEnabled(), !dhcpOn);
            QCOMPARE(field(w, name)->isReadOnly(), route == CommSettings::TCP);
        }
        if (edited >= 0)
            field(w, Fields[edited])->setText(text);
        QSignalSpy written(&w, &StaticIpConfig::WriteData);
        ModalAnswerer boxes;
        w.findChild<QPushButton*>("pushButton_Read")->click();
        w.findChild<QPushButton*>("pushButton_Apply")->click();
        QCOMPARE(written.takeFirst().value(0).toByteArray(), QByteArray("AT+READ_NETWORKCFG\r\n"));
        QCOMPARE(written.value(0).value(0).toByteArray(),
            sent.isEmpty() ? QByteArray() : "AT+WRITE_NETWORKCFG=" + sent + "\r\n");
        QCOMPARE(w.isVisible(), sent.isEmpty());
        QCOMPARE(boxes.count(), refused.isEmpty() ? 0 : 1);
        QVERIFY(refused.isEmpty()
            || (boxes.lastTitle() == "Uyarı !" && boxes.lastText().contains(refused)));
    }
};

QUORVANE_TEST_MAIN(TestStaticIp)
#include "tst_staticip.moc"
