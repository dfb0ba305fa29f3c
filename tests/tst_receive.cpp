#include "devinfo.h"
#include "modalanswerer.h"
#include "staticipconfig.h"
#include "transparentconfig.h"
#include "tst_receive_fixtures.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

using Route = AtProtocol::eConnection_State_t;
using TrpErr = AtProtocol::TrpErr_t;

namespace {

const QByteArray NetworkValues
    = "00:1A:2B:3C:4D:5E,0,10,0,0,7,255,255,0,0,10,0,0,1,1,1,1,1,9,9,9,9";

QList<DevInfo*> openDevInfos()
{
    QList<DevInfo*> open;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<DevInfo*>(w))
            open << d;
    return open;
}

// What the form told the main window, in the order it told it.
struct Recorder
{
    QStringList events;
    explicit Recorder(TransparentConfig& form)
    {
        QObject::connect(
            &form, &TransparentConfig::WriteStatusBar, [this](const QString& text, int ms) {
                events << QString("status %1 %2").arg(ms).arg(text);
            });
        QObject::connect(&form, &TransparentConfig::SetCurrentIpAddr,
            [this](const QByteArray& ip) { events << "ip " + QString::fromUtf8(ip); });
        QObject::connect(
            &form, &TransparentConfig::DisconnectTcp, [this] { events << "disconnect"; });
        QObject::connect(&form, &TransparentConfig::WriteData,
            [this](const QByteArray& frame) { events << "write " + QString::fromUtf8(frame); });
    }
};

} // namespace

class TestReceive : public QObject
{
    Q_OBJECT

private slots:
    void init() { answerer = new ModalAnswerer; }
    void cleanup();

    void actions_data();
    void actions();
    void noRouteIgnoresAll_data();
    void noRouteIgnoresAll();
    void readAll_data();
    void readAll();
    void readAllRefused_data();
    void readAllRefused();
    void networkSettings_data();
    void networkSettings();
    void twoDevInfoAnswers();
    void devInfoShortAnswer();
    void devInfoCap();
    void destroyIgnoresOtherSenders();

private:
    ModalAnswerer* answerer = nullptr;
};

void TestReceive::cleanup()
{
    delete answerer;
    qDeleteAll(openDevInfos());
}

void TestReceive::actions_data()
{
    QTest::addColumn<int>("route");
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<int>("err");
    QTest::addColumn<QStringList>("events");

    const QList<Route> routes
        = { AtProtocol::eETH, AtProtocol::eUSB, AtProtocol::eTCP485, AtProtocol::eTCP232 };
    for (Route route : routes) {
        const bool gsm = AtProtocol::isGsmRoute(route);
        auto row = [route](const char* name, const QByteArray& block, TrpErr err,
                       const QStringList& events) {
            QTest::addRow("%d %s", int(route), name) << int(route) << block << int(err) << events;
        };
        row("ping", "+PING\r\n", AtProtocol::err_OK, { "status 1000 Ping -> OK" });
        row("write accepted", "+OK\r\n", AtProtocol::err_OK,
            { "status 1000 Successfully written" });
        row("restart", "+RESTART\r\n", AtProtocol::err_OK,
            { "status 1000 Device Restarted!", "disconnect" });
        row("error with text", "+ERR=Bad command\r\n", AtProtocol::err_Unknown,
            { "status 1000 Receive_Callback Error : Bad command" });
        row("error without =", "+ERR\r\n", AtProtocol::err_Unknown,
            { "status 1000 Receive_Callback Error : +ERR" });
        row("error naming a command", "+ERR=PING failed\r\n", AtProtocol::err_Unknown,
            { "status 1000 Receive_Callback Error : PING failed" });
        row("232 closed", "+232CLOSE\r\n", AtProtocol::err_OK,
            gsm ? QStringList { "status 1000 232 Closed" } : QStringList());
        row("485 closed", "+485CLOSE\r\n", AtProtocol::err_OK,
            gsm ? QStringList { "status 1000 485 Closed" } : QStringList());
        row("two answers: lowest id", "+OK\r\n+PING\r\n", AtProtocol::err_OK,
            { "status 1000 Ping -> OK" });
        row("current ip", "+CURRENT_IP=335587520\r\n", AtProtocol::err_OK, { "ip 192.168.0.20" });
        row("current ip 0", "+CURRENT_IP=0\r\n", AtProtocol::err_OK, { "ip 0.0.0.0" });
        row("current ip not a number", "+CURRENT_IP=abc\r\n", AtProtocol::err_OK, { "ip 0.0.0.0" });
        row("current ip negative", "+CURRENT_IP=-1\r\n", AtProtocol::err_OK,
            { "ip 255.255.255.255" });
        row("current ip beyond 32 bits", "+CURRENT_IP=4294967296\r\n", AtProtocol::err_OK,
            { "ip 0.0.0.0" });
        row("write all echoed", "+WRITEALL\r\n", AtProtocol::err_OK, {});
        row("write network echoed", "+WRITE_NETWORKCFG\r\n", AtProtocol::err_OK, {});
        row("parameter keyword", "+485PORT=502\r\n", AtProtocol::err_OK, {});
        row("end marker", gsm ? "+TrpCfgCmdGSM_Max\r\n" : "+TrpCfgCmd_Max\r\n", AtProtocol::err_OK,
            {});
        row("no keyword", "+HELLO\r\n", AtProtocol::err_OK, {});
        row("no plus", "OK\r\n", AtProtocol::err_BeginChr, {});
        row("no CR LF", "+OK", AtProtocol::err_EndChr, {});
        row("split answer, first piece", "+READALL=1,502", AtProtocol::err_EndChr, {});
        row("split answer, last piece", "0,8,0\r\n", AtProtocol::err_BeginChr, {});
    }
}

void TestReceive::actions()
{
    QFETCH(int, route);
    QFETCH(QByteArray, block);
    QFETCH(int, err);
    QFETCH(QStringList, events);

    TransparentConfig form;
    setRoute(form, Route(route));
    Recorder recorder(form);
    const QByteArray sent = block;
    QCOMPARE(int(form.Receive_Callback(block, nullptr)), err);
    QCOMPARE(recorder.events, events);
    if (err == AtProtocol::err_EndChr)
        QCOMPARE(block, sent);
    QVERIFY(openDevInfos().isEmpty());
    QVERIFY(form.paramsAll().isEmpty());
}

void TestReceive::noRouteIgnoresAll_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<int>("err");
    QTest::newRow("read-all") << QByteArray("+READALL=" + EthValues + "\r\n")
                              << int(AtProtocol::err_OK);
    QTest::newRow("error") << QByteArray("+ERR=x\r\n") << int(AtProtocol::err_OK);
    QTest::newRow("restart") << QByteArray("+RESTART\r\n") << int(AtProtocol::err_OK);
    QTest::newRow("device info") << QByteArray("+DEVINFO=1,2,3,4,5,6,7,8,9,10\r\n")
                                 << int(AtProtocol::err_OK);
    QTest::newRow("no CR LF") << QByteArray("+OK") << int(AtProtocol::err_EndChr);
    QTest::newRow("no plus") << QByteArray("OK\r\n") << int(AtProtocol::err_BeginChr);
}

void TestReceive::noRouteIgnoresAll()
{
    QFETCH(QByteArray, block);
    QFETCH(int, err);
    TransparentConfig form;
    Recorder recorder(form);
    QCOMPARE(int(form.Receive_Callback(block, nullptr)), err);
    QVERIFY(recorder.events.isEmpty());
    QVERIFY(form.paramsAll().isEmpty());
    QVERIFY(openDevInfos().isEmpty());
}

void TestReceive::readAll_data()
{
    addRouteRows();
    QTest::newRow("eth, more values than needed") << int(AtProtocol::eETH) << EthValues + ",7,8";
}

void TestReceive::readAll()
{
    QFETCH(int, route);
    QFETCH(QByteArray, values);
    TransparentConfig form;
    setRoute(form, Route(route));
    Recorder recorder(form);
    QByteArray block = "+READALL=" + values + "\r\n";
    QCOMPARE(form.Receive_Callback(block, nullptr), AtProtocol::err_OK);
    QCOMPARE(form.paramsAll(), QString::fromUtf8(values).split(','));
    const int needed = AtProtocol::isGsmRoute(Route(route)) ? 30 : 23;
    QCOMPARE(form.writeAllValues(), form.paramsAll().mid(0, needed));
    QVERIFY(recorder.events.isEmpty());
    QCOMPARE(answerer->count(), 0);
}

void TestReceive::readAllRefused_data()
{
    QTest::addColumn<int>("route");
    QTest::addColumn<QByteArray>("block");
    QTest::newRow("eth short") << int(AtProtocol::eETH)
                               << "+READALL=" + EthValues.left(EthValues.lastIndexOf(',')) + "\r\n";
    QTest::newRow("gsm short") << int(AtProtocol::eTCP485)
                               << "+READALL=" + GsmValues.left(GsmValues.lastIndexOf(',')) + "\r\n";
    QTest::newRow("eth answer on a tunnel")
        << int(AtProtocol::eTCP232) << "+READALL=" + EthValues + "\r\n";
    QTest::newRow("no =") << int(AtProtocol::eETH) << QByteArray("+READALL\r\n");
    QTest::newRow("mode out of limit")
        << int(AtProtocol::eETH) << "+READALL=1,502,9" + EthValues.mid(7) + "\r\n";
}

void TestReceive::readAllRefused()
{
    QFETCH(int, route);
    QFETCH(QByteArray, block);
    TransparentConfig form;
    setRoute(form, Route(route));
    const QStringList before = form.writeAllValues();
    QSignalSpy status(&form, &TransparentConfig::WriteStatusBar);
    QCOMPARE(form.Receive_Callback(block, nullptr), AtProtocol::err_OK);
    QVERIFY(form.paramsAll().isEmpty());
    QCOMPARE(form.writeAllValues(), before);
    QCOMPARE(status.count(), 1);
}

void TestReceive::networkSettings_data()
{
    QTest::addColumn<bool>("window");
    QTest::addColumn<QByteArray>("values");
    QTest::addColumn<bool>("filled");
    QTest::newRow("filled") << true << NetworkValues << true;
    QTest::newRow("21 values") << true << NetworkValues.left(NetworkValues.lastIndexOf(','))
                               << false;
    QTest::newRow("23 values") << true << NetworkValues + ",1" << false;
    QTest::newRow("window closed") << false << NetworkValues << false;
}

void TestReceive::networkSettings()
{
    QFETCH(bool, window);
    QFETCH(QByteArray, values);
    QFETCH(bool, filled);
    TransparentConfig form;
    form.SetETHSettings(true);
    StaticIpConfig staticIp(CommSettings::USB);
    QSignalSpy status(&form, &TransparentConfig::WriteStatusBar);
    QByteArray block = "+READ_NETWORKCFG=" + values + "\r\n";
    QCOMPARE(form.Receive_Callback(block, window ? &staticIp : nullptr), AtProtocol::err_OK);
    auto* ip = staticIp.findChild<QLineEdit*>("lineEdit_IpAddr");
    QCOMPARE(ip->text(), filled ? QString("10.0.0.7") : QString("0.0.0.0"));
    QCOMPARE(ip->isEnabled(), !filled); // the answer says DHCP
    QCOMPARE(status.count(), filled ? 0 : 1);
}

void TestReceive::twoDevInfoAnswers()
{
    TransparentConfig form;
    form.Set485Settings(true);
    QByteArray first = "+DEVINFO=SN1,IMEI1,3,1,2,1,4,1,0,7\r\n";
    QByteArray second = "+DEVINFO=SN2,IMEI2,3,1,2,1,4,1,0,7,extra,more\r\n";
    QCOMPARE(form.Receive_Callback(first, nullptr), AtProtocol::err_OK);
    QCOMPARE(form.Receive_Callback(second, nullptr), AtProtocol::err_OK);
    QList<DevInfo*> open = openDevInfos();
    QCOMPARE(open.size(), 2);
    for (DevInfo* d : open)
        QVERIFY(d->isVisible() && !d->isModal());

    DevInfo* closing = open.at(0);
    const QString kept = open.at(1)->findChild<QLineEdit*>("lineEdit_SerialNum")->text();
    QPointer<DevInfo> watch(closing);
    closing->close();
    QTRY_VERIFY(watch.isNull());
    open = openDevInfos();
    QCOMPARE(open.size(), 1);
    QVERIFY(open.at(0)->isVisible());
    QCOMPARE(open.at(0)->findChild<QLineEdit*>("lineEdit_SerialNum")->text(), kept);
    QCOMPARE(open.at(0)->findChild<QLineEdit*>("lineEdit_VersionParameter")->text(), QString("7"));
}

void TestReceive::devInfoShortAnswer()
{
    TransparentConfig form;
    form.SetUSBSettings(true);
    QSignalSpy status(&form, &TransparentConfig::WriteStatusBar);
    QByteArray block = "+DEVINFO=SN1,IMEI1,3\r\n";
    QCOMPARE(form.Receive_Callback(block, nullptr), AtProtocol::err_OK);
    QVERIFY(openDevInfos().isEmpty());
    QCOMPARE(status.count(), 1);
}

void TestReceive::devInfoCap()
{
    TransparentConfig form;
    form.SetETHSettings(true);
    QSignalSpy status(&form, &TransparentConfig::WriteStatusBar);
    auto answer = [&form](int n) {
        QByteArray block = "+DEVINFO=SN" + QByteArray::number(n) + ",2,3,4,5,6,7,8,9,10\r\n";
        return form.Receive_Callback(block, nullptr);
    };
    for (int n = 0; n < DevInfoWindows::MaxOpen + 2; ++n)
        QCOMPARE(answer(n), AtProtocol::err_OK);
    QCOMPARE(openDevInfos().size(), DevInfoWindows::MaxOpen);
    QCOMPARE(status.count(), 2);

    // Closing one makes room for the next answer.
    QPointer<DevInfo> closing(openDevInfos().first());
    closing->close();
    QTRY_VERIFY(closing.isNull());
    QCOMPARE(answer(99), AtProtocol::err_OK);
    QCOMPARE(openDevInfos().size(), DevInfoWindows::MaxOpen);
    QCOMPARE(status.count(), 2);
}

void TestReceive::destroyIgnoresOtherSenders()
{
    TransparentConfig form;
    form.SetETHSettings(true);
    QByteArray block = "+DEVINFO=1,2,3,4,5,6,7,8,9,10\r\n";
    form.Receive_Callback(block, nullptr);
    QObject stranger;
    QObject::connect(
        &stranger, &QObject::objectNameChanged, &form, &TransparentConfig::DestroyDevInfo);
    stranger.setObjectName("not a dialog");
    form.DestroyDevInfo(); // no sender at all
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(openDevInfos().size(), 1);
}

QTEST_MAIN(TestReceive)
#include "tst_receive.moc"
