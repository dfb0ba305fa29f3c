// quorvane-cli as a user runs it: every command and every route once against
// the simulator, a fleet in which only the faulty modems fail, and the
// command lines and files it must refuse before touching a modem.
#include "simprocess.h"
#include "testmain.h"

namespace {

struct Run
{
    int exit = -1;
    QString out, err;
    QList<QJsonObject> results; // the JSON Lines on standard output

    QString result(int i = 0) const { return results.value(i).value("result").toString(); }
};

Run cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(QUORVANE_CLI), args);
    Run run;
    if (!p.waitForFinished(60000))
        return run;
    run.exit = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.out = QString::fromUtf8(p.readAllStandardOutput());
    run.err = QString::fromUtf8(p.readAllStandardError());
    for (const QString& line : run.out.split('\n', Qt::SkipEmptyParts))
        run.results << QJsonDocument::fromJson(line.toUtf8()).object();
    return run;
}

QString tempFile(const QByteArray& text)
{
    static QTemporaryDir dir;
    static int n = 0;
    const QString path = dir.filePath(QString("f%1").arg(++n));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text);
    return path;
}

QStringList journal(const SimProcess& sim)
{
    QFile f(sim.journal);
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

const QString EthFile = QUORVANE_TESTDATA "/ethernet-every-value-changed.json";
const QString GsmFile = QUORVANE_EXAMPLES "/gsm.json";

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void commands_data()
    {
        columns<QString, QString, QStringList, int, QString, QString>(
            { "kind", "route", "args", "exit", "result", "journal" });
        const QString net = tempFile(R"({"dhcp": false, "ip": "10.1.2.3", "mask": "255.255.0.0",
            "gateway": "10.1.0.1", "dns1": "1.1.1.1", "dns2": "9.9.9.9"})");
        QTest::newRow("read tcp") << "eth" << "tcp" << QStringList { "read" } << 0 << "ok" << "";
        QTest::newRow("write serial") << "eth" << "serial" << QStringList { "write", EthFile } << 0 << "changed" << "OK AT+WRITEALL=";
        QTest::newRow("dry run tcp") << "eth" << "tcp" << QStringList { "write", "--dry-run", EthFile } << 1 << "would_change" << "";
        QTest::newRow("write 485 tunnel") << "gsm" << "485" << QStringList { "write", GsmFile } << 0 << "changed" << "OK AT+WRITEALL=";
        QTest::newRow("diff 232 tunnel") << "gsm" << "232" << QStringList { "diff", GsmFile } << 1 << "would_change" << "";
        QTest::newRow("info") << "eth" << "tcp" << QStringList { "info" } << 0 << "ok" << "";
        QTest::newRow("ping") << "gsm" << "232" << QStringList { "ping" } << 0 << "ok" << "";
        QTest::newRow("restart") << "eth" << "serial" << QStringList { "restart" } << 0 << "ok" << "";
        QTest::newRow("network read") << "eth" << "tcp" << QStringList { "network", "read" } << 0 << "ok" << "";
        QTest::newRow("network write") << "eth" << "serial" << QStringList { "network", "write", net } << 0 << "changed" << "OK AT+WRITE_NETWORKCFG=1,10,1,2,3,255,255,0,0,";
        QTest::newRow("silent") << "gsm" << "485" << QStringList { "--timeout", "1", "write", GsmFile } << 1 << "failed" << "";
    }

    void commands()
    {
        const auto [kind, route, args, exit, result, written]
            = fetch<QString, QString, QStringList, int, QString, QString>("kind", "route", "args", "exit", "result", "journal");
        SimProcess sim;
        QVERIFY(sim.start(kind, QString(QTest::currentDataTag()) == "silent" ? QStringList { "--silent" } : QStringList {}));
        const QStringList target = route == "tcp" ? QStringList { "--tcp", QString("127.0.0.1:%1").arg(sim.configPort) }
            : route == "serial"                   ? QStringList { "--serial", sim.pty }
            : QStringList { "--tunnel", QString("127.0.0.1:%1").arg(route == "485" ? sim.port485 : sim.port232), "--line", route };
        const Run run = cli(target + QStringList { "--json" } + args);
        QCOMPARE(run.exit, exit);
        QCOMPARE(run.results.size(), 1);
        QCOMPARE(run.result(), result);
        const QJsonObject r = run.results.first();
        if (result == "failed")
            QVERIFY2(r.value("reason").toString().contains("no answer within 1 s") && run.err.contains("no answer"), qPrintable(run.err));
        if (args.first() == "read")
            QCOMPARE(r.value("config").toObject().value("kind").toString(), QString("ethernet"));
        if (args.first() == "info")
            QVERIFY(!r.value("info").toObject().value("serial_number").toString().isEmpty());
        if (args.contains("read") && args.first() == "network")
            QCOMPARE(r.value("network").toObject().value("mask").toString(), QString("255.255.255.0"));
        if (result == "would_change")
            QVERIFY(r.value("differences").toArray().size() > 5);
        // One frame written, nothing when asked only to compare or read; the
        // same write again finds the modem as asked and writes nothing.
        if (result == "changed")
            QCOMPARE(cli(target + QStringList { "--json" } + args).result(), QString("unchanged"));
        const QStringList lines = journal(sim);
        QCOMPARE(lines.size(), written.isEmpty() ? 0 : 1);
        if (!written.isEmpty())
            QVERIFY2(lines.first().startsWith(written), qPrintable(lines.first()));
    }

    // Only the faulty modems fail, each with its own reason, and every other
    // one holds the file afterwards.
    void fleet()
    {
        SimProcess sim;
        const QString faults = tempFile("1 --silent\n2 --refuse-writes\n3 --drop-mid-answer\n4 --split 100\n");
        QVERIFY(sim.start("eth", { "--count", "6", "--faults", faults }));
        QString lines;
        for (int i = 0; i < 6; ++i)
            lines += QString("--tcp 127.0.0.1:%1\n").arg(sim.configPort + i);
        const QString targets = tempFile(lines.toUtf8()), report = tempFile({});
        const Run run = cli({ "--targets", targets, "--jobs", "3", "--timeout", "2", "--json", "--report", report, "write", EthFile });
        QCOMPARE(run.exit, 1);
        QStringList got;
        for (const QJsonObject& r : run.results)
            got << QString("%1 %2 %3").arg(r.value("target").toString().section(':', 1).toInt() - sim.configPort)
                       .arg(r.value("result").toString(), r.value("reason").toString());
        got.sort();
        QCOMPARE(got, QStringList({ "0 changed ", "1 failed no answer within 2 s", "2 failed the modem refused: REFUSED",
                          "3 failed the modem closed the connection", "4 changed ", "5 changed " }));
        QCOMPARE(run.err.count("quorvane-cli: "), 3);
        QFile file(report);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QJsonDocument::fromJson(file.readAll()).array().size(), 6);
        const QStringList written = journal(sim);
        QCOMPARE(written.filter(" OK AT+WRITEALL=").size(), 3);
        QCOMPARE(written.filter(" ERR AT+WRITEALL=").size(), 1);
        const Run again = cli({ "--targets", tempFile((lines.section('\n', 0, 0) + "\n" + lines.section('\n', 4, 5)).toUtf8()), "--json", "diff", EthFile });
        QCOMPARE(again.exit, 0);
        QCOMPARE(again.results.size(), 3);
    }

    // Connecting and reading are tried again, each time on a fresh connection.
    void retries()
    {
        SimProcess sim;
        QVERIFY(sim.start("eth", { "--silent", "--verbose" }));
        const Run run = cli({ "--tcp", QString("127.0.0.1:%1").arg(sim.configPort), "--timeout", "0.3", "--retries", "2", "read" });
        QCOMPARE(run.exit, 1);
        QCOMPARE(run.err, QString("quorvane-cli: 127.0.0.1:%1: no answer within 0.3 s\n").arg(sim.configPort));
        QString log;
        QTRY_COMPARE((log += sim.errorOutput()).count("connected from"), 3);
    }

    void refusals_data()
    {
        columns<QStringList, QString>({ "args", "reason" });
        const QString badFile = tempFile(R"({"format": 1, "kind": "ethernet"})");
        const QString targets = tempFile("--tcp 127.0.0.1:1\n# fine\n--tcp 127.0.0.1:2 --jobs 3\n");
        QTest::newRow("no route") << QStringList { "read" } << "no route";
        QTest::newRow("two routes") << QStringList { "--tcp", "a", "--serial", "/dev/x", "read" } << "one route only";
        QTest::newRow("line without tunnel") << QStringList { "--tcp", "a", "--line", "485", "read" } << "--line belongs to --tunnel";
        QTest::newRow("tunnel without port") << QStringList { "--tunnel", "a", "--line", "485", "read" } << "needs a port";
        QTest::newRow("port") << QStringList { "--tcp", "a:70000", "read" } << "port 70000 is not a port of 1-65535";
        QTest::newRow("command") << QStringList { "--tcp", "a", "frob" } << "unknown command frob";
        QTest::newRow("write without file") << QStringList { "--tcp", "a", "write" } << "write needs one FILE";
        QTest::newRow("force on read") << QStringList { "--tcp", "a", "--force", "read" } << "belong to write";
        QTest::newRow("jobs") << QStringList { "--tcp", "a", "--jobs", "0", "ping" } << "--jobs 0";
        QTest::newRow("network over tcp") << QStringList { "--tcp", "a", "network", "write", "x" } << "USB port only";
        QTest::newRow("network on 4G") << QStringList { "--tunnel", "a:1", "--line", "232", "network", "read" } << "no network settings";
        QTest::newRow("bad file") << QStringList { "--tcp", "127.0.0.1:1", "write", badFile } << "rs485: missing";
        QTest::newRow("file of the other kind") << QStringList { "--tunnel", "127.0.0.1:1", "--line", "485", "diff", EthFile } << "kind: the file is for an Ethernet modem";
        QTest::newRow("bad target line") << QStringList { "--targets", targets, "ping" } << "line 3: --jobs is not an option of a target line";
        QTest::newRow("read many to nowhere") << QStringList { "--targets", tempFile("--tcp a\n--tcp b\n"), "read" } << "needs -o DIR or --json";
    }

    void refusals()
    {
        const auto [args, reason] = fetch<QStringList, QString>("args", "reason");
        const Run run = cli(args);
        QCOMPARE(run.exit, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.section('\n', 0, 0).contains(reason), qPrintable(run.err));
        QVERIFY2(run.err.count('\n') <= 2, qPrintable(run.err));
    }

    void linksNoGui()
    {
        QProcess ldd;
        ldd.start("ldd", { QStringLiteral(QUORVANE_CLI) });
        QVERIFY(ldd.waitForFinished());
        const QByteArray libraries = ldd.readAllStandardOutput();
        QVERIFY(libraries.contains("libQt5Core"));
        QVERIFY2(!libraries.contains("Qt5Gui") && !libraries.contains("Qt5Widgets"), libraries.constData());
    }
};

QUORVANE_TEST_MAIN(TestCli)
#include "tst_cli.moc"
