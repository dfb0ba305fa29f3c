// The built simulator as a process: its READY line, its ports and its USB pty.

#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const int WaitMs = 5000;

// One running simulator; terminated (and checked to end cleanly) by its owner.
class Simulator
{
public:
    ~Simulator()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(WaitMs);
        }
    }

    bool start(const QStringList& args)
    {
#ifdef QUORVANE_MODEMSIM
        process.start(QStringLiteral(QUORVANE_MODEMSIM), args);
#else
        Q_UNUSED(args)
#endif
        if (!process.waitForStarted(WaitMs))
            return false;
        QElapsedTimer clock;
        clock.start();
        while (!process.canReadLine() && clock.elapsed() < WaitMs)
            process.waitForReadyRead(100);
        const QString line = QString::fromUtf8(process.readLine()).trimmed();
        if (!line.startsWith("READY "))
            return false;
        for (const QString& field : line.mid(6).split(' ')) {
            const int eq = field.indexOf('=');
            ready[field.left(eq)] = field.mid(eq + 1);
        }
        return true;
    }

    quint16 port(const QString& key) const
    {
        return quint16(ready.value(key).toUInt());
    }

    bool stop()
    {
        process.terminate();
        return process.waitForFinished(WaitMs) && process.exitStatus() == QProcess::NormalExit
            && process.exitCode() == 0;
    }

    QProcess process;
    QMap<QString, QString> ready;
};

// Sends one request and collects bytes until the answer's CR LF.
QByteArray ask(QIODevice& device, const QByteArray& request)
{
    device.write(request + "\r\n");
    QByteArray answer;
    QElapsedTimer clock;
    clock.start();
    while (!answer.endsWith("\r\n") && clock.elapsed() < WaitMs) {
        if (device.bytesAvailable() > 0 || device.waitForReadyRead(100))
            answer += device.readAll();
    }
    return answer;
}

bool connectTo(QTcpSocket& socket, quint16 port)
{
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(WaitMs);
}

bool waitClosed(QTcpSocket& socket, int ms = WaitMs)
{
    return socket.state() == QAbstractSocket::UnconnectedState || socket.waitForDisconnected(ms);
}

} // namespace

class TestModemSimProcess : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void ethernetOverTcpAndPty();
    void gsmTunnelsCloseEachOther();
    void singleClientRefusesASecond();
    void ptyUnpluggedAfterRequests();
};

void TestModemSimProcess::init()
{
#ifndef QUORVANE_MODEMSIM
    QSKIP("the simulator is not part of this build");
#endif
}

void TestModemSimProcess::ethernetOverTcpAndPty()
{
    QTemporaryDir dir;
    const QString link = dir.filePath("ttyModem");
    const QString journal = dir.filePath("journal");
    Simulator sim;
    QVERIFY(sim.start({ "--config-port", "0", "--pty-link", link, "--journal", journal }));
    QCOMPARE(sim.ready.value("kind"), QString("eth"));
    QCOMPARE(sim.ready.value("port485"), QString("-"));
    QVERIFY(sim.port("config") > 0);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QFileInfo(link).symLinkTarget(), sim.ready.value("pty"));

    QTcpSocket socket;
    QVERIFY(connectTo(socket, sim.port("config")));
    const QByteArray before = ask(socket, "AT+READALL");
    QVERIFY2(before.startsWith("+READALL=1,502,"), before);
    QCOMPARE(before.count(','), 22);
    QByteArray changed = before.mid(9, before.size() - 11);
    changed.replace("1,502,", "1,1502,");
    QCOMPARE(ask(socket, "AT+WRITEALL=" + changed), QByteArray("+OK\r\n"));
    QCOMPARE(ask(socket, "AT+READALL"), "+READALL=" + changed + "\r\n");

    // The USB port reaches the same modem.
    QSerialPort serial;
    serial.setPortName(sim.ready.value("pty"));
    QVERIFY2(serial.open(QIODevice::ReadWrite), qPrintable(serial.errorString()));
    serial.setBaudRate(115200);
    QCOMPARE(ask(serial, "AT+READALL"), "+READALL=" + changed + "\r\n");
    QCOMPARE(ask(serial, "AT+PING"), QByteArray("+PING\r\n"));
    serial.close();

    QVERIFY(sim.stop());
    QVERIFY(!QFileInfo(link).isSymLink());
    QFile file(journal);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), "OK AT+WRITEALL=" + changed + "\n");
}

void TestModemSimProcess::gsmTunnelsCloseEachOther()
{
    Simulator sim;
    QVERIFY(sim.start({ "--kind", "gsm", "--port485", "0", "--port232", "0" }));
    QCOMPARE(sim.ready.value("config"), QString("-"));
    QCOMPARE(sim.ready.value("pty"), QString("-"));
    QTcpSocket tunnel485, tunnel232;
    QVERIFY(connectTo(tunnel485, sim.port("port485")));
    QVERIFY(connectTo(tunnel232, sim.port("port232")));
    QCOMPARE(ask(tunnel232, "AT+READALL").count(','), 29);
    QCOMPARE(ask(tunnel485, "AT+232CLOSE"), QByteArray("+232CLOSE\r\n"));
    QVERIFY(waitClosed(tunnel232));
    QCOMPARE(tunnel485.state(), QAbstractSocket::ConnectedState);
    // A restart drops everyone, but only after its answer has arrived.
    QCOMPARE(ask(tunnel485, "AT+RESTART"), QByteArray("+RESTART\r\n"));
    QVERIFY(waitClosed(tunnel485));
    QVERIFY(sim.stop());
}

void TestModemSimProcess::singleClientRefusesASecond()
{
    Simulator sim;
    QVERIFY(sim.start({ "--config-port", "0", "--single-client", "--split", "20" }));
    QTcpSocket first, second;
    QVERIFY(connectTo(first, sim.port("config")));
    QCOMPARE(ask(first, "AT+PING"), QByteArray("+PING\r\n"));
    QVERIFY(connectTo(second, sim.port("config")));
    QVERIFY(waitClosed(second));
    QCOMPARE(ask(first, "AT+PING"), QByteArray("+PING\r\n"));
    first.disconnectFromHost();
    QVERIFY(waitClosed(first));
    // The port is free again once the modem has seen its client leave.
    QByteArray answer;
    for (int attempt = 0; attempt < 20 && answer.isEmpty(); ++attempt) {
        QTcpSocket third;
        QVERIFY(connectTo(third, sim.port("config")));
        if (waitClosed(third, 100))
            continue;
        answer = ask(third, "AT+PING");
    }
    QCOMPARE(answer, QByteArray("+PING\r\n"));
    QVERIFY(sim.stop());
}

void TestModemSimProcess::ptyUnpluggedAfterRequests()
{
    QTemporaryDir dir;
    const QString link = dir.filePath("ttyModem");
    Simulator sim;
    QVERIFY(sim.start({ "--config-port", "0", "--pty-link", link, "--drop-after", "1" }));
    QSerialPort serial;
    serial.setPortName(link);
    QVERIFY(serial.open(QIODevice::ReadWrite));
    // The last answer still arrives before the cable goes.
    QCOMPARE(ask(serial, "AT+PING"), QByteArray("+PING\r\n"));
    QTRY_VERIFY_WITH_TIMEOUT(serial.error() != QSerialPort::NoError, WaitMs);
    QVERIFY(!QFileInfo(link).isSymLink());
    QVERIFY(sim.stop());
}

QTEST_GUILESS_MAIN(TestModemSimProcess)
#include "tst_modemsim_process.moc"
