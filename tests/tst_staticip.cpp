#include "modalanswerer.h"
#include "networkcfg.h"
#include "staticipconfig.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

class TestStaticIp : public QObject
{
    Q_OBJECT

private slots:
    void addressRule_data();
    void addressRule();
    void window();
    void fill();
    void dhcpInversion_data();
    void dhcpInversion();
    void wrongCountDropped_data();
    void wrongCountDropped();
    void routeDecidesWriting_data();
    void routeDecidesWriting();
    void readRequest();
    void applyFrame_data();
    void applyFrame();
    void applyRefusesNonAddress_data();
    void applyRefusesNonAddress();
};

namespace {

const QByteArray Block
    = "00:1A:2B:3C:4D:5E,1,192,168,1,50,255,255,255,0,192,168,1,1,8,8,8,8,8,8,4,4";

std::unique_ptr<StaticIpConfig> makeWindow(CommSettings::eRoute_t route = CommSettings::USB)
{
    auto window = std::make_unique<StaticIpConfig>(route);
    window->show();
    return window;
}

QLineEdit* field(QWidget* w, const char* name)
{
    return w->findChild<QLineEdit*>(name);
}

QCheckBox* dhcp(QWidget* w)
{
    return w->findChild<QCheckBox*>("checkBox_Dhcp");
}

QPushButton* button(QWidget* w, const char* name)
{
    return w->findChild<QPushButton*>(name);
}

const char* const AddressFields[] = { "lineEdit_IpAddr", "lineEdit_DefaultGateway",
    "lineEdit_SubnetMask", "lineEdit_DNS1_Addr", "lineEdit_DNS2_Addr" };

} // namespace

void TestStaticIp::addressRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("address") << "192.168.1.50" << true;
    QTest::newRow("zeros") << "0.0.0.0" << true;
    QTest::newRow("top") << "255.255.255.255" << true;
    QTest::newRow("256") << "192.168.1.256" << false;
    QTest::newRow("three parts") << "192.168.1" << false;
    QTest::newRow("five parts") << "1.2.3.4.5" << false;
    QTest::newRow("letters") << "a.b.c.d" << false;
    QTest::newRow("hex") << "0x1.2.3.4" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("empty part") << "1..2.3" << false;
    QTest::newRow("trailing dot") << "1.2.3.4." << false;
    QTest::newRow("blank") << " 1.2.3.4" << false;
    QTest::newRow("sign") << "+1.2.3.4" << false;
    QTest::newRow("comma") << "1,2.3.4" << false;
    QTest::newRow("long part") << "0001.2.3.4" << false;
    QTest::newRow("arabic digits") << QString::fromUtf8("١.2.3.4") << false;
}

void TestStaticIp::addressRule()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(NetworkCfg::isDottedIpv4(text), valid);
}

void TestStaticIp::window()
{
    auto w = makeWindow();
    QCOMPARE(w->windowTitle(), QString("Static IP Configurations"));
    QCOMPARE(w->minimumSize(), QSize(315, 290));
    QCOMPARE(w->maximumSize(), QSize(350, 350));
    QVERIFY(!w->windowIcon().isNull());
    for (const char* name : AddressFields)
        QCOMPARE(field(w.get(), name)->text(), QString("0.0.0.0"));
    QVERIFY(field(w.get(), "lineEdit_MacAddr")->isReadOnly());
    QVERIFY(!dhcp(w.get())->isChecked());
}

void TestStaticIp::fill()
{
    auto w = makeWindow();
    QVERIFY(w->ReadNetworkCfg(Block));
    QCOMPARE(field(w.get(), "lineEdit_MacAddr")->text(), QString("00:1A:2B:3C:4D:5E"));
    QCOMPARE(field(w.get(), "lineEdit_IpAddr")->text(), QString("192.168.1.50"));
    QCOMPARE(field(w.get(), "lineEdit_SubnetMask")->text(), QString("255.255.255.0"));
    QCOMPARE(field(w.get(), "lineEdit_DefaultGateway")->text(), QString("192.168.1.1"));
    QCOMPARE(field(w.get(), "lineEdit_DNS1_Addr")->text(), QString("8.8.8.8"));
    QCOMPARE(field(w.get(), "lineEdit_DNS2_Addr")->text(), QString("8.8.4.4"));
}

void TestStaticIp::dhcpInversion_data()
{
    QTest::addColumn<QByteArray>("flag");
    QTest::addColumn<bool>("checked");
    QTest::newRow("0 is DHCP") << QByteArray("0") << true;
    QTest::newRow("1 is static") << QByteArray("1") << false;
    QTest::newRow("any non-zero") << QByteArray("7") << false;
    QTest::newRow("not a number reads 0") << QByteArray("x") << true;
}

void TestStaticIp::dhcpInversion()
{
    QFETCH(QByteArray, flag);
    QFETCH(bool, checked);
    // Start from the opposite state so the fields really have to follow.
    auto w = makeWindow();
    QByteArray opposite = Block;
    opposite.replace(",1,192", checked ? ",1,192" : ",0,192");
    QVERIFY(w->ReadNetworkCfg(opposite));
    QByteArray block = Block;
    block.replace(",1,192", "," + flag + ",192");
    QVERIFY(w->ReadNetworkCfg(block));
    QCOMPARE(dhcp(w.get())->isChecked(), checked);
    for (const char* name : AddressFields)
        QCOMPARE(field(w.get(), name)->isEnabled(), !checked);
}

void TestStaticIp::wrongCountDropped_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::newRow("21") << Block.left(Block.lastIndexOf(','));
    QTest::newRow("23") << Block + ",9";
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one") << QByteArray("00:1A:2B:3C:4D:5E");
}

void TestStaticIp::wrongCountDropped()
{
    QFETCH(QByteArray, block);
    auto w = makeWindow();
    QVERIFY(!w->ReadNetworkCfg(block));
    QCOMPARE(field(w.get(), "lineEdit_MacAddr")->text(), QString());
    for (const char* name : AddressFields)
        QCOMPARE(field(w.get(), name)->text(), QString("0.0.0.0"));
    QVERIFY(!dhcp(w.get())->isChecked());
}

void TestStaticIp::routeDecidesWriting_data()
{
    QTest::addColumn<int>("route");
    QTest::addColumn<bool>("writable");
    QTest::newRow("TCP") << int(CommSettings::TCP) << false;
    QTest::newRow("USB") << int(CommSettings::USB) << true;
    QTest::newRow("TCP232") << int(CommSettings::TCP232) << true;
    QTest::newRow("TCP485") << int(CommSettings::TCP485) << true;
}

void TestStaticIp::routeDecidesWriting()
{
    QFETCH(int, route);
    QFETCH(bool, writable);
    auto w = makeWindow(CommSettings::eRoute_t(route));
    for (const char* name : AddressFields)
        QCOMPARE(field(w.get(), name)->isReadOnly(), !writable);
    QCOMPARE(dhcp(w.get())->isEnabled(), writable);
    QCOMPARE(button(w.get(), "pushButton_Apply")->isEnabled(), writable);
    QVERIFY(button(w.get(), "pushButton_Read")->isEnabled());
}

void TestStaticIp::readRequest()
{
    auto w = makeWindow(CommSettings::TCP);
    QSignalSpy spy(w.get(), &StaticIpConfig::WriteData);
    QTest::mouseClick(button(w.get(), "pushButton_Read"), Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toByteArray(), QByteArray("AT+READ_NETWORKCFG\r\n"));
    QVERIFY(w->isVisible());
}

void TestStaticIp::applyFrame_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<QStringList>("edits"); // IP, gateway, mask, DNS 1, DNS 2 as on screen
    QTest::addColumn<bool>("dhcpChecked");
    QTest::addColumn<QByteArray>("frame");

    QTest::newRow("static, as read") << Block << QStringList() << false
                                     << QByteArray("AT+WRITE_NETWORKCFG=1,192,168,1,50,255,255,255,"
                                                   "0,192,168,1,1,8,8,8,8,8,8,4,4\r\n");
    QTest::newRow("DHCP checked sends 0")
        << Block << QStringList() << true
        << QByteArray("AT+WRITE_NETWORKCFG=0,192,168,1,50,255,"
                      "255,255,0,192,168,1,1,8,8,8,8,8,8,4,4\r\n");
    QTest::newRow("edited")
        << Block << QStringList { "10.0.0.1", "10.0.0.254", "255.0.0.0", "1.1.1.1", "9.9.9.9" }
        << false
        << QByteArray("AT+WRITE_NETWORKCFG=1,10,0,0,1,255,0,0,0,10,0,0,254,1,1,1,1,9,9,9,9\r\n");
    QTest::newRow("fresh window") << QByteArray() << QStringList() << false
                                  << QByteArray("AT+WRITE_NETWORKCFG=1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,"
                                                "0,0,0,0,0,0\r\n");
}

void TestStaticIp::applyFrame()
{
    QFETCH(QByteArray, block);
    QFETCH(QStringList, edits);
    QFETCH(bool, dhcpChecked);
    QFETCH(QByteArray, frame);

    auto w = makeWindow();
    if (!block.isEmpty())
        QVERIFY(w->ReadNetworkCfg(block));
    for (int i = 0; i < edits.size(); ++i)
        field(w.get(), AddressFields[i])->setText(edits.at(i));
    dhcp(w.get())->setChecked(dhcpChecked);

    QSignalSpy written(w.get(), &StaticIpConfig::WriteData);
    QSignalSpy closed(w.get(), &StaticIpConfig::Close_StaticIpConfigWindow);
    QTest::mouseClick(button(w.get(), "pushButton_Apply"), Qt::LeftButton);
    QCOMPARE(written.count(), 1);
    QCOMPARE(written.at(0).at(0).toByteArray(), frame);
    QVERIFY(!w->isVisible());
    QCOMPARE(closed.count(), 1);
}

void TestStaticIp::applyRefusesNonAddress_data()
{
    QTest::addColumn<int>("fieldIndex");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("label");
    QTest::newRow("256 in IP") << 0 << "192.168.1.256"
                               << "IP Address";
    QTest::newRow("3 parts in gateway") << 1 << "192.168.1"
                                        << "Default Gateway";
    QTest::newRow("letters in mask") << 2 << "a.b.c.d"
                                     << "Subnet Mask";
    QTest::newRow("empty DNS 1") << 3 << ""
                                 << "DNS-1 Address";
    QTest::newRow("5 parts in DNS 2") << 4 << "8.8.4.4.4"
                                      << "DNS-2 Address";
    QTest::newRow("comma in IP") << 0 << "192,168,1,50"
                                 << "IP Address";
}

void TestStaticIp::applyRefusesNonAddress()
{
    QFETCH(int, fieldIndex);
    QFETCH(QString, text);
    QFETCH(QString, label);

    auto w = makeWindow();
    QVERIFY(w->ReadNetworkCfg(Block));
    QLineEdit* bad = field(w.get(), AddressFields[fieldIndex]);
    bad->setText(text);

    QSignalSpy written(w.get(), &StaticIpConfig::WriteData);
    QSignalSpy closed(w.get(), &StaticIpConfig::Close_StaticIpConfigWindow);
    ModalAnswerer answerer;
    QTest::mouseClick(button(w.get(), "pushButton_Apply"), Qt::LeftButton);

    QCOMPARE(written.count(), 0);
    QCOMPARE(closed.count(), 0);
    QVERIFY(w->isVisible());
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(answerer.lastTitle(), QString("Uyarı !"));
    QVERIFY2(answerer.lastText().contains(label), qPrintable(answerer.lastText()));
    QVERIFY(!bad->styleSheet().isEmpty());
    for (int i = 0; i < 5; ++i) {
        if (i != fieldIndex)
            QVERIFY(field(w.get(), AddressFields[i])->styleSheet().isEmpty());
    }

    // Once corrected, the same click sends and the mark is gone.
    bad->setText("10.0.0.1");
    QTest::mouseClick(button(w.get(), "pushButton_Apply"), Qt::LeftButton);
    QCOMPARE(written.count(), 1);
    QVERIFY(bad->styleSheet().isEmpty());
    QVERIFY(!w->isVisible());
}

QTEST_MAIN(TestStaticIp)
#include "tst_staticip.moc"
