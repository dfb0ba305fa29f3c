// A misbehaving modem or network, end to end: every fault must be reported
// the prescribed way, leave the program running, and let it connect again.
#include "kolvexconfigurator.h"
#include "testmain.h"
#include "uitest.h"
#include "modalanswerer.h"
#include "simprocess.h"
#include "testsettings.h"
#include "transparentconfig.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTcpSocket>
#include <QtTest>

namespace {

// Every text the status bar showed, in order.
struct StatusLog
{
    explicit StatusLog(KolvexConfigurator& w)
    {
        QObject::connect(w.statusBar(), &QStatusBar::messageChanged,
                         [this](const QString& m) {
                             if (!m.isEmpty())
                                 texts << m;
                         });
    }
    QStringList texts;
};

TransparentConfig* form(KolvexConfigurator& w)
{
    return w.findChild<TransparentConfig*>();
}

// The route a modem kind is reached by here: TCP, or the RS485 tunnel.
void start(KolvexConfigurator& w, const SimProcess& sim, const QString& kind)
{
    if (kind == "eth")
        connectTo(w, sim.configPort, "Tcp");
    else
        connectTo(w, sim.port485, "485");
}

bool anyParseError(const StatusLog& log)
{
    for (const QString& t : log.texts)
        if (t.contains("DataReceived Error"))
            return true;
    return false;
}

} // namespace

class TestE2eFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { isolateSettings(); }
    void silentTcpModemTimesOut();
    void silentTunnelModemIsPolledThenWarned();
    void splitAnswerIsReadWhole_data();
    void splitAnswerIsReadWhole();
    void badAnswersAreReported_data();
    void badAnswersAreReported();
    void droppedMidAnswer();
    void secondClientRefused();
    void ptyClosedUnderTheProgram();
};

void TestE2eFaults::silentTcpModemTimesOut()
{
    SimProcess sim;
    QVERIFY(sim.start("eth", {"--silent"}));
    KolvexConfigurator w(nullptr, 1);
    StatusLog log(w);
    start(w, sim, "eth");
    QTRY_COMPARE_WITH_TIMEOUT(log.texts.value(0), QString("Disconnected from TCP"), 15000);
    QCOMPARE(w.connectionStatus(), CommSettings::Max);
    QCOMPARE(control<QLabel>(w, "label_TcpSettings")->styleSheet(), QString("background-color:red"));
    QVERIFY(w.findChild<QAction*>("actionEthernet_Modem")->isEnabled());
    QVERIFY(!form(w)->isEnabled());

    // A modem that answers is accepted afterwards.
    sim.stop();
    QVERIFY(sim.start("eth"));
    start(w, sim, "eth");
    QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::TCP, 5000);
}

void TestE2eFaults::silentTunnelModemIsPolledThenWarned()
{
    SimProcess sim;
    QVERIFY(sim.start("gsm", {"--silent"}));
    ModalAnswerer boxes;
    KolvexConfigurator w(nullptr, 2);
    StatusLog log(w);
    start(w, sim, "gsm");
    QTRY_COMPARE_WITH_TIMEOUT(boxes.count(), 1, 8000);
    QCOMPARE(boxes.lastText(), QString("Cihazdan veri alınamadı !"));
    QTRY_VERIFY(form(w)->isEnabled());
    QVERIFY(control(w, "pushButton_ReadConfiguration")->isEnabled());
    QVERIFY(!control(w, "comboBox_Mod_485")->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(log.texts.contains("Connected Succesfully"), 10000);
    QCOMPARE(boxes.count(), 1);
}

void TestE2eFaults::splitAnswerIsReadWhole_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("TCP") << "eth";
    QTest::newRow("tunnel") << "gsm";
}

void TestE2eFaults::splitAnswerIsReadWhole()
{
    QFETCH(QString, kind);
    SimProcess sim;
    QVERIFY(sim.start(kind, {"--split", "100"}));
    KolvexConfigurator w(nullptr, kind == "eth" ? 1 : 2);
    StatusLog log(w);
    start(w, sim, kind);
    QTRY_COMPARE_WITH_TIMEOUT(form(w)->paramsAll().size(), kind == "eth" ? 23 : 30, 5000);
    QCOMPARE(control<QSpinBox>(w, "spinBox_Port_485")->value(), 502);
    QVERIFY2(!anyParseError(log), qPrintable(log.texts.join('|')));
}

void TestE2eFaults::badAnswersAreReported_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("knob");
    QTest::addColumn<QString>("report");
    QTest::newRow("unterminated over TCP")
        << "eth" << "--unterminated" << "TCPDataReceived Error :err_EndChr";
    QTest::newRow("unterminated over tunnel")
        << "gsm" << "--unterminated" << "TCP485DataReceived Error :err_EndChr";
    QTest::newRow("garbage over TCP") << "eth" << "--garbage" << "TCPDataReceived Error :err_";
}

void TestE2eFaults::badAnswersAreReported()
{
    QFETCH(QString, kind);
    QFETCH(QString, knob);
    QFETCH(QString, report);
    SimProcess sim;
    QVERIFY(sim.start(kind, {knob}));
    ModalAnswerer boxes;
    KolvexConfigurator w(nullptr, kind == "eth" ? 1 : 2);
    StatusLog log(w);
    start(w, sim, kind);
    const auto reported = [&] {
        for (const QString& t : log.texts)
            if (t.startsWith(report))
                return true;
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(reported(), 5000);
    // Whatever arrived, nothing of it reached the form.
    QVERIFY(form(w)->paramsAll().isEmpty());
    QCOMPARE(control<QSpinBox>(w, "spinBox_Port_485")->value(), 0);
    QVERIFY(w.connectionStatus() != CommSettings::Max);
}

void TestE2eFaults::droppedMidAnswer()
{
    SimProcess sim;
    QVERIFY(sim.start("eth", {"--drop-mid-answer"}));
    KolvexConfigurator w(nullptr, 1);
    StatusLog log(w);
    start(w, sim, "eth");
    QTRY_VERIFY_WITH_TIMEOUT(log.texts.contains("Disconnected from TCP"), 5000);
    QCOMPARE(w.connectionStatus(), CommSettings::Max);
    QVERIFY(form(w)->paramsAll().isEmpty());
    QVERIFY(!form(w)->isEnabled());
    // The half answer was dropped with the route, not parsed later.
    QTest::qWait(500);
    QVERIFY2(!anyParseError(log), qPrintable(log.texts.join('|')));
}

void TestE2eFaults::secondClientRefused()
{
    SimProcess sim;
    QVERIFY(sim.start("gsm", {"--single-client"}));
    QTcpSocket first;
    first.connectToHost("127.0.0.1", sim.port485);
    QVERIFY(first.waitForConnected(3000));

    KolvexConfigurator w(nullptr, 2);
    StatusLog log(w);
    start(w, sim, "gsm");
    QTRY_VERIFY_WITH_TIMEOUT(log.texts.contains("Disconnected from TCP 485 Port"), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(log.texts.contains("Server can have connection Check server"), 10000);
    QCOMPARE(w.connectionStatus(), CommSettings::Max);
    QVERIFY(control(w, "pushButton_485Connect")->isEnabled());

    // Once the other client has gone, the tunnel can be had.
    first.disconnectFromHost();
    QTest::qWait(200);
    start(w, sim, "gsm");
    QTRY_COMPARE_WITH_TIMEOUT(form(w)->paramsAll().size(), 30, 5000);
}

void TestE2eFaults::ptyClosedUnderTheProgram()
{
    SimProcess sim;
    QVERIFY(sim.start("eth", {"--drop-after", "2"}));
    CommSettings::setExtraSerialDevice(sim.pty);
    ModalAnswerer boxes;
    KolvexConfigurator w(nullptr, 1);
    StatusLog log(w);
    auto* ports = control<QComboBox>(w, "comboBox_COMPorts");
    ports->setCurrentIndex(ports->count() - 1);
    control<QPushButton>(w, "pushButton_UsbConnect")->click();
    QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::USB, 5000);
    // The second request makes the simulator close the device.
    control<QPushButton>(w, "pushButton_ReadConfiguration")->click();
    QTRY_VERIFY_WITH_TIMEOUT(boxes.count() >= 1, 5000);
    QCOMPARE(boxes.boxes.first().title, QString("Critical Error"));
    QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::Max, 5000);
    QVERIFY(log.texts.contains("Disconnected from USB"));
    QVERIFY(!form(w)->isEnabled());
    QCOMPARE(control<QLabel>(w, "label_USB_Settings")->styleSheet(), QString("background-color:red"));
    QTest::qWait(300);
    QCOMPARE(boxes.count(), 1);
    CommSettings::setExtraSerialDevice(QString());
}

QUORVANE_TEST_MAIN(TestE2eFaults)
#include "tst_e2e_faults.moc"
