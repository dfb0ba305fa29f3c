// The simulated modem's misbehaviours, its request framing and its command line.

#include "faultplanner.h"
#include "requestassembler.h"
#include "simoptions.h"
#include "simsession.h"

#include <QSignalSpy>
#include <QtTest>

using namespace modemsim;

Q_DECLARE_METATYPE(modemsim::FaultOptions)

namespace {

const QByteArray Ping = "+PING\r\n";

QByteArray joined(const QVector<Step>& steps)
{
    QByteArray bytes;
    for (const Step& step : steps)
        bytes += step.bytes;
    return bytes;
}

QByteArray transmitted(const QSignalSpy& spy)
{
    QByteArray bytes;
    for (const QList<QVariant>& call : spy)
        bytes += call.at(0).toByteArray();
    return bytes;
}

// A hundred answers under a fault rate of one half: each fault and its bytes.
QList<QByteArray> faultReplay(quint32 seed)
{
    FaultOptions options;
    options.faultRate = 0.5;
    options.seed = seed;
    FaultPlanner planner(options);
    QList<QByteArray> events;
    for (int i = 0; i < 100; ++i) {
        const QByteArray bytes = joined(planner.deliver(Ping));
        events << QByteArray::number(int(planner.lastFault())) + ':' + bytes;
    }
    return events;
}

} // namespace

class TestModemSimKnobs : public QObject
{
    Q_OBJECT

private slots:
    void assembler_data();
    void assembler();
    void assemblerDropsNoise();
    void delivery_data();
    void delivery();
    void garbageHoldsNoFraming();
    void faultsFollowTheSeed();
    void faultRateExtremes();
    void sessionIgnoresAndDrops();
    void sessionKeepsOrderThroughSplitAndDelay();
    void sessionActsAfterItsAnswer();
    void options_data();
    void options();
};

void TestModemSimKnobs::assembler_data()
{
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<QList<QByteArray>>("lines");
    using L = QList<QByteArray>;
    QTest::newRow("whole") << L { "AT+PING\r\n" } << L { "AT+PING" };
    QTest::newRow("split in the keyword") << L { "AT+PI", "NG\r\n" } << L { "AT+PING" };
    QTest::newRow("split between CR and LF")
        << L { "AT+PING\r", "\nAT+DEVINFO\r\n" } << L { "AT+PING", "AT+DEVINFO" };
    QTest::newRow("two in one piece")
        << L { "AT+PING\r\nAT+READALL\r\n" } << L { "AT+PING", "AT+READALL" };
    QTest::newRow("no terminator yet") << L { "AT+PING" } << L {};
    QTest::newRow("empty lines skipped") << L { "\r\n\r\nAT+PING\r\n" } << L { "AT+PING" };
    QTest::newRow("lone LF is not an end") << L { "AT+PING\nX\r\n" } << L { "AT+PING\nX" };
}

void TestModemSimKnobs::assembler()
{
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(QList<QByteArray>, lines);
    RequestAssembler assembler;
    QList<QByteArray> got;
    for (const QByteArray& piece : pieces)
        got += assembler.feed(piece);
    QCOMPARE(got, lines);
}

void TestModemSimKnobs::assemblerDropsNoise()
{
    RequestAssembler assembler;
    QVERIFY(assembler.feed(QByteArray(RequestAssembler::MaxLine + 10, 'x') + '\r').isEmpty());
    QVERIFY(assembler.pendingSize() <= 1);
    QCOMPARE(assembler.discarded(), RequestAssembler::MaxLine + 10);
    // The CR kept from the noise closes the line; the next request is intact.
    QCOMPARE(assembler.feed("\nAT+PING\r\n"), QList<QByteArray> { "AT+PING" });
}

void TestModemSimKnobs::delivery_data()
{
    QTest::addColumn<FaultOptions>("options");
    QTest::addColumn<QVector<int>>("waits");
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<bool>("closes");
    using L = QList<QByteArray>;
    FaultOptions o;
    QTest::newRow("plain") << o << QVector<int> { 0 } << L { Ping } << false;
    o.delayMs = 250;
    QTest::newRow("delay") << o << QVector<int> { 250 } << L { Ping } << false;
    o.splitMs = 40;
    QTest::newRow("delay and split")
        << o << QVector<int> { 250, 40 } << L { "+PI", "NG\r\n" } << false;
    o = {};
    o.splitMs = 0;
    QTest::newRow("split without pause")
        << o << QVector<int> { 0, 0 } << L { "+PI", "NG\r\n" } << false;
    o = {};
    o.unterminated = true;
    QTest::newRow("unterminated") << o << QVector<int> { 0 } << L { "+PING" } << false;
    o.splitMs = 10;
    QTest::newRow("unterminated and split")
        << o << QVector<int> { 0, 10 } << L { "+P", "ING" } << false;
    o = {};
    o.dropMidAnswer = true;
    o.splitMs = 10; // dropping wins: there is no second half to send
    QTest::newRow("drop mid answer") << o << QVector<int> { 0 } << L { "+PI" } << true;
}

void TestModemSimKnobs::delivery()
{
    QFETCH(FaultOptions, options);
    QFETCH(QVector<int>, waits);
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(bool, closes);
    FaultPlanner planner(options);
    const QVector<Step> steps = planner.deliver(Ping);
    QCOMPARE(steps.size(), waits.size());
    for (int i = 0; i < steps.size(); ++i) {
        QCOMPARE(steps[i].waitMs, waits[i]);
        QCOMPARE(steps[i].bytes, pieces[i]);
    }
    QCOMPARE(steps.last().close, closes);
}

void TestModemSimKnobs::garbageHoldsNoFraming()
{
    FaultOptions options;
    options.garbage = true;
    options.seed = 7;
    FaultPlanner planner(options);
    const QByteArray answer = "+READALL=1,502,0,8,0,1,5,8,400,1000,5,1,503\r\n";
    for (int i = 0; i < 200; ++i) {
        const QByteArray bytes = joined(planner.deliver(answer));
        QCOMPARE(bytes.size(), answer.size());
        QVERIFY(!bytes.contains('+') && !bytes.contains('\r') && !bytes.contains('\n'));
    }
    options.garbageRate = 0.0;
    FaultPlanner never(options);
    QCOMPARE(joined(never.deliver(answer)), answer);
}

void TestModemSimKnobs::faultsFollowTheSeed()
{
    QCOMPARE(faultReplay(4242), faultReplay(4242));
    QVERIFY(faultReplay(4242) != faultReplay(4243));
}

void TestModemSimKnobs::faultRateExtremes()
{
    FaultOptions options;
    options.seed = 1;
    options.faultRate = 1.0;
    FaultPlanner always(options);
    QSet<int> seen;
    for (int i = 0; i < 200; ++i) {
        const QVector<Step> steps = always.deliver(Ping);
        seen.insert(int(always.lastFault()));
        switch (always.lastFault()) {
        case FaultPlanner::Fault::Split:
            QCOMPARE(steps.size(), 2);
            QCOMPARE(steps[1].waitMs, FaultPlanner::DefaultSplitMs);
            QCOMPARE(joined(steps), Ping);
            break;
        case FaultPlanner::Fault::Garbage:
            QVERIFY(!joined(steps).contains('+'));
            break;
        case FaultPlanner::Fault::Silence:
            QVERIFY(steps.isEmpty());
            break;
        case FaultPlanner::Fault::Drop:
            QVERIFY(steps.last().close);
            break;
        case FaultPlanner::Fault::None:
            QFAIL("a rate of 1 must fault every answer");
        }
    }
    QCOMPARE(seen.size(), 4);
    options.faultRate = 0.0;
    FaultPlanner never(options);
    for (int i = 0; i < 50; ++i)
        QCOMPARE(joined(never.deliver(Ping)), Ping);
}

void TestModemSimKnobs::sessionIgnoresAndDrops()
{
    FaultOptions options;
    options.answerAfter = 2;
    options.dropAfter = 4;
    FaultPlanner planner(options);
    ModemCore core(ModemKind::Ethernet);
    SimSession session(core, planner, "test");
    QSignalSpy sent(&session, &SimSession::transmit);
    QSignalSpy closed(&session, &SimSession::closeRequested);
    // An ignored write is not carried out either: the modem never heard it.
    session.receive("AT+WRITEALL=0,1,0,8,0,1,5,8,400,1000,5,1,503,0,8,0,1,5,8,400,1000,5,1\r\n"
                    "AT+PING\r\n");
    QCOMPARE(sent.count(), 0);
    session.receive("AT+PING\r\nAT+READALL\r\nAT+PING\r\n");
    QCOMPARE(transmitted(sent), "+PING\r\n" + core.handleRequest("AT+READALL").answer);
    QVERIFY(core.config().values().at(0) == "1");
    QCOMPARE(closed.count(), 1);
    QVERIFY(session.isClosed());
    QCOMPARE(session.requestCount(), 4); // the fifth came after the drop
}

void TestModemSimKnobs::sessionKeepsOrderThroughSplitAndDelay()
{
    FaultOptions options;
    options.delayMs = 30;
    options.splitMs = 60;
    FaultPlanner planner(options);
    ModemCore core(ModemKind::Gsm);
    SimSession session(core, planner, "test");
    QSignalSpy sent(&session, &SimSession::transmit);
    QElapsedTimer clock;
    clock.start();
    session.receive("AT+PING\r\nAT+485CLOSE\r\n");
    QCOMPARE(sent.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(sent.count(), 4, 5000);
    QVERIFY(clock.elapsed() >= 2 * (30 + 60));
    QCOMPARE(transmitted(sent), QByteArray("+PING\r\n+485CLOSE\r\n"));
}

void TestModemSimKnobs::sessionActsAfterItsAnswer()
{
    FaultOptions options;
    options.splitMs = 20;
    FaultPlanner planner(options);
    ModemCore core(ModemKind::Gsm);
    SimSession session(core, planner, "test");
    QList<QByteArray> events;
    connect(&session, &SimSession::transmit, this, [&](const QByteArray& b) { events << b; });
    connect(&session, &SimSession::actionRequested, this,
        [&](ModemCore::Action a) { events << "action " + QByteArray::number(int(a)); });
    session.receive("AT+232CLOSE\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(events.size(), 3, 5000);
    QCOMPARE(events[0] + events[1], QByteArray("+232CLOSE\r\n"));
    QCOMPARE(events[2], "action " + QByteArray::number(int(ModemCore::Action::Close232)));
}

void TestModemSimKnobs::options_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("check");
    const int run = int(ParseOutcome::Run), err = int(ParseOutcome::Error);
    QTest::newRow("defaults") << QStringList {} << run << "eth 127.0.0.1 10502 10500 10501";
    QTest::newRow("gsm ephemeral")
        << QStringList { "--kind", "gsm", "--port485", "0", "--port232", "0" } << run << "gsm 0 0";
    QTest::newRow("help") << QStringList { "--help" } << int(ParseOutcome::Help) << "";
    QTest::newRow("bad kind") << QStringList { "--kind", "lte" } << err << "";
    QTest::newRow("pty on gsm") << QStringList { "--kind", "gsm", "--pty" } << err << "";
    QTest::newRow("pty link implies pty") << QStringList { "--pty-link", "/tmp/x" } << run << "pty";
    QTest::newRow("port too big") << QStringList { "--config-port", "65536" } << err << "";
    QTest::newRow("rate above 1") << QStringList { "--fault-rate", "1.5" } << err << "";
    QTest::newRow("drop after 0") << QStringList { "--drop-after", "0" } << err << "";
    QTest::newRow("negative delay") << QStringList { "--delay", "-5" } << err << "";
    QTest::newRow("stray argument") << QStringList { "gsm" } << err << "";
    QTest::newRow("unknown option") << QStringList { "--bogus" } << err << "";
    QTest::newRow("knobs") << QStringList { "--silent", "--split", "25", "--garbage-rate", "0.5",
        "--seed", "4000000000", "--answer-after", "3" }
                           << run << "knobs";
}

void TestModemSimKnobs::options()
{
    QFETCH(QStringList, args);
    QFETCH(int, outcome);
    QFETCH(QString, check);
    SimOptions o;
    QString message;
    QCOMPARE(int(parseOptions(QStringList { "quorvane-modemsim" } + args, &o, &message)), outcome);
    if (outcome == int(ParseOutcome::Help))
        QVERIFY(message.contains("--fault-rate") && message.contains("READY kind="));
    if (outcome == int(ParseOutcome::Error))
        QVERIFY(!message.isEmpty());
    if (check.startsWith("eth"))
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5")
                     .arg(kindName(o.kind), o.host)
                     .arg(o.configPort)
                     .arg(o.port485)
                     .arg(o.port232),
            check);
    if (check.startsWith("gsm"))
        QCOMPARE(
            QStringLiteral("%1 %2 %3").arg(kindName(o.kind)).arg(o.port485).arg(o.port232), check);
    if (check == "pty")
        QVERIFY(o.pty && o.ptyLink == "/tmp/x");
    if (check == "knobs") {
        QVERIFY(o.faults.silent && o.faults.garbage);
        QCOMPARE(o.faults.splitMs, 25);
        QCOMPARE(o.faults.garbageRate, 0.5);
        QCOMPARE(o.faults.seed, 4000000000u);
        QCOMPARE(o.faults.answerAfter, 3);
    }
}

QTEST_GUILESS_MAIN(TestModemSimKnobs)
#include "tst_modemsim_knobs.moc"
