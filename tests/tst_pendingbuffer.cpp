#include "pendingbuffer.h"

#include <QSignalSpy>
#include <QtTest>

class TestPendingBuffer : public QObject
{
    Q_OBJECT

private slots:
    // Arrivals and the blocks they give, each separated by "|"; what waits.
    void assembly_data()
    {
        QTest::addColumn<QString>("arrivals");
        QTest::addColumn<QString>("blocks");
        QTest::addColumn<QString>("waiting");
        auto row = [](const char* name, const char* arrivals, const char* blocks,
                       const char* waiting = "") {
            QTest::newRow(name) << QString(arrivals) << QString(blocks) << QString(waiting);
        };
        row("whole", "+OK\r\n", "+OK\r\n");
        row("split inside CR LF", "+PING\r|\n", "+PING\r\n");
        // Two answers in one read stay one block, as the parser expects of a single arrival.
        row("two together", "+OK\r\n+PI|NG\r\n", "+OK\r\n+PING\r\n");
        row("two apart", "+OK\r\n|+PING\r\n", "+OK\r\n|+PING\r\n");
        row("tail waits", "+OK\r\n|+PI", "+OK\r\n", "+PI");
        row("empty arrivals", "|+OK\r\n|", "+OK\r\n");
    }

    void assembly()
    {
        QFETCH(QString, arrivals);
        QFETCH(QString, blocks);
        QFETCH(QString, waiting);
        PendingBuffer buffer;
        QStringList seen;
        connect(&buffer, &PendingBuffer::blockReady, [&](const QByteArray& b) { seen << b; });
        for (const QString& a : arrivals.split('|'))
            buffer.append(a.toUtf8());
        QCOMPARE(seen.join('|'), blocks);
        QCOMPARE(buffer.size(), waiting.size());
    }

    // An unterminated remainder goes out as it stands HOLD_MS after its first
    // byte, however slowly the modem keeps trickling.
    void holdCountsFromFirstByte()
    {
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
        QVERIFY(buffer.isEmpty());
    }

    // A remainder that reaches MAX_BYTES goes out at once; one cleared away
    // (the route closed) never does.
    void oversizedAndCleared()
    {
        PendingBuffer buffer;
        QSignalSpy spy(&buffer, &PendingBuffer::blockReady);
        buffer.append(QByteArray(PendingBuffer::MAX_BYTES - 1, 'a'));
        QCOMPARE(spy.count(), 0);
        buffer.append("b");
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.takeFirst().value(0).toByteArray().size(), PendingBuffer::MAX_BYTES);
        buffer.append("+REA");
        buffer.clear();
        QTest::qWait(2 * PendingBuffer::HOLD_MS);
        buffer.append("+OK\r\n");
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toByteArray(), QByteArray("+OK\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestPendingBuffer)
#include "tst_pendingbuffer.moc"
