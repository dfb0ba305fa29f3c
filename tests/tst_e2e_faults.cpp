// A misbehaving modem or link, end to end: each fault is reported the way the
// program reports it, nothing of a bad answer reaches the form, and the
// program connects again once the modem behaves.
#include "simrig.h"
#include "testmain.h"

class TestE2eFaults : public QObject
{
    Q_OBJECT

private slots:

    void faults_data()
    {
        // report: the status text it shows, empty for none
        // box: the title of the one box it opens
        // values: what the form then holds
        columns<QString, QString, QString, QString, QString, int>({ "kind", "knobs", "route", "report", "box", "values" });
        QTest::newRow("silent modem over TCP") << "eth" << "--silent" << "Tcp" << "Disconnected from TCP" << "" << 0;
        QTest::newRow("split answer over TCP") << "eth" << "--split 100" << "Tcp" << "" << "" << 23;
        QTest::newRow("split answer over a tunnel") << "gsm" << "--split 100" << "485" << "" << "" << 30;
        QTest::newRow("unterminated over TCP") << "eth" << "--unterminated" << "Tcp" << "TCPDataReceived Error :err_EndChr" << "" << 0;
        QTest::newRow("unterminated over a tunnel") << "gsm" << "--unterminated" << "232" << "TCP232DataReceived Error :err_EndChr" << "" << 0;
        QTest::newRow("garbage over TCP") << "eth" << "--garbage" << "Tcp" << "TCPDataReceived Error :err_" << "" << 0;
        QTest::newRow("dropped mid-answer") << "eth" << "--drop-mid-answer" << "Tcp" << "Disconnected from TCP" << "" << 0;
        QTest::newRow("device closed under the program") << "eth" << "--drop-after 2" << "Usb" << "Disconnected from USB" << "Critical Error" << 23;
        QTest::newRow("second client on a tunnel") << "gsm" << "--single-client" << "485" << "Server can have connection Check server" << "" << 0;
        // Nothing read, nothing written: a 4G modem reached as an Ethernet one, an answer split past the hold time.
        QTest::newRow("4G modem over TCP") << "gsm" << "4G modem" << "Tcp" << "Configuration refused: this looks like a 4G modem" << "" << 0;
        QTest::newRow("split past the hold") << "eth" << "--split 500" << "Tcp" << "TCPDataReceived Error :err_BeginChr" << "" << 0;
        QTest::newRow("refused over TCP") << "eth" << "refused" << "Tcp" << "ConnectionRefusedError" << "" << 0;
        QTest::newRow("refused over a tunnel") << "gsm" << "refused" << "232" << "ConnectionRefusedError" << "Uyarı !" << 0;
    }

    void faults()
    {
        const auto [kind, knobs, route, report, box, values] = fetch<QString, QString, QString, QString, QString, int>("kind", "knobs", "route", "report", "box", "values");
        SimRig rig;
        QVERIFY(rig.start(kind, knobs.startsWith("--") ? knobs.split(' ') : QStringList(), knobs == "4G modem" ? "eth" : kind));
        if (knobs == "refused") // nobody listens on its ports any more
            rig.sim.stop();
        QTcpSocket first; // takes the only place of a single-client modem
        if (knobs == "--single-client") {
            first.connectToHost("127.0.0.1", rig.sim.port485);
            QVERIFY(first.waitForConnected(3000));
        }
        TransparentConfig* form = rig.form();
        knobs == "4G modem" ? connectTo(*rig.w, rig.sim.port485, route) : rig.connectRoute(route);
        if (knobs.startsWith("--drop-after")) { // the second request makes the modem close the device
            QTRY_COMPARE_WITH_TIMEOUT(form->paramsAll().size(), values, 5000);
            control<QPushButton>(*rig.w, "pushButton_ReadConfiguration")->click();
        }
        const bool down = !report.isEmpty() && !report.contains("DataReceived") && !report.contains("refused:");
        if (report.isEmpty())
            QTRY_COMPARE_WITH_TIMEOUT(form->paramsAll().size(), values, 5000);
        else
            // A silent modem is let go after 10 s, a busy tunnel reported after 8 s; the
            // rest report at once, and waiting longer would only slow a failing run.
            QTRY_VERIFY_WITH_TIMEOUT(rig.logged(report), (knobs == "--silent" || knobs == "--single-client" ? 15000 : 5000));
        // A half answer goes with its route, and a bad one is not read later.
        QTest::qWait(400);
        QCOMPARE(form->paramsAll().size(), values);
        QCOMPARE(rig.w->connectionStatus() == CommSettings::Max, down);
        QCOMPARE(form->isEnabled(), !down);
        QVERIFY2(report.contains("DataReceived") || !rig.logged("DataReceived Error"), qPrintable(rig.log.join('|')));
        QCOMPARE(rig.boxes.count(), box.isEmpty() ? 0 : 1);
        QCOMPARE(rig.boxes.lastTitle(), box);
        if (!down && route == "Tcp" && !values) {
            control<QPushButton>(*rig.w, "pushButton_ConfigurationApply")->click();
            QTRY_VERIFY(rig.logged("Read the configuration first: nothing has been read from this modem."));
            QTest::qWait(300);
            QCOMPARE(QFile(rig.sim.journal).size(), 0);
        }
        if (!down)
            control<QPushButton>(*rig.w, "pushButton_" + route + "Connect")->click();
        QTRY_COMPARE_WITH_TIMEOUT(rig.w->connectionStatus(), CommSettings::Max, 5000);
        QVERIFY(control(*rig.w, "pushButton_" + route + "Connect")->isEnabled());

        // Once the modem behaves, the same route comes up again; the wrong modem stays wrong.
        if (knobs == "4G modem")
            return;
        first.abort();
        rig.sim.stop();
        QVERIFY(rig.sim.start(kind));
        CommSettings::setExtraSerialDevice(rig.sim.pty);
        if (route == "Usb") // the list holds the old device until refreshed
            control<QPushButton>(*rig.w, "pushButton_RefreshCOM")->click();
        rig.connectRoute(route);
        QTRY_COMPARE_WITH_TIMEOUT(form->paramsAll().size(), kind == "eth" ? 23 : 30, 5000);
    }

    // A fleet of three modems given their own knobs by a faults file; a bad line is a usage error.
    void fleet_data()
    {
        columns<QString, QString>({ "faults", "error" });
        QTest::newRow("silent and refusing") << "# the first answers\n1 --silent\n\n2 --refuse-writes # and changes nothing\n" << "";
        QTest::newRow("index past the fleet") << "\n3 --silent\n" << ":2: wants a modem index from 0 to 2";
        QTest::newRow("bad knob") << "2 --silent\n0 --split soon" << ":2: --split wants a whole number";
    }

    void fleet()
    {
        const auto [faults, error] = fetch<QString, QString>("faults", "error");
        QTemporaryFile file;
        QVERIFY(file.open() && file.write(faults.toUtf8()) && file.flush());
        SimProcess sim;
        QCOMPARE(sim.start("eth", { "--count", "3", "--faults", file.fileName() }), error.isEmpty());
        QVERIFY2(error.isEmpty() || (sim.exitCode() == 2 && sim.errorOutput().contains(error.toUtf8())), qPrintable(error));
        if (!error.isEmpty())
            return;
        const auto ask = [&](int modem, const QByteArray& request) {
            QTcpSocket s;
            s.connectToHost("127.0.0.1", sim.configPort + modem);
            return s.waitForConnected(3000) && s.write(request + "\r\n") && s.waitForReadyRead(1000) ? s.readAll() : QByteArray();
        };
        const QByteArray factory = ask(2, "AT+READALL"), write = "AT+WRITEALL=" + factory.mid(9).trimmed().replace("1,502,", "1,1502,");
        QCOMPARE(ask(1, "AT+PING"), QByteArray());
        QCOMPARE(ask(0, write), QByteArray("+OK\r\n"));
        QCOMPARE(ask(2, "AT+READALL"), factory);
        QCOMPARE(ask(2, write), QByteArray("+ERR=REFUSED\r\n"));
        QVERIFY(ask(0, "AT+READALL").startsWith("+READALL=1,1502,"));
        QFile journal(sim.journal);
        QVERIFY(journal.open(QIODevice::ReadOnly) && journal.readAll() == "0 OK " + write + "\n2 ERR " + write + "\n");
    }
};

QUORVANE_TEST_MAIN(TestE2eFaults)
#include "tst_e2e_faults.moc"
