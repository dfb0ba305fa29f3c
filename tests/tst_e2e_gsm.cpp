// The GSM modem end to end over its two tunnels, against the simulator.
#include "kolvexconfigurator.h"
#include "testmain.h"
#include "uitest.h"
#include "modalanswerer.h"
#include "simprocess.h"
#include "testsettings.h"
#include "transparentconfig.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QtTest>

namespace {

struct TunnelUi
{
    const char* connectButton;
    const char* otherAbort;
    CommSettings::eRoute_t route;
    TransparentConfig::eConnection_State_t section;
    const char* closedAnswerText;
};

const TunnelUi Rs485{"pushButton_485Connect", "pushButton_Abort232",
                     CommSettings::TCP485,     TransparentConfig::eTCP485, "232 Closed"};
const TunnelUi Rs232{"pushButton_232Connect", "pushButton_Abort485",
                     CommSettings::TCP232,     TransparentConfig::eTCP232, "485 Closed"};

} // namespace

Q_DECLARE_METATYPE(const TunnelUi*)

class TestE2eGsm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readEditWriteReadBack_data();
    void readEditWriteReadBack();
    void abortOtherTunnel_data();
    void abortOtherTunnel();

private:
    void connectTunnel(KolvexConfigurator& w, const TunnelUi& t);

    SimProcess sim;
};

void TestE2eGsm::initTestCase()
{
    isolateSettings();
    QVERIFY2(sim.start("gsm"), "the modem simulator did not start");
}

void TestE2eGsm::connectTunnel(KolvexConfigurator& w, const TunnelUi& t)
{
    const bool rs485 = t.route == CommSettings::TCP485;
    connectTo(w, rs485 ? sim.port485 : sim.port232, rs485 ? "485" : "232");
}

void TestE2eGsm::readEditWriteReadBack_data()
{
    QTest::addColumn<const TunnelUi*>("tunnel");
    QTest::newRow("RS485 tunnel") << &Rs485;
    QTest::newRow("RS232 tunnel") << &Rs232;
}

void TestE2eGsm::readEditWriteReadBack()
{
    QFETCH(const TunnelUi*, tunnel);
    KolvexConfigurator w(nullptr, 2);
    connectTunnel(w, *tunnel);
    auto* form = w.findChild<TransparentConfig*>();
    // The read poll fetches the configuration by itself.
    QTRY_COMPARE_WITH_TIMEOUT(form->paramsAll().size(), 30, 5000);
    QCOMPARE(w.connectionStatus(), tunnel->route);
    QCOMPARE(form->connectionType(), tunnel->section);
    QVERIFY(form->isEnabled());
    auto* apn = control<QLineEdit>(w, "lineEdit_APN");
    QVERIFY(!apn->text().isEmpty());
    const QString newApn = apn->text() == "m2m.example" ? "m2m.other" : "m2m.example";
    // Retry count 2 shows the command interval in seconds.
    QCOMPARE(control<QSpinBox>(w, "spinBox_IntervalTime_485")->value(), 5);

    // Unchanged values go out without a question.
    {
        ModalAnswerer boxes;
        control<QPushButton>(w, "pushButton_ConfigurationApply")->click();
        QCOMPARE(boxes.count(), 0);
    }
    QTRY_COMPARE_WITH_TIMEOUT(status(w), QString("Successfully written"), 5000);

    const bool rs485 = tunnel->route == CommSettings::TCP485;
    auto* timeout =
        control<QSpinBox>(w, rs485 ? "spinBox_ModbusTimeout_485" : "spinBox_ModbusTimeout_232");
    const int newTimeout = timeout->value() == 2500 ? 3500 : 2500;
    timeout->setValue(newTimeout);
    apn->setText(newApn);
    {
        ModalAnswerer boxes({QMessageBox::Yes});
        control<QPushButton>(w, "pushButton_ConfigurationApply")->click();
        QCOMPARE(boxes.lastTitle(), QString("Dikkat !"));
    }
    w.SetStatusBarText(QString(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(status(w), QString("Successfully written"), 5000);

    timeout->setValue(100);
    apn->setText(QString());
    control<QPushButton>(w, "pushButton_ReadConfiguration")->click();
    QTRY_COMPARE_WITH_TIMEOUT(timeout->value(), newTimeout, 5000);
    QCOMPARE(apn->text(), newApn);
    QCOMPARE(control<QSpinBox>(w, rs485 ? "spinBox_485_Ping_Interval" : "spinBox_232_Ping_Interval")
                 ->value(),
             5);

    control<QPushButton>(w, tunnel->connectButton)->click();
    QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::Max, 5000);
    QVERIFY(!form->isEnabled());
}

void TestE2eGsm::abortOtherTunnel_data()
{
    readEditWriteReadBack_data();
}

void TestE2eGsm::abortOtherTunnel()
{
    QFETCH(const TunnelUi*, tunnel);
    KolvexConfigurator w(nullptr, 2);
    connectTunnel(w, *tunnel);
    QTRY_COMPARE_WITH_TIMEOUT(w.findChild<TransparentConfig*>()->paramsAll().size(), 30, 5000);
    QStringList seen;
    connect(w.statusBar(), &QStatusBar::messageChanged, [&](const QString& m) { seen << m; });
    control<QPushButton>(w, tunnel->otherAbort)->click();
    QTRY_VERIFY_WITH_TIMEOUT(seen.contains(tunnel->closedAnswerText), 5000);
    QCOMPARE(w.connectionStatus(), tunnel->route);
    control<QPushButton>(w, tunnel->connectButton)->click();
    QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::Max, 5000);
}

QUORVANE_TEST_MAIN(TestE2eGsm)
#include "tst_e2e_gsm.moc"
