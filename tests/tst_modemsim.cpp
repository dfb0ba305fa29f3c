// The simulated modem: its command interpreter, its misbehaviours and the
// built program on its ports.

#include "parametertable.h"
#include "simoptions.h"
#include "simprocess.h"
#include "simsession.h"

#include <QSerialPort>
#include <QTcpSocket>
#include <QtTest>

using namespace modemsim;
Q_DECLARE_METATYPE(modemsim::ModemKind)

namespace {

const QByteArray EthDefaults = "1,502,0,8,0,1,5,8,400,1000,5,1,503,0,8,0,1,5,8,400,1000,5,1";
const QByteArray GsmDefaults = "1,502,0,8,0,1,5,8,400,1000,5,2,5000,300,"
                               "1,503,0,8,0,1,5,8,400,1000,5,2,5000,300,internet,1";
const QByteArray NetDefaults = "1,192,168,0,20,255,255,255,0,192,168,0,1,8,8,8,8,8,8,4,4";
const QByteArray Ping = "+PING\r\n";

QByteArray with(const QByteArray& values, int position, const QByteArray& value)
{
    QList<QByteArray> list = values.split(',');
    list[position] = value;
    return list.join(',');
}

// How the planner delivers `requests` answers "+PING" under a command line:
// "wait:bytes" per step, "-" for an ignored request, "drop" for a close after
// one. Garbage shows as its size, once it holds nothing that frames an answer.
QString plan(const QString& args, int requests = 2)
{
    SimOptions options;
    QString message;
    if (parseOptions(("sim " + args).split(' ', Qt::SkipEmptyParts), &options, &message)
        != ParseOutcome::Run)
        return "error";
    FaultPlanner planner(options.faults);
    QStringList out;
    for (int request = 1; request <= requests; ++request) {
        QStringList steps;
        for (const Step& s : planner.ignores(request) ? QVector<Step>() : planner.deliver(Ping)) {
            QString bytes = QString("#%1").arg(s.bytes.size());
            if (Ping.contains(s.bytes) || s.bytes.contains('+') || s.bytes.contains('\r')
                || s.bytes.contains('\n'))
                bytes = logText(s.bytes);
            steps << QString("%1:%2%3").arg(s.waitMs).arg(bytes, s.close ? " close" : "");
        }
        out << (planner.ignores(request) ? "-" : steps.isEmpty() ? "silence" : steps.join('/'));
        if (planner.dropsAfter(request))
            out << "drop";
    }
    return out.join('|');
}

// Sends one request and collects bytes until the answer's CR LF.
QByteArray ask(QIODevice& device, const QByteArray& request)
{
    device.write(request + "\r\n");
    QByteArray answer;
    while (!answer.endsWith("\r\n") && device.waitForReadyRead(5000))
        answer += device.readAll();
    return answer;
}

} // namespace

class TestModemSim : public QObject
{
    Q_OBJECT

private slots:
    void requests_data();
    void requests();
    void knobs_data();
    void knobs();
    void randomFaults();
    void session();
    void process();
};

// One or more requests (split at "|"), the answer to the last and its after-effect.
void TestModemSim::requests_data()
{
    QTest::addColumn<ModemKind>("kind");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("action");
    using Action = ModemCore::Action;
    const auto row = [](ModemKind kind, const QByteArray& request, const QByteArray& answer,
                         Action action = Action::None) {
        QTest::addRow("%s %s", qPrintable(kindName(kind)), request.left(40).constData())
            << kind << request << answer << int(action);
    };
    const auto eth = ModemKind::Ethernet, gsm = ModemKind::Gsm;
    const QByteArray unknown = "+ERR=UNKNOWN\r\n",
                     setNet = "AT+WRITE_NETWORKCFG=", writeAll = "AT+WRITEALL=";
    // clang-format off
    row(eth, "AT+READALL", "+READALL=" + EthDefaults + "\r\n");
    row(eth, "AT+READ_NETWORKCFG", "+READ_NETWORKCFG=00:1A:2B:3C:4D:5E," + NetDefaults + "\r\n");
    row(eth, "AT+CURRENT_IP", "+CURRENT_IP=335587520\r\n"); // 192.168.0.20, least significant byte first
    row(eth, setNet + with(with(NetDefaults, 3, "1"), 4, "200") + "|AT+CURRENT_IP", "+CURRENT_IP=-939415360\r\n"); // 192.168.1.200
    row(eth, setNet + "1,255,255,255,255" + NetDefaults.mid(14) + "|AT+CURRENT_IP", "+CURRENT_IP=-1\r\n");
    row(eth, setNet + with(NetDefaults, 0, "0") + "|AT+CURRENT_IP", "+CURRENT_IP=1677764800\r\n"); // the DHCP lease 192.168.0.100
    row(eth, "AT+DEVINFO", "+DEVINFO=QV-E24-000417,00:1A:2B:3C:4D:5E,1,1,2,1,3,1,0,7\r\n");
    row(eth, "AT+PING", Ping);
    row(eth, "AT+RESTART", "+RESTART\r\n", Action::Restart);
    row(eth, "AT+WRITEALL=" + EthDefaults + ",1", "+ERR=COUNT 24/23\r\n");
    row(eth, setNet + "00:1A:2B:3C:4D:5E," + NetDefaults, "+ERR=COUNT 22/21\r\n");
    row(eth, setNet + with(NetDefaults, 4, "256"), "+ERR=VALUE 5 OUT OF RANGE\r\n");
    row(eth, setNet + with(NetDefaults, 0, "2"), "+ERR=VALUE 1 OUT OF RANGE\r\n");
    row(eth, "AT+232CLOSE", unknown);
    row(eth, "AT+485EN", unknown);
    row(eth, "AT+readall", unknown);
    row(eth, "AT+PING=1", "+ERR=UNEXPECTED VALUES\r\n");
    row(gsm, "AT+READALL", "+READALL=" + GsmDefaults + "\r\n");
    row(gsm, "AT+CURRENT_IP", "+CURRENT_IP=118243338\r\n"); // 10.64.12.7
    row(gsm, "AT+DEVINFO", "+DEVINFO=QV-G24-000093,356938035643809,2,1,2,1,4,1,0,7\r\n");
    row(gsm, "AT+PING", Ping);
    row(gsm, "AT+RESTART", "+RESTART\r\n", Action::Restart);
    row(gsm, "AT+232CLOSE", "+232CLOSE\r\n", Action::Close232);
    row(gsm, "AT+485CLOSE", "+485CLOSE\r\n", Action::Close485);
    row(gsm, "AT+WRITEALL=" + EthDefaults, "+ERR=COUNT 23/30\r\n");
    row(gsm, "AT+WRITEALL", "+ERR=COUNT 0/30\r\n");
    row(gsm, "AT+READ_NETWORKCFG", unknown);
    row(gsm, setNet + NetDefaults, unknown);
    // clang-format on
    // The modem stores at its limits and refuses past them what the configurator refuses to read.
    for (const ModemKind kind : { eth, gsm }) {
        const QByteArray all = kind == gsm ? GsmDefaults : EthDefaults;
        for (const ParameterSpec& param :
            ParameterTable::parameters(kind == gsm ? AtProtocol::eTCP485 : AtProtocol::eETH)) {
            const FieldRule& r = *param.rule;
            const QByteArray refused = "+ERR=VALUE " + QByteArray::number(param.position + 1);
            for (const int v : { r.min, r.max, r.min - 1, r.max + 1 }) {
                const QByteArray reason = v < 0 ? " NOT A NUMBER\r\n" : " OUT OF RANGE\r\n";
                if (r.limited)
                    row(kind, writeAll + with(all, param.position, QByteArray::number(v)),
                        v < r.min || v > r.max ? refused + reason : "+OK\r\n");
            }
        }
        for (const char* bad : { "abc", "+1", " 1", "1.0", "", "4294967296" }) // the Modbus timeout
            row(kind, writeAll + with(all, 9, bad), "+ERR=VALUE 10 NOT A NUMBER\r\n");
        row(kind, writeAll + with(all, 9, "65535"), "+OK\r\n");
        row(kind, writeAll + with(all, 9, "65536"), "+ERR=VALUE 10 OUT OF RANGE\r\n");
    }
    // clang-format off
    row(gsm, writeAll + with(GsmDefaults, 13, "7200"), "+OK\r\n"); // ping interval in seconds
    row(gsm, writeAll + with(GsmDefaults, 28, ""), "+OK\r\n");
    row(gsm, writeAll + with(GsmDefaults, 28, "şebeke"), "+OK\r\n");
    row(gsm, writeAll + with(GsmDefaults, 28, "a\nb"), "+ERR=VALUE 29 BAD TEXT\r\n");
    row(gsm, writeAll + with(GsmDefaults, 28, "a\rb"), "+ERR=VALUE 29 BAD TEXT\r\n");
    row(gsm, writeAll + with(GsmDefaults, 28, "a,b"), "+ERR=COUNT 31/30\r\n");
    // clang-format on
}

void TestModemSim::requests()
{
    QFETCH(ModemKind, kind);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, answer);
    QFETCH(int, action);
    ModemCore core(kind);
    const auto state
        = [&core] { return core.config().valueList() + ' ' + core.network().valueList(); };
    QByteArray before;
    ModemCore::Reply reply;
    for (const QByteArray& line : request.split('|'))
        before = state(), reply = core.handleRequest(line);
    QCOMPARE(reply.answer, answer);
    QCOMPARE(int(reply.action), action);
    // A refused write changes nothing; an accepted one stores what it carried.
    if (answer.startsWith("+ERR"))
        QCOMPARE(state(), before);
    if (answer == "+OK\r\n")
        QVERIFY(state().contains(request.mid(request.indexOf('=') + 1)));
}

void TestModemSim::knobs_data()
{
    QTest::addColumn<QString>("args");
    QTest::addColumn<QString>("steps");
    const QString plain = "0:+PING\\r\\n";
    // clang-format off
    QTest::newRow("none") << "" << plain + "|" + plain;
    QTest::newRow("delay and split") << "--delay 250 --split 40" << "250:+PI/40:NG\\r\\n|250:+PI/40:NG\\r\\n";
    QTest::newRow("split without pause") << "--split 0" << "0:+PI/0:NG\\r\\n|0:+PI/0:NG\\r\\n";
    QTest::newRow("unterminated") << "--unterminated --split 10" << "0:+P/10:ING|0:+P/10:ING";
    QTest::newRow("drop mid answer wins over split") << "--drop-mid-answer --split 10" << "0:+PI close|0:+PI close";
    QTest::newRow("garbage") << "--garbage --split 10" << "0:#3/10:#4|0:#3/10:#4";
    QTest::newRow("garbage never") << "--garbage-rate 0" << plain + "|" + plain;
    QTest::newRow("silent") << "--silent" << "-|-";
    QTest::newRow("answer after") << "--answer-after 1" << "-|" + plain;
    QTest::newRow("drop after") << "--drop-after 2" << plain + "|" + plain + "|drop";
    QTest::newRow("rate above 1") << "--fault-rate 1.5" << "error";
    // clang-format on
}

void TestModemSim::knobs()
{
    QFETCH(QString, args);
    QFETCH(QString, steps);
    QCOMPARE(plan(args), steps);
}

// A fault rate of 1 faults every answer, each of the four ways, as the seed replays.
void TestModemSim::randomFaults()
{
    const QStringList faults = plan("--fault-rate 1 --seed 4242", 200).split('|');
    QCOMPARE(faults, plan("--fault-rate 1 --seed 4242", 200).split('|'));
    QVERIFY(faults != plan("--fault-rate 1 --seed 4243", 200).split('|'));
    QCOMPARE(QSet<QString>(faults.begin(), faults.end()),
        QSet<QString>({ "0:+PI/100:NG\\r\\n", "0:#7", "silence", "0:+PI close" }));
}

// Requests in pieces, the first one ignored, a close after the third: the
// answers leave in order, split, each after-effect after its answer.
void TestModemSim::session()
{
    FaultOptions options;
    options.splitMs = 20;
    options.answerAfter = 1;
    options.dropAfter = 3;
    FaultPlanner planner(options);
    ModemCore core(ModemKind::Gsm);
    SimSession session(core, planner, "test");
    QStringList events;
    connect(&session, &SimSession::transmit, [&](const QByteArray& bytes) { events << bytes; });
    connect(&session, &SimSession::actionRequested,
        [&](ModemCore::Action a) { events << QString("action %1").arg(int(a)); });
    connect(&session, &SimSession::closeRequested, [&] { events << "close"; });
    session.receive("AT+WRITEALL=" + with(GsmDefaults, 0, "0") + "\r\nAT+232CL");
    session.receive("OSE\r\nAT+PING\r\nAT+PING\r\n");
    QTRY_COMPARE(events.size(), 6);
    QCOMPARE(events, QStringList({ "+232C", "LOSE\r\n", "action 3", "+PI", "NG\r\n", "close" }));
    QCOMPARE(core.config().valueList(), GsmDefaults); // the modem never heard the write
    QCOMPARE(session.requestCount(), 3);
}

// The built program: TCP and the USB pty reach one modem; writes are journalled.
void TestModemSim::process()
{
#ifndef QUORVANE_MODEMSIM
    QSKIP("the simulator is not part of this build");
#endif
    SimProcess sim;
    QVERIFY(sim.start("eth"));
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, sim.configPort);
    QVERIFY(socket.waitForConnected(5000));
    QCOMPARE(ask(socket, "AT+READALL"), "+READALL=" + EthDefaults + "\r\n");
    const QByteArray changed = with(EthDefaults, 1, "1502");
    QCOMPARE(ask(socket, "AT+WRITEALL=" + changed), QByteArray("+OK\r\n"));
    QCOMPARE(ask(socket, "AT+WRITEALL=1,2"), QByteArray("+ERR=COUNT 2/23\r\n"));
    QCOMPARE(ask(socket, "AT+READALL"), "+READALL=" + changed + "\r\n");
    QSerialPort serial(sim.pty);
    QVERIFY2(serial.open(QIODevice::ReadWrite), qPrintable(serial.errorString()));
    QCOMPARE(ask(serial, "AT+READALL"), "+READALL=" + changed + "\r\n");
    QFile journal(sim.journal);
    QVERIFY(journal.open(QIODevice::ReadOnly));
    QCOMPARE(journal.readAll(), "OK AT+WRITEALL=" + changed + "\nERR AT+WRITEALL=1,2\n");
}

QTEST_GUILESS_MAIN(TestModemSim)
#include "tst_modemsim.moc"
