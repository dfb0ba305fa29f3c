// Soak: many read, edit, write and read-back cycles against a simulated
// modem that misbehaves at random, is stopped for a while, restarted, or
// already busy with another client. Whatever happens on the way, no frame may
// reach the modem that the form did not show when "Apply Configuration" was
// pressed, and at the end the program must reconnect, hold what the modem
// holds, and have left no windows, sockets or timers behind.
//
//   QUORVANE_SOAK_CYCLES  cycles per modem kind (default 20; tools/soak.sh: 1000)
//   QUORVANE_SOAK_SEED    seed of the test's choices and of the simulator's faults
//   QUORVANE_SOAK_TRACE   set: print every step and every status text
#include "kolvexconfigurator.h"
#include "modalanswerer.h"
#include "simprocess.h"
#include "testmain.h"
#include "testsettings.h"
#include "transparentconfig.h"
#include "uitest.h"

#include <QtNetwork>
#include <QtTest>
#include <QtWidgets>

namespace {

using C = CommSettings;
// Loopback answers take milliseconds, a split one 100 ms more, and an unterminated one is let
// go after 300 ms. A tunnel polls 500, 1500 and 2500 ms after the connect, warns at 3500 ms.
// The sentinel is never written: the modbus timeout box snaps to its step of 10.
constexpr int AnswerWaitMs = 1500, TunnelPollMs = 4500, Sentinel = 105;
// The controls a user may change; edit() takes only the enabled ones.
const QRegularExpression Editable("^(checkBox_InfoResponse|lineEdit_APN|spinBox_(ModbusTimeout|EthTimeout|"
    "SilentInterval|Port|RetryCount|IntervalTime)_(485|232)|spinBox_(485|232)_Ping_Interval|"
    "comboBox_(Enable|Mod|Datab|Parityb|Stopb|Baud)_(485|232))$");
const bool Tracing = qEnvironmentVariableIsSet("QUORVANE_SOAK_TRACE");
template <typename F> bool waitFor(F done, int ms)
{
    for (QDeadlineTimer timer(ms); !done() && !timer.hasExpired();) QTest::qWait(5);
    return done();
}
int env(const char* name, int fallback) { const int v = qEnvironmentVariableIntValue(name); return v > 0 ? v : fallback; }

// One soak against one modem kind. A fault of the modem is not a defect, only how the
// program copes with it can be.
struct Soak
{
    explicit Soak(const QString& k) : kind(k) { }
    const QString kind;
    const int cycles = env("QUORVANE_SOAK_CYCLES", 20);
    const quint32 seed = quint32(env("QUORVANE_SOAK_SEED", 20240611));
    QRandomGenerator rnd { seed };
    SimProcess sim;
    QTemporaryDir dir; // holds the journal over all the simulator's restarts
    QObject squatters;
    KolvexConfigurator w { nullptr, kind == "eth" ? KolvexConfigurator::eETHModem : KolvexConfigurator::eGSMModem };
    ModalAnswerer answerer { { QMessageBox::Yes } };
    TransparentConfig* form = w.findChild<TransparentConfig*>();
    QSpinBox* sentinel = control<QSpinBox>(w, "spinBox_ModbusTimeout_485");
    QString route = kind == "eth" ? "Tcp" : "485";
    QStringList log, defects;
    QList<QStringList> applied; // writeAllValues() at each Apply click
    QMap<QString, int> n; // figures for the summary
    int done = 0;
    const char* step = "start";

    quint16 port() const { return route == "Tcp" ? sim.configPort : route == "485" ? sim.port485 : sim.port232; }
    bool up() const { return w.connectionStatus() == (route == "Tcp" ? C::TCP : route == "485" ? C::TCP485 : C::TCP232); }
    bool down() const { return w.connectionStatus() == C::Max; }
    QPushButton* button(const QString& name) { return control<QPushButton>(w, qPrintable("pushButton_" + name)); }
    bool logHas(const char* part) const { return log.join('\n').contains(part); }
    void note(const QString& t) { if (!t.isEmpty() && (log << t, Tracing)) qInfo() << kind << done << step << t; }
    // A text already shown is not shown again: each step starts from a blank status bar.
    void begin(const char* what) { step = what, w.SetStatusBarText({}, 0), log.clear(), note("begins"); }
    bool fail(const QString& what) { return defects << QString("%1, cycle %2, %3: %4").arg(kind).arg(done).arg(step, what), false; }
    bool waitDown() { return waitFor([&] { return down(); }, 3000) || fail("the route stays up"); }
    bool stopSim() { return begin("stop"), qDeleteAll(squatters.findChildren<QTcpSocket*>()), sim.stop(), waitDown(); }
    bool startSim(double faultRate, bool singleClient = false)
    {
        QStringList args { "--journal", dir.filePath("journal"), "--fault-rate", QString::number(faultRate), "--seed",
            QString::number(seed + 7919u * quint32(n["starts"]++) + (kind == "gsm")) };
        return sim.start(kind, singleClient ? args << "--single-client" : args) || fail("no simulator: " + sim.errorOutput());
    }
    bool connectRoute()
    {
        QPushButton* b = button(route + "Connect");
        if (up() || !waitFor([&] { return b->isEnabled(); }, 1000))
            return up();
        answerer.boxes.clear(), begin("connect"), connectTo(w, port(), route);
        const auto turnedAway = [&] { return logHas("ConnectionRefusedError") || logHas("Disconnected from")
            || answerer.lastText().startsWith("Bağlantı Sağlanamadı"); };
        waitFor([&] { return up() || turnedAway(); }, 1500);
        QTest::qWait(50); // a full modem accepts and drops at once
        return up();
    }
    // A tunnel opens the form only with the first answer to its own read poll, or with the
    // warning after three unanswered polls.
    bool read()
    {
        QPushButton* b = button("ReadConfiguration");
        if (!waitFor([&] { return b->isEnabled() || !up(); }, TunnelPollMs) || !up())
            return false;
        begin("read"), sentinel->setValue(Sentinel), b->click();
        waitFor([&] { return sentinel->value() != Sentinel || !up() || logHas("DataReceived Error")
            || logHas("Configuration refused"); }, AnswerWaitMs);
        // The form shows exactly what it read, or it would write something else back.
        return sentinel->value() != Sentinel && ++n["reads"] && (form->writeAllValues() == form->paramsAll()
            || fail("form " + form->writeAllValues().join(',') + " after reading " + form->paramsAll().join(',')));
    }
    // As the user would, one or two enabled controls: the value goes in, then the field reports
    // the edit done.
    void edit()
    {
        QList<QWidget*> free = w.findChildren<QWidget*>(Editable);
        free.erase(std::remove_if(free.begin(), free.end(), [](QWidget* x) { return !x->isEnabled(); }), free.end());
        for (int i = 1 + rnd.bounded(2); i > 0 && !free.isEmpty(); --i) {
            QWidget* x = free.takeAt(rnd.bounded(free.size()));
            if (auto* s = qobject_cast<QSpinBox*>(x))
                s->setValue(rnd.bounded(s->minimum(), s->maximum() + 1)), emit s->editingFinished();
            if (auto* l = qobject_cast<QLineEdit*>(x))
                l->setText(QString::number(rnd.generate(), 36) + ".x"), emit l->editingFinished();
            if (auto* c = qobject_cast<QComboBox*>(x)) c->setCurrentIndex(rnd.bounded(c->count()));
            if (auto* b = qobject_cast<QCheckBox*>(x)) b->toggle();
        }
    }
    // True when the modem acknowledged the write.
    bool apply()
    {
        if (!button("ConfigurationApply")->isEnabled())
            return false;
        begin("apply"), applied << form->writeAllValues(), button("ConfigurationApply")->click();
        waitFor([&] { return logHas("Successfully written") || logHas("Receive_Callback Error")
            || logHas("DataReceived Error") || !up(); }, AnswerWaitMs);
        return logHas("Successfully written") && ++n["writes accepted"];
    }
    // Connect, read, edit, apply, read back: true when all went through, and then the modem
    // must hold what was applied.
    bool roundTrip()
    {
        if (!connectRoute() || !read())
            return false;
        edit();
        const bool accepted = apply();
        return read() && accepted && (form->paramsAll() == applied.last()
            || fail("modem acknowledged " + applied.last().join(',') + " but holds " + form->paramsAll().join(',')));
    }
    // Every tenth cycle, or twentieth of a long run, the modem goes away for two cycles and
    // comes back; every other time busy with a client that took every port first.
    void cycle(int index)
    {
        const int period = qMax(10, cycles / 20), phase = index % period;
        const bool busy = phase == period - 2 && n["starts"] % 2;
        if ((phase == period - 4 && !stopSim()) || (phase == period - 2 && !startSim(0.1, busy)))
            return;
        for (quint16 p : { sim.configPort, sim.port485, sim.port232 })
            if (auto* squatter = busy && p ? new QTcpSocket(&squatters) : nullptr)
                squatter->connectToHost("127.0.0.1", p), squatter->waitForConnected(2000);
        if (phase == period - 1)
            qDeleteAll(squatters.findChildren<QTcpSocket*>());
        if (kind != "eth" && index % 5 == 4 && up()) // now and then over the other tunnel
            button(route + "Connect")->click(), route = route == "485" ? "232" : "485", waitDown();
        roundTrip();
    }
    // What a leak would make more of; the status bar makes and drops a timer with each message.
    QList<int> belongings() const
    {
        return { QApplication::topLevelWidgets().size(), w.findChildren<QDialog*>().size(), w.findChildren<QTcpSocket*>().size(),
            w.findChildren<QTimer*>().size() - w.statusBar()->findChildren<QTimer*>().size() };
    }
    // Warms up, runs the cycles, then one more round trip with faults off; returns the
    // belongings after the warm-up.
    QList<int> run()
    {
        // Repeated texts do not change the status bar: the form's are caught at the source too.
        QObject::connect(w.statusBar(), &QStatusBar::messageChanged, [this](const QString& t) { note(t); });
        QObject::connect(form, &TransparentConfig::WriteStatusBar, [this](const QString& t) { note(t); });
        w.show();
        for (int tries = 0; tries < 10 && !up() && (tries || startSim(0.1)); ++tries)
            connectRoute() && read();
        const QList<int> start = up() ? belongings() : (fail("no first connection"), QList<int>());
        for (n = { { "starts", 1 } }; done < cycles && defects.isEmpty();)
            cycle(done++);
        if (defects.isEmpty() && stopSim() && startSim(0) && !roundTrip())
            fail("no clean round trip once the modem behaves");
        return start;
    }
};

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        isolateSettings();
        // The offscreen platform warns at each message box shown; over a long run that would use
        // up Qt Test's quota of warnings and silence the figures.
        static const QtMessageHandler qtTest = qInstallMessageHandler(
            [](QtMsgType t, const QMessageLogContext& c, const QString& s) {
                if (t != QtWarningMsg || !s.contains("does not support propagateSizeHints")) qtTest(t, c, s);
            });
    }
    void soak_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("Ethernet modem over TCP") << "eth";
        QTest::newRow("GSM modem over its tunnels") << "gsm";
    }
    void soak()
    {
        QFETCH(QString, kind);
        Soak s(kind);
        const QList<int> start = s.run();
        QVERIFY2(s.defects.isEmpty(), qPrintable(QString("seed %1: %2").arg(s.seed).arg(s.defects.join("; "))));
        QTcpSocket raw; // a fresh READALL on a connection of its own agrees with the form
        raw.connectToHost("127.0.0.1", s.port());
        QVERIFY(raw.waitForConnected(3000) && raw.write("AT+READALL\r\n") > 0);
        QTRY_VERIFY_WITH_TIMEOUT(raw.canReadLine(), 3000);
        QCOMPARE(raw.readLine(), "+READALL=" + s.form->writeAllValues().join(',').toUtf8() + "\r\n");
        QFile file(s.dir.filePath("journal")); // the count of OK frames below tells a missing one
        const QStringList journal = QString(file.open(QIODevice::ReadOnly) ? file.readAll() : "").split('\n', Qt::SkipEmptyParts);
        // Every frame the modem got, the form showed at an Apply click: in click order, one per click at most.
        for (int i = 0, next = 0; i < journal.size(); ++i)
            QVERIFY2((next = s.applied.indexOf(journal[i].section('=', 1).split(','), next) + 1) > 0, qPrintable(journal[i]));
        QVERIFY(journal.filter(QRegularExpression("^OK ")).size() >= s.n["writes accepted"]);
        QCOMPARE(s.belongings(), start);
        qInfo() << kind << "seed" << s.seed << journal.size() << "frames" << s.n;
    }
};

QUORVANE_TEST_MAIN(TestSoak)
#include "tst_soak.moc"
