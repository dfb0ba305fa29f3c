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
#include "simrig.h"

static const int Cycles = qEnvironmentVariable("QUORVANE_SOAK_CYCLES", "20").toInt();
static const int Seed = qEnvironmentVariable("QUORVANE_SOAK_SEED", "20240611").toInt();
// Loopback answers take milliseconds, a split one 100 ms more, and an unterminated one is let
// go after 300 ms. A tunnel reads by itself with polls 500, 1500 and 2500 ms after the connect.
// No read shows the sentinel: the modbus timeout box snaps to its step of 10.
constexpr int AnswerWaitMs = 1500, TunnelPollMs = 3000, Sentinel = 105;

// One soak against one modem kind. A fault of the modem is not a defect, only how the
// program copes with it can be.
struct Soak
{
    explicit Soak(const QString& k) : kind(k), route(k == "eth" ? "Tcp" : "485") { }
    const QString kind;
    QString route;
    QRandomGenerator rnd { quint32(Seed) };
    QTemporaryDir dir; // holds the journal over all the simulator's restarts
    QList<QStringList> applied; // the form's values at each Apply click
    QMap<QString, int> n; // figures for the summary
    QStringList defects;
    QTcpSocket other; // another client: first on the program's port of a busy modem, last a reader
    SimRig rig; // last, so the window goes first

    QPushButton* button(const QString& name) { return control<QPushButton>(*rig.w, "pushButton_" + name); }
    quint16 port() const { return route == "Tcp" ? rig.sim.configPort : route == "485" ? rig.sim.port485 : rig.sim.port232; }
    bool up() const { return rig.w->connectionStatus() != CommSettings::Max; }
    void trace(const QString& text) { if (qEnvironmentVariableIsSet("QUORVANE_SOAK_TRACE") && !text.isEmpty()) qInfo() << n["cycles"] << text; }
    bool fail(const QString& what) { defects << QString("cycle %1: %2").arg(n["cycles"]).arg(what); return false; }
    bool same(const QStringList& a, const QStringList& b, const char* what) { return a == b || fail(QString(what).arg(a.join(','), b.join(','))); }
    bool waitDown() { return QTest::qWaitFor([&] { return !up(); }, 3000) || fail("the route stays up"); }
    bool stopSim() { trace("stop"); rig.sim.stop(); return waitDown(); }
    // The button of the connected tunnel disconnects it.
    bool switchTunnel() { button(route + "Connect")->click(); route = route == "485" ? "232" : "485"; return waitDown(); }

    // Each start has a seed of its own. A busy modem serves one client per port, and the other
    // client takes the program's port first.
    bool startSim(const char* faultRate, bool busy = false)
    {
        QStringList args { "--journal", dir.filePath("journal"), "--fault-rate", faultRate, "--seed", QString::number(Seed + n["starts"]++) };
        const bool started = rig.w ? rig.sim.start(kind, busy ? args << "--single-client" : args) : rig.start(kind, args);
        if (busy) other.connectToHost("127.0.0.1", port());
        return started || fail("no simulator: " + rig.sim.errorOutput());
    }
    // Each step starts from a blank status bar, where a text already shown would not show again,
    // and ends with its outcome or an error. True on the outcome.
    void begin(const char* step) { trace(step); rig.w->SetStatusBarText({}, 0); rig.log.clear(); }
    template <typename F> bool settle(F done, int ms) { return QTest::qWaitFor([&] { return done() || rig.logged("Error"); }, ms) && done(); }
    // A connect reads by itself: TCP asks at once, a tunnel polls. After a read the form shows
    // exactly what it read, or it would write something else back.
    bool read()
    {
        auto* sentinel = control<QSpinBox>(*rig.w, "spinBox_ModbusTimeout_485");
        sentinel->setValue(Sentinel);
        const bool connecting = !up();
        begin(connecting ? "connect" : "read");
        connecting ? rig.connectRoute(route) : button("ReadConfiguration")->click();
        if (!settle([&] { return sentinel->value() != Sentinel; }, connecting && route != "Tcp" ? TunnelPollMs : AnswerWaitMs)) return false;
        ++n["reads"];
        return same(rig.form()->writeAllValues(), rig.form()->paramsAll(), "form %1 after reading %2");
    }
    // As the user would, one or two enabled controls: a value goes in, then Return makes a box
    // or the line report the edit done.
    void edit()
    {
        QList<QWidget*> free = rig.form()->findChildren<QWidget*>(QRegularExpression("^(checkBox|comboBox|lineEdit|spinBox)_"));
        free.erase(std::remove_if(free.begin(), free.end(), [](QWidget* x) { return !x->isEnabled(); }), free.end());
        for (int i = 1 + rnd.bounded(2); i > 0 && !free.isEmpty(); --i) {
            QWidget* x = free.takeAt(rnd.bounded(free.size()));
            if (auto* s = qobject_cast<QSpinBox*>(x)) s->setValue(rnd.bounded(s->minimum(), s->maximum() + 1));
            if (auto* l = qobject_cast<QLineEdit*>(x)) l->setText(QString::number(rnd.generate(), 36) + ".x");
            if (auto* c = qobject_cast<QComboBox*>(x)) c->setCurrentIndex(rnd.bounded(c->count()));
            if (auto* b = qobject_cast<QCheckBox*>(x)) b->toggle();
            QTest::keyClick(x, Qt::Key_Return);
        }
    }
    // Read, edit, apply, read back: true when all went through, and then the modem holds what
    // was applied.
    bool roundTrip()
    {
        if (!read()) return false;
        edit();
        begin("apply");
        applied << rig.form()->writeAllValues();
        button("ConfigurationApply")->click();
        const bool accepted = settle([&] { return rig.logged("Successfully written"); }, AnswerWaitMs);
        n["writes accepted"] += accepted;
        return read() && accepted && same(rig.form()->paramsAll(), applied.last(), "modem holds %1 after acknowledging %2");
    }
    // Every tenth cycle, or twentieth of a long run, the modem goes away for two cycles and
    // comes back, every other time busy for a cycle: the other client leaves in time for the
    // modem to take the program next. Every fifth cycle the GSM modem changes tunnel.
    void cycle()
    {
        const int period = qMax(10, Cycles / 20), phase = n["cycles"] % period;
        if (phase == period - 4) stopSim();
        if (phase == period - 2) startSim("0.1", n["starts"] % 2);
        if (kind == "gsm" && n["cycles"] % 5 == 4 && up()) switchTunnel();
        roundTrip();
        if (other.isOpen()) { other.abort(); QTest::qWait(100); }
    }
    // What a leak would make more of: windows (dialogs among them), sockets and timers; the
    // status bar makes and drops a timer of its own with each message.
    QList<int> belongings() const { return { QApplication::topLevelWidgets().size(), rig.w->findChildren<QTcpSocket*>().size(),
        rig.w->findChildren<QTimer*>().size() - rig.w->statusBar()->findChildren<QTimer*>().size() }; }
    void run()
    {
        QVERIFY(startSim("0.1"));
        QObject::connect(rig.w->statusBar(), &QStatusBar::messageChanged, [this](const QString& text) { trace(text); });
        rig.w->show();
        const QList<int> start = belongings(); // before the first connection
        for (; n["cycles"] < Cycles && defects.isEmpty(); ++n["cycles"])
            cycle();
        // Then the modem behaves, and a round trip goes through.
        QVERIFY2(defects.isEmpty() && stopSim() && startSim("0") && roundTrip(), qPrintable(QString("seed %1, %2").arg(Seed).arg(defects.join("; "))));
        other.connectToHost("127.0.0.1", port()); // a READALL on a connection of its own agrees with the form
        QVERIFY(other.waitForConnected(3000) && other.write("AT+READALL\r\n") > 0 && other.waitForReadyRead(3000));
        QCOMPARE(other.readLine(), "+READALL=" + rig.form()->writeAllValues().join(',').toUtf8() + "\r\n");
        QFile file(dir.filePath("journal"));
        const QStringList frames = QString(file.open(QIODevice::ReadOnly) ? file.readAll() : "").split('\n', Qt::SkipEmptyParts);
        // Every frame the modem journaled, the form showed at an Apply click: in click order, one
        // per click at most.
        for (int i = 0, next = 0; i < frames.size(); ++i)
            QVERIFY2((next = applied.indexOf(frames[i].section('=', 1).split(','), next) + 1) > 0, qPrintable(frames[i]));
        // Fewer OK frames than acknowledged writes would be a write acknowledged but lost.
        QVERIFY(frames.filter(QRegularExpression("^OK ")).size() >= n["writes accepted"]);
        QCOMPARE(belongings(), start);
        qInfo() << kind << "seed" << Seed << frames.size() << "frames" << n;
    }
};

class TestSoak : public QObject
{
    Q_OBJECT

private slots:
    void ethernetModemOverTcp() { Soak("eth").run(); }
    void gsmModemOverItsTunnels() { Soak("gsm").run(); }
};

QUORVANE_TEST_MAIN(TestSoak)
#include "tst_soak.moc"
