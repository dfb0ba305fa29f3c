#include "pendingbuffer.h"

#include <QSignalSpy>
#include <QtTest>

using Blocks = QList<QByteArray>;

class TestPendingBuffer : public QObject
{
    Q_OBJECT

private slots:
    void assembly_data();
    void assembly();
    void unterminatedIsReleasedAfterHold();
    void holdCountsFromFirstByte();
    void oversizedIsReleasedAtOnce();
    void clearDropsWaitingBytes();
};

void TestPendingBuffer::assembly_data()
{
    QTest::addColumn<Blocks>("arrivals");
    QTest::addColumn<Blocks>("blocks");
    QTest::addColumn<QByteArray>("waiting");

    QTest::newRow("whole answer") << Blocks{"+OK\r\n"} << Blocks{"+OK\r\n"} << QByteArray();
    QTest::newRow("split in two") << Blocks{"+READALL=1,502,", "0,8\r\n"}
                                  << Blocks{"+READALL=1,502,0,8\r\n"} << QByteArray();
    QTest::newRow("split inside CR LF") << Blocks{"+PING\r", "\n"} << Blocks{"+PING\r\n"}
                                        << QByteArray();
    QTest::newRow("byte by byte") << Blocks{"+", "O", "K", "\r", "\n"} << Blocks{"+OK\r\n"}
                                  << QByteArray();
    // Two answers that end up in one read stay one block, as the parser
    // expects of a single arrival.
    QTest::newRow("two answers together")
        << Blocks{"+OK\r\n+PI", "NG\r\n"} << Blocks{"+OK\r\n+PING\r\n"} << QByteArray();
    QTest::newRow("two answers apart")
        << Blocks{"+OK\r\n", "+PING\r\n"} << Blocks{"+OK\r\n", "+PING\r\n"} << QByteArray();
    QTest::newRow("tail waits") << Blocks{"+OK\r\n", "+PI"} << Blocks{"+OK\r\n"}
                                << QByteArray("+PI");
    QTest::newRow("empty arrivals ignored") << Blocks{"", "+OK\r\n", ""} << Blocks{"+OK\r\n"}
                                            << QByteArray();
}

void TestPendingBuffer::assembly()
{
    QFETCH(Blocks, arrivals);
    QFETCH(Blocks, blocks);
    QFETCH(QByteArray, waiting);
    PendingBuffer buffer;
    Blocks seen;
    connect(&buffer, &PendingBuffer::blockReady, [&](const QByteArray& b) { seen << b; });
    for (const QByteArray& a : arrivals)
        buffer.append(a);
    QCOMPARE(seen, blocks);
    QCOMPARE(buffer.size(), waiting.size());
}

void TestPendingBuffer::unterminatedIsReleasedAfterHold()
{
    PendingBuffer buffer;
    QSignalSpy spy(&buffer, &PendingBuffer::blockReady);
    buffer.append("+READALL=1,2");
    QCOMPARE(spy.count(), 0);
    QVERIFY(spy.wait(5 * PendingBuffer::HOLD_MS));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toByteArray(), QByteArray("+READALL=1,2"));
    QVERIFY(buffer.isEmpty());
}

void TestPendingBuffer::holdCountsFromFirstByte()
{
    // A modem trickling a byte at a time must not keep the block back for
    // ever: the block goes out HOLD_MS after its first byte.
    PendingBuffer buffer;
    QSignalSpy spy(&buffer, &PendingBuffer::blockReady);
    QElapsedTimer clock;
    clock.start();
    while (spy.isEmpty() && clock.elapsed() < 10 * PendingBuffer::HOLD_MS) {
        buffer.append("x");
        QTest::qWait(PendingBuffer::HOLD_MS / 5);
    }
    QCOMPARE(spy.count(), 1);
    QVERIFY(spy.at(0).at(0).toByteArray().size() < 20);
}

void TestPendingBuffer::oversizedIsReleasedAtOnce()
{
    PendingBuffer buffer;
    QSignalSpy spy(&buffer, &PendingBuffer::blockReady);
    buffer.append(QByteArray(PendingBuffer::MAX_BYTES - 1, 'a'));
    QCOMPARE(spy.count(), 0);
    buffer.append("b");
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toByteArray().size(), PendingBuffer::MAX_BYTES);
    QVERIFY(buffer.isEmpty());
}

void TestPendingBuffer::clearDropsWaitingBytes()
{
    PendingBuffer buffer;
    QSignalSpy spy(&buffer, &PendingBuffer::blockReady);
    buffer.append("+REA");
    buffer.clear();
    QTest::qWait(2 * PendingBuffer::HOLD_MS);
    QCOMPARE(spy.count(), 0);
    buffer.append("+OK\r\n");
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toByteArray(), QByteArray("+OK\r\n"));
}

QTEST_GUILESS_MAIN(TestPendingBuffer)
#include "tst_pendingbuffer.moc"
