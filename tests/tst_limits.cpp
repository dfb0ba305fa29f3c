// What a flooding modem can cost the program: a window on the TCP route
// neither freezes for a second nor grows by 64 MiB, and still answers after.
#include "simrig.h"

// Resident memory of this process in KiB, 0 where /proc cannot tell.
static qint64 residentKiB()
{
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    return QRegularExpression("VmRSS:\\s*(\\d+)").match(status.readAll()).captured(1).toLongLong();
}

class TestLimits : public QObject
{
    Q_OBJECT

private slots:
    // The simulator's --flood shape[:bytes per write], its answer to a ping.
    void flood_data()
    {
        QTest::addColumn<QString>("flood");
        QTest::newRow("1 MiB answer, terminated") << "err-1m";
        QTest::newRow("1 MiB answer, unterminated") << "err-1m-open";
        QTest::newRow("1 MiB answer in 1 KiB writes, terminated") << "err-1m:1024";
        QTest::newRow("1 MiB answer in 1 KiB writes, unterminated") << "err-1m-open:1024";
        QTest::newRow("64 KiB error text") << "err-64k"; // whole, so it reaches the status bar
        QTest::newRow("1 MiB read-all answer") << "readall-512k";
        QTest::newRow("10000 answers in 10 writes") << "ping-10000:7000";
        QTest::newRow("10000 answers in 10000 writes") << "ping-10000:7";
    }

    void flood()
    {
        QFETCH(QString, flood);
        SimRig rig;
        QVERIFY(rig.start("eth", { "--flood", flood }));
        KolvexConfigurator& w = *rig.w;
        w.show();
        rig.connectRoute("Tcp");
        QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::TCP, 5000);
        QTest::qWait(2 * PendingBuffer::HOLD_MS); // the connect's own answer is not part of the flood
        const qint64 before = residentKiB();
        QVERIFY(before > 0);

        // The longest time the event loop went without running a 10 ms timer.
        QElapsedTimer clock;
        qint64 last = 0, longest = 0;
        QTimer tick;
        connect(&tick, &QTimer::timeout, [&] { longest = qMax(longest, clock.elapsed() - last), last = clock.elapsed(); });
        clock.start();
        tick.start(10);
        control<QAction>(w, "actionPING")->trigger();
        // The simulator says so once its socket has passed the last byte on.
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT((said += rig.sim.errorOutput()).contains("flood sent"), 10000);
        // Whatever the flood left unfinished goes to the parser after the hold;
        // an answer that came later and got joined to it would be lost.
        QTest::qWait(3 * PendingBuffer::HOLD_MS);
        control<QPushButton>(w, "pushButton_GetIpAddr")->click();
        QTRY_COMPARE_WITH_TIMEOUT(control<QLineEdit>(w, "lineEdit_CurrentIpAddr")->text(), QString("192.168.0.20"), 5000);
        longest = qMax(longest, clock.elapsed() - last);
        const qint64 after = residentKiB();
        qInfo("longest stall %lld ms, resident memory %lld KiB -> %lld KiB", longest, before, after);
        // Anything longer a person takes for a hang; the flood is a few MiB, held twice at most.
        QVERIFY2(longest < 1000, qPrintable(QString("event loop stalled %1 ms").arg(longest)));
        QVERIFY2(after - before < 64 * 1024, qPrintable(QString("grew by %1 KiB").arg(after - before)));
        QCOMPARE(w.connectionStatus(), CommSettings::TCP);
        QCOMPARE(rig.boxes.count(), 0);
    }
};

QUORVANE_TEST_MAIN(TestLimits)
#include "tst_limits.moc"
