// Soak: many read, edit, write and read-back cycles against a simulated
// modem that misbehaves at random, is stopped for a while, restarted, or
// already busy with another client. Whatever happens on the way, no frame may
// reach the modem that the form did not show when "Apply Configuration" was
// pressed, and at the end the program must reconnect, hold what the modem
// holds, and have left no windows, sockets or timers behind.
//
//   QUORVANE_SOAK_CYCLES  cycles per modem kind (default 20; tools/soak.sh: 1000)
//   QUORVANE_SOAK_SEED    seed of the test's choices and of the simulator's faults
//   QUORVANE_SOAK_TRACE   set: print every step
#include "kolvexconfigurator.h"
#include "residentmemory.h"
#include "testmain.h"
#include "modalanswerer.h"
#include "simprocess.h"
#include "testsettings.h"
#include "transparentconfig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QStatusBar>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

constexpr int DefaultCycles = 20;
constexpr quint32 DefaultSeed = 20240611;
constexpr double FaultRate = 0.1;
// Loopback answers take milliseconds; a split answer 100 ms more, and an
// unterminated one is let go by the pending buffer after 300 ms.
constexpr int AnswerWaitMs = 1500;
constexpr int ConnectWaitMs = 1500;
// Three polls 500, 1500 and 2500 ms after the connect, the warning at 3500 ms.
constexpr int TunnelPollMs = 4500;
// Never written: the modbus timeout box steps by 10, and every value the
// soak writes went through that step.
constexpr int Sentinel = 105;

int envNumber(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

template <typename F> bool waitUntil(F done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        QTest::qWait(5);
    }
    return true;
}

struct RouteUi
{
    const char* ipField;
    const char* portField;
    const char* connectButton;
    CommSettings::eRoute_t route;
};

const RouteUi Tcp { "lineEdit_ServerIp", "lineEdit_ServerPort", "pushButton_TcpConnect",
    CommSettings::TCP };
const RouteUi Rs485 { "lineEdit_TcpServerIp", "lineEdit_ServerPort485", "pushButton_485Connect",
    CommSettings::TCP485 };
const RouteUi Rs232 { "lineEdit_TcpServerIp", "lineEdit_ServerPort232", "pushButton_232Connect",
    CommSettings::TCP232 };

// Controls a user may change; each is used only while it is enabled.
const char* const EditableSpins[] = {
    "spinBox_ModbusTimeout_485",
    "spinBox_ModbusTimeout_232",
    "spinBox_EthTimeout_485",
    "spinBox_EthTimeout_232",
    "spinBox_SilentInterval_485",
    "spinBox_SilentInterval_232",
    "spinBox_Port_485",
    "spinBox_Port_232",
    "spinBox_RetryCount_485",
    "spinBox_RetryCount_232",
    "spinBox_IntervalTime_485",
    "spinBox_IntervalTime_232",
    "spinBox_485_Ping_Interval",
    "spinBox_232_Ping_Interval",
};
const char* const EditableCombos[] = {
    "comboBox_Enable_485",
    "comboBox_Enable_232",
    "comboBox_Mod_485",
    "comboBox_Mod_232",
    "comboBox_Datab_485",
    "comboBox_Datab_232",
    "comboBox_Parityb_485",
    "comboBox_Parityb_232",
    "comboBox_Stopb_485",
    "comboBox_Stopb_232",
    "comboBox_Baud_485",
    "comboBox_Baud_232",
};

enum class Outcome { Done, Reported, Dropped, Silent, NotSent };

struct Figures
{
    int cycles = 0;
    int reads = 0;
    int writesAccepted = 0;
    int writesRefused = 0;
    int writesUnanswered = 0;
    int parserReports = 0;
    int drops = 0;
    int silences = 0;
    int reconnects = 0;
    int refusedReconnects = 0;
    int restarts = 0;
    int stops = 0;
    int faults() const { return parserReports + drops + silences; }
};

// One soak against one modem kind.
class SoakRun
{
public:
    SoakRun(const QString& kind, int cycles, quint32 seed)
        : m_kind(kind)
        , m_cycles(cycles)
        , m_seed(seed)
        , m_random(seed)
        , m_window(nullptr,
              kind == "eth" ? KolvexConfigurator::eETHModem : KolvexConfigurator::eGSMModem)
        , m_answerer({ QMessageBox::Yes })
    {
        m_form = m_window.findChild<TransparentConfig*>();
        m_sentinelBox = m_window.findChild<QSpinBox*>("spinBox_ModbusTimeout_485");
        const auto note = [this](const QString& text) {
            if (!text.isEmpty())
                m_log << text;
        };
        QObject::connect(m_window.statusBar(), &QStatusBar::messageChanged, note);
        // Repeated texts do not change the status bar; the form's own
        // reports are caught at the source as well.
        QObject::connect(m_form, &TransparentConfig::WriteStatusBar, note);
        m_journal = m_journalDir.filePath("journal");
        m_window.show();
    }

    // Fails the run with the first defect found; a fault of the modem is
    // not a defect, only how the program copes with it can be.
    QString defect;
    Figures figures;
    QStringList journalLines() const;
    QList<QStringList> applied; // writeAllValues() at each Apply click

    void run();

private:
    const RouteUi& route() const { return m_kind == "eth" ? Tcp : (m_use485 ? Rs485 : Rs232); }
    quint16 portOf(const RouteUi& r) const
    {
        return r.route == CommSettings::TCP   ? m_sim.configPort
            : r.route == CommSettings::TCP485 ? m_sim.port485
                                              : m_sim.port232;
    }
    template <typename T = QWidget> T* control(const char* name) const
    {
        T* found = m_window.findChild<T*>(name);
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    bool up() const { return m_window.connectionStatus() == route().route; }
    bool logHas(const QString& part) const;
    // A text that is already shown is not shown again, so each step starts
    // from a blank status bar and sees every report of its own.
    void clearLog()
    {
        m_window.SetStatusBarText(QString(), 0);
        m_log.clear();
    }
    bool fail(const QString& what);

    bool startSim(bool faults, bool singleClient);
    void stopSim();
    void squat();
    void cycle(int index);
    bool trace(const char* step, Outcome outcome);
    bool connectRoute();
    void disconnectRoute();
    Outcome read();
    Outcome missed(bool reported);
    void edit();
    void editOne(QWidget* control);
    Outcome apply();
    bool checkAgainstModem();
    bool checkJournal();

    // What the window holds that a leak would make more of.
    struct Belongings
    {
        int topLevels;
        int dialogs;
        int sockets;
        int timers;
        bool operator==(const Belongings& o) const
        {
            return topLevels == o.topLevels && dialogs == o.dialogs && sockets == o.sockets
                && timers == o.timers;
        }
    };
    Belongings belongings() const;

    const QString m_kind;
    const int m_cycles;
    const quint32 m_seed;
    QRandomGenerator m_random;
    SimProcess m_sim;
    bool m_simUp = false;
    bool m_use485 = true;
    bool m_weLeft = true; // the route is down because the test took it down
    QTemporaryDir m_journalDir;
    QString m_journal;
    std::vector<std::unique_ptr<QTcpSocket>> m_squatters;
    KolvexConfigurator m_window;
    ModalAnswerer m_answerer;
    TransparentConfig* m_form = nullptr;
    QSpinBox* m_sentinelBox = nullptr;
    QStringList m_log;
};

bool SoakRun::logHas(const QString& part) const
{
    for (const QString& text : m_log)
        if (text.contains(part))
            return true;
    return false;
}

bool SoakRun::fail(const QString& what)
{
    if (defect.isEmpty())
        defect = QString("%1, cycle %2: %3").arg(m_kind).arg(figures.cycles).arg(what);
    return false;
}

bool SoakRun::startSim(bool faults, bool singleClient)
{
    QStringList extra { "--journal", m_journal };
    if (faults)
        extra << "--seed"
              << QString::number(
                     m_seed + 7919u * quint32(figures.restarts) + (m_kind == "gsm" ? 1u : 0u))
              << "--fault-rate" << QString::number(FaultRate);
    if (singleClient)
        extra << "--single-client";
    m_simUp = m_sim.start(m_kind, extra);
    ++figures.restarts;
    return m_simUp || fail("the simulator did not start: " + m_sim.errorOutput());
}

void SoakRun::stopSim()
{
    m_squatters.clear();
    m_sim.stop();
    m_simUp = false;
    m_weLeft = true;
    ++figures.stops;
    if (!waitUntil([&] { return m_window.connectionStatus() == CommSettings::Max; }, 3000))
        fail("the program did not notice the modem going away");
}

// Another client takes every port first, so a single-client modem turns the
// program away.
void SoakRun::squat()
{
    for (quint16 port : { m_sim.configPort, m_sim.port485, m_sim.port232 }) {
        if (port == 0)
            continue;
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost("127.0.0.1", port);
        if (socket->waitForConnected(2000))
            m_squatters.push_back(std::move(socket));
    }
}

bool SoakRun::connectRoute()
{
    if (up())
        return true;
    if (!m_weLeft)
        ++figures.drops;
    m_weLeft = true;
    if (m_window.connectionStatus() != CommSettings::Max)
        disconnectRoute();
    if (m_kind != "eth")
        m_use485 = !m_use485;
    const RouteUi& r = route();
    for (int attempt = 0; attempt < 3; ++attempt) {
        clearLog();
        const int boxesBefore = m_answerer.count();
        auto* button = control<QPushButton>(r.connectButton);
        if (!waitUntil([&] { return button->isEnabled(); }, 1000))
            return fail(QString("%1 stays disabled").arg(r.connectButton));
        control<QLineEdit>(r.ipField)->setText("127.0.0.1");
        control<QLineEdit>(r.portField)->setText(QString::number(portOf(r)));
        button->click();
        const auto turnedAway = [&] {
            for (int i = boxesBefore; i < m_answerer.count(); ++i)
                if (m_answerer.boxes.at(i).text.startsWith("Bağlantı Sağlanamadı"))
                    return true;
            return logHas("ConnectionRefusedError") || logHas("Disconnected from");
        };
        waitUntil([&] { return up() || turnedAway(); }, ConnectWaitMs);
        // A full modem accepts and drops at once: give it the moment.
        QTest::qWait(50);
        if (up()) {
            ++figures.reconnects;
            m_weLeft = false;
            return true;
        }
        if (turnedAway()) {
            ++figures.refusedReconnects;
            // The failed attempt has to finish reporting before the next one.
            waitUntil([&] { return button->isEnabled(); }, 1000);
            return false;
        }
        // Connected but the first answer was lost: pressing again asks again.
    }
    ++figures.silences;
    return false;
}

void SoakRun::disconnectRoute()
{
    m_weLeft = true;
    const CommSettings::eRoute_t now = m_window.connectionStatus();
    const RouteUi& r = now == CommSettings::TCP ? Tcp : now == CommSettings::TCP485 ? Rs485 : Rs232;
    if (now != CommSettings::Max)
        control<QPushButton>(r.connectButton)->click();
    if (!waitUntil([&] { return m_window.connectionStatus() == CommSettings::Max; }, 3000))
        fail("the route does not go down when asked");
}

Outcome SoakRun::read()
{
    // A tunnel opens the form only with the first answer to its own read
    // poll, or with the warning after three unanswered polls.
    auto* button = control<QPushButton>("pushButton_ReadConfiguration");
    if (!waitUntil([&] { return button->isEnabled() || !up(); }, TunnelPollMs) || !up())
        return Outcome::NotSent;
    clearLog();
    m_sentinelBox->setValue(Sentinel);
    button->click();
    const bool answered = waitUntil(
        [&] {
            return m_sentinelBox->value() != Sentinel || !up() || logHas("DataReceived Error")
                || logHas("Configuration refused");
        },
        AnswerWaitMs);
    if (m_sentinelBox->value() != Sentinel) {
        ++figures.reads;
        // The form shows exactly what it read, or it would write something else back.
        if (m_form->writeAllValues() != m_form->paramsAll())
            fail(QString("form %1 after reading %2")
                     .arg(m_form->writeAllValues().join(','), m_form->paramsAll().join(',')));
        return Outcome::Done;
    }
    return missed(answered);
}

// What became of a request without a usable answer: the route went, the
// program reported a bad answer, or nothing came at all.
Outcome SoakRun::missed(bool reported)
{
    if (!up())
        return Outcome::Dropped;
    if (reported) {
        ++figures.parserReports;
        return Outcome::Reported;
    }
    ++figures.silences;
    return Outcome::Silent;
}

void SoakRun::edit()
{
    QList<QWidget*> candidates;
    for (const char* name : EditableSpins)
        candidates << control(name);
    for (const char* name : EditableCombos)
        candidates << control(name);
    candidates << control("checkBox_InfoResponse") << control("lineEdit_APN");
    candidates.erase(std::remove_if(candidates.begin(), candidates.end(),
                         [](QWidget* c) { return !c->isEnabled(); }),
        candidates.end());
    const int count = 1 + int(m_random.bounded(2));
    for (int i = 0; i < count && !candidates.isEmpty(); ++i)
        editOne(candidates.takeAt(int(m_random.bounded(candidates.size()))));
}

// As the user would: the value goes in, then the field reports the edit done.
void SoakRun::editOne(QWidget* c)
{
    if (auto* spin = qobject_cast<QSpinBox*>(c)) {
        spin->setValue(
            spin->minimum() + int(m_random.bounded(spin->maximum() - spin->minimum() + 1)));
        emit spin->editingFinished();
    } else if (auto* combo = qobject_cast<QComboBox*>(c)) {
        combo->setCurrentIndex(int(m_random.bounded(combo->count())));
    } else if (auto* box = qobject_cast<QCheckBox*>(c)) {
        box->setChecked(!box->isChecked());
    } else if (auto* line = qobject_cast<QLineEdit*>(c)) {
        QString apn;
        const int length = 3 + int(m_random.bounded(10));
        for (int i = 0; i < length; ++i)
            apn += QChar('a' + int(m_random.bounded(26)));
        line->setText(apn + ".example");
        emit line->editingFinished();
    }
}

Outcome SoakRun::apply()
{
    auto* button = control<QPushButton>("pushButton_ConfigurationApply");
    if (!button->isEnabled())
        return Outcome::NotSent;
    clearLog();
    applied << m_form->writeAllValues();
    button->click();
    const bool answered = waitUntil(
        [&] {
            return logHas("Successfully written") || logHas("Receive_Callback Error")
                || logHas("DataReceived Error") || !up();
        },
        AnswerWaitMs);
    if (logHas("Successfully written")) {
        ++figures.writesAccepted;
        return Outcome::Done;
    }
    if (logHas("Receive_Callback Error")) {
        ++figures.writesRefused;
        return Outcome::Done;
    }
    ++figures.writesUnanswered;
    return missed(answered);
}

// Every twentieth of the run, but no more often than every ten cycles, the
// modem goes away for two cycles and comes back; every other time it comes
// back busy with another client for one cycle.
void SoakRun::cycle(int index)
{
    const int period = qMax(10, m_cycles / 20);
    const int phase = index % period;
    const int restartsBefore = figures.restarts;
    if (phase == period - 4)
        stopSim();
    else if (phase == period - 2) {
        const bool busy = restartsBefore % 2 == 1;
        if (!startSim(true, busy))
            return;
        if (busy)
            squat();
    } else if (phase == period - 1)
        m_squatters.clear();
    // Over the GSM modem, take the other tunnel now and then.
    if (m_kind != "eth" && index % 5 == 4 && up())
        disconnectRoute();

    if (!trace("connect", connectRoute() ? Outcome::Done : Outcome::NotSent)
        || !trace("read", read()))
        return;
    edit();
    const bool accepted = trace("apply", apply()) && logHas("Successfully written");
    if (trace("read back", read()) && accepted && m_form->paramsAll() != applied.last())
        fail(QString("modem acknowledged %1 but holds %2")
                 .arg(applied.last().join(','), m_form->paramsAll().join(',')));
}

// QUORVANE_SOAK_TRACE=1 prints every step, for following a failing seed.
bool SoakRun::trace(const char* step, Outcome outcome)
{
    static const bool on = qEnvironmentVariableIsSet("QUORVANE_SOAK_TRACE");
    static const char* const names[] = { "done", "reported", "dropped", "silent", "not sent" };
    if (on)
        qInfo("%s %d: %s %s -> %s", qPrintable(m_kind), figures.cycles, step, names[int(outcome)],
            qPrintable(m_log.join(" | ")));
    return outcome == Outcome::Done;
}

// A fresh READALL on a connection of its own, next to the program's.
bool SoakRun::checkAgainstModem()
{
    QTcpSocket raw;
    raw.connectToHost("127.0.0.1", portOf(route()));
    if (!raw.waitForConnected(3000))
        return fail("no second connection to the modem");
    raw.write("AT+READALL\r\n");
    QByteArray answer;
    while (!answer.endsWith("\r\n") && raw.waitForReadyRead(3000))
        answer += raw.readAll();
    if (!answer.startsWith("+READALL="))
        return fail("modem answered " + QString::fromUtf8(answer.left(80)));
    const QStringList modem
        = QString::fromUtf8(answer.mid(9).chopped(2)).split(',', Qt::KeepEmptyParts);
    if (modem != m_form->writeAllValues())
        return fail(
            QString("form %1, modem %2").arg(m_form->writeAllValues().join(','), modem.join(',')));
    return true;
}

QStringList SoakRun::journalLines() const
{
    QFile f(m_journal);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

// Every frame the modem got is one the form showed at an Apply click, in
// the order of the clicks, each click sending one frame at most.
bool SoakRun::checkJournal()
{
    int next = 0;
    for (const QString& line : journalLines()) {
        const QString values = line.section('=', 1);
        while (next < applied.size() && applied.at(next).join(',') != values)
            ++next;
        if (next == applied.size())
            return fail("the modem got a frame nobody applied: " + line);
        ++next;
    }
    return true;
}

SoakRun::Belongings SoakRun::belongings() const
{
    // The status bar makes and drops a timer of its own with each message.
    const int statusTimers = m_window.statusBar()->findChildren<QTimer*>().size();
    return { QApplication::topLevelWidgets().size(), m_window.findChildren<QDialog*>().size(),
        m_window.findChildren<QTcpSocket*>().size(),
        m_window.findChildren<QTimer*>().size() - statusTimers };
}

void SoakRun::run()
{
    if (!startSim(true, false))
        return;
    // Warm up once, then count what the window owns.
    for (int tries = 0; tries < 10 && !up(); ++tries)
        if (connectRoute())
            read();
    if (!up())
        return void(fail("no first connection"));
    const Belongings start = belongings();
    const qint64 before = residentKiB();
    figures = Figures();
    figures.restarts = 1;

    while (figures.cycles < m_cycles && defect.isEmpty()) {
        cycle(figures.cycles);
        if (++figures.cycles % 100 == 0)
            qInfo("%s: %d cycles, faults seen %d", qPrintable(m_kind), figures.cycles,
                figures.faults());
    }
    if (!defect.isEmpty())
        return;

    // Faults off: the program must come back and agree with the modem.
    stopSim();
    if (!startSim(false, false))
        return;
    if (!connectRoute())
        return void(fail("no reconnect once the modem behaves"));
    if (read() != Outcome::Done)
        return void(fail("no read once the modem behaves"));
    edit();
    if (apply() != Outcome::Done || !logHas("Successfully written"))
        return void(fail("no write once the modem behaves: " + m_log.join(" | ")));
    if (read() != Outcome::Done || m_form->paramsAll() != applied.last())
        return void(fail("the read-back differs from the write"));
    if (!checkAgainstModem() || !checkJournal())
        return;

    const Belongings end = belongings();
    if (!(end == start))
        return void(fail(QString("top-level windows %1 -> %2, dialogs %3 -> %4, sockets %5 -> %6, "
                                 "timers %7 -> %8")
                             .arg(start.topLevels)
                             .arg(end.topLevels)
                             .arg(start.dialogs)
                             .arg(end.dialogs)
                             .arg(start.sockets)
                             .arg(end.sockets)
                             .arg(start.timers)
                             .arg(end.timers)));
    const QStringList journal = journalLines();
    qInfo("%s: seed %u, %d cycles, faults seen %d (parser reports %d, drops %d, silences %d)",
        qPrintable(m_kind), m_seed, figures.cycles, figures.faults(), figures.parserReports,
        figures.drops, figures.silences);
    qInfo("%s: %d reads; writes accepted %d, refused %d, unanswered %d; journal OK %lld, ERR %lld",
        qPrintable(m_kind), figures.reads, figures.writesAccepted, figures.writesRefused,
        figures.writesUnanswered, qlonglong(journal.filter(QRegularExpression("^OK ")).size()),
        qlonglong(journal.filter(QRegularExpression("^ERR ")).size()));
    qInfo("%s: reconnects %d, refused reconnects %d, simulator stops %d, starts %d; "
          "resident memory %lld KiB -> %lld KiB",
        qPrintable(m_kind), figures.reconnects, figures.refusedReconnects, figures.stops,
        figures.restarts, before, residentKiB());
    int questions = 0;
    for (const ModalAnswerer::Box& box : m_answerer.boxes)
        questions += box.title == "Dikkat !" ? 1 : 0;
    qInfo("%s: message boxes answered %d, of them \"Dikkat !\" %d", qPrintable(m_kind),
        m_answerer.count(), questions);
    disconnectRoute();
}

QtMessageHandler qtTestHandler = nullptr;

// The offscreen platform warns each time a message box is shown. That says
// nothing about the program, and over a long run it would use up Qt Test's
// quota of warnings and silence the figures.
void dropPlatformNoise(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtWarningMsg && text.contains("does not support propagateSizeHints"))
        return;
    qtTestHandler(type, context, text);
}

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void soak_data();
    void soak();

private:
    int m_cycles = DefaultCycles;
    quint32 m_seed = DefaultSeed;
};

void TestSoak::initTestCase()
{
    isolateSettings();
    qtTestHandler = qInstallMessageHandler(dropPlatformNoise);
    m_cycles = envNumber("QUORVANE_SOAK_CYCLES", DefaultCycles);
    m_seed = quint32(envNumber("QUORVANE_SOAK_SEED", int(DefaultSeed)));
    qInfo("soak: %d cycles per modem kind, seed %u (QUORVANE_SOAK_SEED=%u replays it)", m_cycles,
        m_seed, m_seed);
#ifndef QUORVANE_MODEMSIM
    QSKIP("the modem simulator is not built");
#endif
}

void TestSoak::soak_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("Ethernet modem over TCP") << "eth";
    QTest::newRow("GSM modem over its tunnels") << "gsm";
}

void TestSoak::soak()
{
    QFETCH(QString, kind);
    QElapsedTimer clock;
    clock.start();
    SoakRun run(kind, m_cycles, m_seed);
    run.run();
    QVERIFY2(run.defect.isEmpty(), qPrintable(run.defect));
    QCOMPARE(run.figures.cycles, m_cycles);
    qInfo("%s: %lld s", qPrintable(kind), clock.elapsed() / 1000);
}

QUORVANE_TEST_MAIN(TestSoak)
#include "tst_soak.moc"
