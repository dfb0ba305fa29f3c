// What a hostile or broken modem can cost the program: a modem on the TCP
// route that floods it must neither freeze the window for more than a second
// nor make it hold more than PendingBuffer::MAX_BYTES of unfinished answer,
// and answers that run together into one block are refused rather than read
// wrongly. (The cap on device information dialogs is held by tst_receive.)
#include "residentmemory.h"
#include "testmain.h"
#include "uitest.h"
#include "kolvexconfigurator.h"
#include "modalanswerer.h"
#include "pendingbuffer.h"
#include "scriptedpeer.h"
#include "testsettings.h"
#include "transparentconfig.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>

using Writes = QList<QByteArray>;

namespace {

constexpr int KiB = 1024;
constexpr int MiB = 1024 * KiB;
// Long enough for anything a person would take for a hang.
constexpr qint64 MaxStallMs = 1000;
// Generous: the flood itself is a few MiB and is held twice at most.
constexpr qint64 MaxGrowthKiB = 64 * 1024;

const QByteArray ReadAllAnswer
    = "+READALL=1,502,0,8,0,1,5,8,400,1000,5,1,503,0,8,0,1,5,8,400,1000,5,1\r\n";
// 192.168.0.1, least significant byte first.
const QByteArray CurrentIpAnswer = "+CURRENT_IP=16820416\r\n";

// The longest time the event loop went without running a 10 ms timer.
class StallMeter
{
public:
    StallMeter()
    {
        QObject::connect(&m_tick, &QTimer::timeout, [this] {
            const qint64 now = m_clock.elapsed();
            m_longest = qMax(m_longest, now - m_last);
            m_last = now;
        });
        m_clock.start();
        m_tick.start(10);
    }
    qint64 longestMs() const { return qMax(m_longest, m_clock.elapsed() - m_last); }

private:
    QTimer m_tick;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

// A modem on a thread of its own, so that what sending costs is not counted
// as the program's stall. It answers the connect's READALL, writes the flood
// once told to, and answers every CURRENT_IP request with 192.168.0.1.
class FloodModem
{
public:
    explicit FloodModem(Writes flood)
        : m_flood(std::move(flood))
    {
        m_thread.reset(QThread::create([this] { run(); }));
        m_thread->start();
        QElapsedTimer clock;
        clock.start();
        while (m_port == 0 && clock.elapsed() < 5000)
            QThread::msleep(5);
    }
    ~FloodModem()
    {
        m_stop = true;
        m_thread->wait(10000);
    }

    quint16 port() const { return m_port; }
    void release() { m_go = true; }
    bool floodSent() const { return m_sent; }

private:
    void run()
    {
        QTcpServer server;
        if (!server.listen(QHostAddress::LocalHost, 0))
            return;
        m_port = server.serverPort();
        while (!m_stop && !server.hasPendingConnections())
            server.waitForNewConnection(20);
        if (m_stop)
            return;
        std::unique_ptr<QTcpSocket> client(server.nextPendingConnection());
        QByteArray line;
        while (!m_stop && client->state() == QAbstractSocket::ConnectedState) {
            if (m_go && !m_sent) {
                for (const QByteArray& piece : qAsConst(m_flood)) {
                    client->write(piece);
                    while (!m_stop && client->bytesToWrite() > 0)
                        client->waitForBytesWritten(50);
                }
                m_sent = true;
            }
            if (!client->waitForReadyRead(10))
                continue;
            line += client->readAll();
            int end;
            while ((end = line.indexOf("\r\n")) >= 0) {
                const QByteArray request = line.left(end);
                line.remove(0, end + 2);
                if (request == "AT+READALL")
                    client->write(ReadAllAnswer);
                else if (request == "AT+CURRENT_IP")
                    client->write(CurrentIpAnswer);
                client->waitForBytesWritten(1000);
            }
        }
    }

    const Writes m_flood;
    std::unique_ptr<QThread> m_thread;
    std::atomic<quint16> m_port { 0 };
    std::atomic<bool> m_go { false };
    std::atomic<bool> m_sent { false };
    std::atomic<bool> m_stop { false };
};

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
    void initTestCase() { isolateSettings(); }
    void pendingBufferStaysBounded_data();
    void pendingBufferStaysBounded();
    void floodKeepsWindowResponsive_data();
    void floodKeepsWindowResponsive();
    void answersRunTogetherAreRefused_data();
    void answersRunTogetherAreRefused();

private:
    void floods();
};

// Shared by the buffer on its own and by the window that holds four of them.
void TestLimits::floods()
{
    QTest::addColumn<Writes>("writes");
    const QByteArray text(MiB, 'x');
    const QByteArray error = "+ERR=" + text;
    QByteArray pings;
    for (int i = 0; i < 10000; ++i)
        pings += "+PING\r\n";

    QTest::newRow("1 MiB answer, terminated") << Writes { error + "\r\n" };
    QTest::newRow("1 MiB answer, unterminated") << Writes { error };
    QTest::newRow("1 MiB answer in 1 KiB writes, terminated") << cut(error + "\r\n", KiB);
    QTest::newRow("1 MiB answer in 1 KiB writes, unterminated") << cut(error, KiB);
    // Whole, so its text reaches the status bar of a window on screen.
    QTest::newRow("64 KiB error text") << Writes { "+ERR=" + QByteArray(64 * KiB, 'x') + "\r\n" };
    QTest::newRow("1 MiB read-all answer")
        << Writes { "+READALL=" + QByteArray(MiB / 2, ',') + "\r\n" };
    QTest::newRow("10000 answers in 10 writes") << cut(pings, pings.size() / 10);
    QTest::newRow("10000 answers in 10000 writes") << cut(pings, 7);
}

void TestLimits::pendingBufferStaysBounded_data()
{
    floods();
}

void TestLimits::pendingBufferStaysBounded()
{
    QFETCH(Writes, writes);
    PendingBuffer buffer;
    QByteArray released;
    int largestHeld = 0;
    connect(
        &buffer, &PendingBuffer::blockReady, [&](const QByteArray& block) { released += block; });
    for (const QByteArray& piece : writes) {
        buffer.append(piece);
        largestHeld = qMax(largestHeld, buffer.size());
    }
    QVERIFY2(largestHeld <= PendingBuffer::MAX_BYTES, qPrintable(QString::number(largestHeld)));
    // Nothing is lost on the way, and what is left goes out after the hold.
    QTRY_VERIFY_WITH_TIMEOUT(buffer.isEmpty(), 5 * PendingBuffer::HOLD_MS);
    QCOMPARE(released.size(), writes.join().size());
    QVERIFY(released == writes.join());
}

void TestLimits::floodKeepsWindowResponsive_data()
{
    floods();
}

void TestLimits::floodKeepsWindowResponsive()
{
    QFETCH(Writes, writes);
    FloodModem modem(writes);
    QVERIFY(modem.port() != 0);
    ModalAnswerer boxes;
    KolvexConfigurator w(nullptr, KolvexConfigurator::eETHModem);
    w.show();
    connectTo(w, modem.port(), "Tcp");
    QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::TCP, 5000);
    // Settle first: the connect's own answer is not part of the flood.
    QTest::qWait(2 * PendingBuffer::HOLD_MS);
    const qint64 before = residentKiB();
    QVERIFY(before > 0);

    StallMeter stall;
    modem.release();
    QTRY_VERIFY_WITH_TIMEOUT(modem.floodSent(), 30000);
    // Whatever the flood left unfinished goes to the parser after the hold;
    // an answer that came later and got joined to it would be lost.
    QTest::qWait(3 * PendingBuffer::HOLD_MS);
    auto* ip = control<QLineEdit>(w, "lineEdit_CurrentIpAddr");
    ip->clear();
    control<QPushButton>(w, "pushButton_GetIpAddr")->click();
    QTRY_COMPARE_WITH_TIMEOUT(ip->text(), QString("192.168.0.1"), 5000);
    const qint64 longest = stall.longestMs();
    const qint64 after = residentKiB();

    qInfo("longest stall %lld ms, resident memory %lld KiB -> %lld KiB", longest, before, after);
    QVERIFY2(longest < MaxStallMs, qPrintable(QString("event loop stalled %1 ms").arg(longest)));
    QVERIFY2(after - before < MaxGrowthKiB,
        qPrintable(QString("resident memory grew by %1 KiB").arg(after - before)));
    QCOMPARE(w.connectionStatus(), CommSettings::TCP);
    QCOMPARE(boxes.count(), 0);
}

void TestLimits::answersRunTogetherAreRefused_data()
{
    QTest::addColumn<QByteArray>("block");
    const QByteArray other
        = "+READALL=0,602,1,7,1,2,7,9,500,2000,6,0,603,1,7,1,2,7,9,500,2000,6,0\r\n";
    QTest::newRow("two read-all answers") << ReadAllAnswer + other;
    QTest::newRow("read-all answer and write answer") << ReadAllAnswer + "+OK\r\n";
    QTest::newRow("short answer completed by the next") << "+READALL=1,502\r\n" + other;
}

// A slow first answer and a quick second one can reach the parser as one
// block. Its values would hold the second answer's head, read as 0: the
// form would show, and later write, a value the modem never had.
void TestLimits::answersRunTogetherAreRefused()
{
    QFETCH(QByteArray, block);
    ScriptedPeer peer;
    peer.reply = [](const QByteArray& request) {
        return request == "AT+READALL\r\n" ? ReadAllAnswer : QByteArray();
    };
    KolvexConfigurator w(nullptr, KolvexConfigurator::eETHModem);
    auto* form = w.findChild<TransparentConfig*>();
    QStringList shown;
    connect(form, &TransparentConfig::WriteStatusBar, [&](const QString& m) { shown << m; });
    connectTo(w, peer.port(), "Tcp");
    QTRY_COMPARE_WITH_TIMEOUT(form->paramsAll().size(), 23, 5000);
    const QStringList before = form->writeAllValues();
    QCOMPARE(before, form->paramsAll());

    const QString refused = "Configuration refused: more than one answer in one block";
    peer.send(block);
    QTRY_VERIFY_WITH_TIMEOUT(shown.contains(refused) || form->paramsAll() != before, 5000);
    QCOMPARE(form->writeAllValues(), before);
    QCOMPARE(form->paramsAll(), before);
    QVERIFY(shown.contains(refused));
}

QUORVANE_TEST_MAIN(TestLimits)
#include "tst_limits.moc"
