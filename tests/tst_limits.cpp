// What a flooding modem can cost the program: a window on the TCP route
// neither freezes for a second nor grows by 64 MiB, and still answers after.
#include "kolvexconfigurator.h"
#include "modalanswerer.h"
#include "pendingbuffer.h"
#include "testmain.h"
#include "uitest.h"

#include <QLineEdit>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <atomic>
#include <memory>

using Writes = QList<QByteArray>;

namespace {

constexpr int KiB = 1024, MiB = 1024 * KiB;
constexpr qint64 MaxStallMs = 1000; // anything longer a person takes for a hang
constexpr qint64 MaxGrowthKiB = 64 * 1024; // the flood is a few MiB, held twice at most

// A modem on a thread of its own, so that what sending costs is not counted
// as the program's stall. It answers READALL, writes the flood once told to,
// and answers CURRENT_IP with 192.168.0.1 (least significant byte first).
class FloodModem
{
public:
    explicit FloodModem(Writes flood) : m_flood(std::move(flood))
    {
        m_thread.reset(QThread::create([this] { run(); }));
        m_thread->start();
        for (int i = 0; i < 1000 && m_port == 0; ++i)
            QThread::msleep(5);
    }
    ~FloodModem()
    {
        m_stop = true;
        m_thread->wait(10000);
    }
    quint16 port() const { return m_port; }
    std::atomic<bool> go { false }, sent { false };

private:
    void run()
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        m_port = server.serverPort();
        while (!m_stop && !server.hasPendingConnections())
            server.waitForNewConnection(20);
        std::unique_ptr<QTcpSocket> client(server.nextPendingConnection());
        QByteArray line;
        while (client && !m_stop && client->state() == QAbstractSocket::ConnectedState) {
            if (go && !sent) {
                for (const QByteArray& piece : m_flood) {
                    client->write(piece);
                    while (!m_stop && client->bytesToWrite() > 0)
                        client->waitForBytesWritten(50);
                }
                sent = true;
            }
            if (!client->waitForReadyRead(10))
                continue;
            line += client->readAll();
            for (int end; (end = line.indexOf("\r\n")) >= 0; line.remove(0, end + 2)) {
                const QByteArray request = line.left(end);
                client->write(request == "AT+READALL"
                        ? "+READALL=1,502,0,8,0,1,5,8,400,1000,5,1,503,0,8,0,1,5,8,400,1000,5,1\r\n"
                        : request == "AT+CURRENT_IP" ? "+CURRENT_IP=16820416\r\n" : "");
                client->waitForBytesWritten(1000);
            }
        }
    }

    const Writes m_flood;
    std::unique_ptr<QThread> m_thread;
    std::atomic<quint16> m_port { 0 };
    std::atomic<bool> m_stop { false };
};

// Resident memory of this process in KiB, -1 where /proc cannot tell.
qint64 residentKiB()
{
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    const QByteArray all = status.readAll();
    const int at = all.indexOf("VmRSS:");
    return at < 0 ? -1 : all.mid(at + 6, all.indexOf('\n', at) - at - 6).trimmed().split(' ').value(0).toLongLong();
}

Writes cut(const QByteArray& bytes, int piece)
{
    Writes pieces;
    for (int at = 0; at < bytes.size(); at += piece)
        pieces << bytes.mid(at, piece);
    return pieces;
}

} // namespace

class TestLimits : public QObject
{
    Q_OBJECT

private slots:

    void flood_data()
    {
        QTest::addColumn<Writes>("writes");
        const QByteArray error = "+ERR=" + QByteArray(MiB, 'x');
        const QByteArray pings = QByteArray("+PING\r\n").repeated(10000);
        QTest::newRow("1 MiB answer, terminated") << Writes { error + "\r\n" };
        QTest::newRow("1 MiB answer, unterminated") << Writes { error };
        QTest::newRow("1 MiB answer in 1 KiB writes, terminated") << cut(error + "\r\n", KiB);
        QTest::newRow("1 MiB answer in 1 KiB writes, unterminated") << cut(error, KiB);
        // Whole, so its text reaches the status bar of a window on screen.
        QTest::newRow("64 KiB error text") << Writes { "+ERR=" + QByteArray(64 * KiB, 'x') + "\r\n" };
        QTest::newRow("1 MiB read-all answer") << Writes { "+READALL=" + QByteArray(MiB / 2, ',') + "\r\n" };
        QTest::newRow("10000 answers in 10 writes") << cut(pings, pings.size() / 10);
        QTest::newRow("10000 answers in 10000 writes") << cut(pings, 7);
    }

    void flood()
    {
        QFETCH(Writes, writes);
        FloodModem modem(writes);
        QVERIFY(modem.port() != 0);
        ModalAnswerer boxes;
        KolvexConfigurator w(nullptr, KolvexConfigurator::eETHModem);
        w.show();
        connectTo(w, modem.port(), "Tcp");
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
        modem.go = true;
        QTRY_VERIFY_WITH_TIMEOUT(modem.sent, 30000);
        // Whatever the flood left unfinished goes to the parser after the hold;
        // an answer that came later and got joined to it would be lost.
        QTest::qWait(3 * PendingBuffer::HOLD_MS);
        auto* ip = control<QLineEdit>(w, "lineEdit_CurrentIpAddr");
        ip->clear();
        control<QPushButton>(w, "pushButton_GetIpAddr")->click();
        QTRY_COMPARE_WITH_TIMEOUT(ip->text(), QString("192.168.0.1"), 5000);
        longest = qMax(longest, clock.elapsed() - last);
        const qint64 after = residentKiB();
        qInfo("longest stall %lld ms, resident memory %lld KiB -> %lld KiB", longest, before, after);
        QVERIFY2(longest < MaxStallMs, qPrintable(QString("event loop stalled %1 ms").arg(longest)));
        QVERIFY2(after - before < MaxGrowthKiB, qPrintable(QString("grew by %1 KiB").arg(after - before)));
        QCOMPARE(w.connectionStatus(), CommSettings::TCP);
        QCOMPARE(boxes.count(), 0);
    }
};

QUORVANE_TEST_MAIN(TestLimits)
#include "tst_limits.moc"
