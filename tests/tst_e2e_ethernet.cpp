// The Ethernet modem end to end: the program's own classes against the
// modem simulator, over TCP and over a pseudo-terminal standing for USB.
#include "devinfo.h"
#include "testmain.h"
#include "uitest.h"
#include "kolvexconfigurator.h"
#include "modalanswerer.h"
#include "simprocess.h"
#include "staticipconfig.h"
#include "testsettings.h"
#include "transparentconfig.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QtTest>

namespace {

QStringList journalLines(const SimProcess& sim)
{
    QFile f(sim.journal);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

} // namespace

class TestE2eEthernet : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void readEditWriteReadBack_data();
    void readEditWriteReadBack();
    void networkSettingsOverUsb();
    void networkSettingsReadOnlyOverTcp();
    void deviceInfoPingCurrentIp();
    void restartDisconnects();

private:
    bool connectRoute(KolvexConfigurator& w, bool usb);

    SimProcess sim;
};

void TestE2eEthernet::initTestCase()
{
    isolateSettings();
    QVERIFY2(sim.start("eth"), "the modem simulator did not start");
    QVERIFY(!sim.pty.isEmpty());
    CommSettings::setExtraSerialDevice(sim.pty);
}

void TestE2eEthernet::cleanup()
{
    qDeleteAll(topLevels<DevInfo>());
}

bool TestE2eEthernet::connectRoute(KolvexConfigurator& w, bool usb)
{
    if (usb) {
        auto* ports = control<QComboBox>(w, "comboBox_COMPorts");
        ports->setCurrentIndex(ports->count() - 1);
        control<QPushButton>(w, "pushButton_UsbConnect")->click();
    } else {
        connectTo(w, sim.configPort, "Tcp");
    }
    const auto route = usb ? CommSettings::USB : CommSettings::TCP;
    QElapsedTimer clock;
    clock.start();
    while (w.connectionStatus() != route && clock.elapsed() < 5000)
        QTest::qWait(20);
    return w.connectionStatus() == route;
}

void TestE2eEthernet::readEditWriteReadBack_data()
{
    QTest::addColumn<bool>("usb");
    QTest::newRow("TCP") << false;
    QTest::newRow("USB") << true;
}

void TestE2eEthernet::readEditWriteReadBack()
{
    QFETCH(bool, usb);
    KolvexConfigurator w(nullptr, 1);
    QVERIFY(connectRoute(w, usb));
    auto* baud = control<QComboBox>(w, "comboBox_Baud_485");
    auto* port = control<QSpinBox>(w, "spinBox_Port_485");
    // The first answer filled the form with the modem's configuration.
    QTRY_COMPARE_WITH_TIMEOUT(port->value(), 502, 5000);
    auto* form = w.findChild<TransparentConfig*>();
    QVERIFY(form->isEnabled());
    QCOMPARE(form->paramsAll().size(), 23);

    const int newBaud = baud->currentIndex() == 7 ? 6 : 7;
    baud->setCurrentIndex(newBaud);
    {
        ModalAnswerer yes({QMessageBox::Yes});
        control<QPushButton>(w, "pushButton_ConfigurationApply")->click();
        QCOMPARE(yes.count(), 1);
        QCOMPARE(yes.lastTitle(), QString("Dikkat !"));
    }
    QTRY_COMPARE_WITH_TIMEOUT(status(w), QString("Successfully written"), 5000);
    QVERIFY(journalLines(sim).last().startsWith("OK"));

    // Disturb the form, then read the modem again: the written value is back.
    baud->setCurrentIndex(0);
    control<QPushButton>(w, "pushButton_ReadConfiguration")->click();
    QTRY_COMPARE_WITH_TIMEOUT(baud->currentIndex(), newBaud, 5000);
    QCOMPARE(form->paramsAll().at(6), QString::number(newBaud));

    // Leave the route the way the user would, and come back.
    control<QPushButton>(w, usb ? "pushButton_UsbConnect" : "pushButton_TcpConnect")->click();
    QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::Max, 5000);
    QCOMPARE(status(w), QString(usb ? "Disconnected from USB" : "Disconnected from TCP"));
    QVERIFY(!form->isEnabled());
    QVERIFY(connectRoute(w, usb));
    control<QPushButton>(w, usb ? "pushButton_UsbConnect" : "pushButton_TcpConnect")->click();
    QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::Max, 5000);
}

void TestE2eEthernet::networkSettingsOverUsb()
{
    KolvexConfigurator w(nullptr, 1);
    QVERIFY(connectRoute(w, true));
    control<QPushButton>(w, "pushButton_StaticIPConfig")->click();
    StaticIpConfig* window = w.staticIpWindow();
    QVERIFY(window);
    auto* ip = control<QLineEdit>(*window, "lineEdit_IpAddr");
    auto* mac = control<QLineEdit>(*window, "lineEdit_MacAddr");
    QTRY_VERIFY_WITH_TIMEOUT(!mac->text().isEmpty(), 5000);
    QVERIFY(ip->isEnabled() && !ip->isReadOnly());

    control<QCheckBox>(*window, "checkBox_Dhcp")->setChecked(false);
    ip->setText("10.1.2.3");
    control<QLineEdit>(*window, "lineEdit_SubnetMask")->setText("255.0.0.0");
    control<QLineEdit>(*window, "lineEdit_DefaultGateway")->setText("10.0.0.1");
    control<QPushButton>(*window, "pushButton_Apply")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!w.staticIpWindow(), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(status(w), QString("Successfully written"), 5000);

    control<QPushButton>(w, "pushButton_StaticIPConfig")->click();
    window = w.staticIpWindow();
    QVERIFY(window);
    QTRY_COMPARE_WITH_TIMEOUT(control<QLineEdit>(*window, "lineEdit_IpAddr")->text(),
                              QString("10.1.2.3"), 5000);
    QCOMPARE(control<QLineEdit>(*window, "lineEdit_SubnetMask")->text(), QString("255.0.0.0"));
    QCOMPARE(control<QLineEdit>(*window, "lineEdit_DefaultGateway")->text(),
             QString("10.0.0.1"));
    QVERIFY(!control<QCheckBox>(*window, "checkBox_Dhcp")->isChecked());
    window->close();
    control<QPushButton>(w, "pushButton_UsbConnect")->click();
    QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::Max, 5000);
}

void TestE2eEthernet::networkSettingsReadOnlyOverTcp()
{
    KolvexConfigurator w(nullptr, 1);
    QVERIFY(connectRoute(w, false));
    control<QPushButton>(w, "pushButton_StaticIPConfig")->click();
    StaticIpConfig* window = w.staticIpWindow();
    QVERIFY(window);
    QTRY_VERIFY_WITH_TIMEOUT(!control<QLineEdit>(*window, "lineEdit_MacAddr")->text().isEmpty(),
                             5000);
    QVERIFY(control<QLineEdit>(*window, "lineEdit_IpAddr")->isReadOnly());
    QVERIFY(!control(*window, "pushButton_Apply")->isEnabled());
    QVERIFY(!control(*window, "checkBox_Dhcp")->isEnabled());
    window->close();
    QVERIFY(!w.staticIpWindow());
    control<QPushButton>(w, "pushButton_TcpConnect")->click();
    QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::Max, 5000);
}

void TestE2eEthernet::deviceInfoPingCurrentIp()
{
    KolvexConfigurator w(nullptr, 1);
    QVERIFY(connectRoute(w, false));
    QTRY_VERIFY_WITH_TIMEOUT(w.findChild<TransparentConfig*>()->paramsAll().size() == 23, 5000);

    w.findChild<QAction*>("actionGET_INFO")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(topLevels<DevInfo>().size(), 1, 5000);
    DevInfo* info = topLevels<DevInfo>().first();
    QVERIFY(!control<QLineEdit>(*info, "lineEdit_SerialNum")->text().isEmpty());
    QVERIFY(info->isVisible());

    w.findChild<QAction*>("actionPING")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(status(w), QString("Ping -> OK"), 5000);

    control<QPushButton>(w, "pushButton_GetIpAddr")->click();
    auto* current = control<QLineEdit>(w, "lineEdit_CurrentIpAddr");
    QTRY_VERIFY_WITH_TIMEOUT(!current->text().isEmpty(), 5000);
    QVERIFY(QRegularExpression("^\\d+\\.\\d+\\.\\d+\\.\\d+$").match(current->text()).hasMatch());
    control<QPushButton>(w, "pushButton_TcpConnect")->click();
    QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::Max, 5000);
}

void TestE2eEthernet::restartDisconnects()
{
    KolvexConfigurator w(nullptr, 1);
    QVERIFY(connectRoute(w, false));
    QStringList seen;
    connect(w.statusBar(), &QStatusBar::messageChanged, [&](const QString& m) { seen << m; });
    w.findChild<QAction*>("actionRESTART_DEVICE")->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::Max, 5000);
    QVERIFY2(seen.contains("Device Restarted!"), qPrintable(seen.join(" | ")));
    QCOMPARE(status(w), QString("Disconnected from TCP"));
    QVERIFY(connectRoute(w, false));
    control<QPushButton>(w, "pushButton_TcpConnect")->click();
    QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::Max, 5000);
}

QUORVANE_TEST_MAIN(TestE2eEthernet)
#include "tst_e2e_ethernet.moc"
