// Read-all round trip over loopback against the modem simulator: from
// "Read Configuration" to the form filled, through the program's own main
// window, set against a bare QTcpSocket that sends the same frame to the
// same simulator and waits for the same answer (the floor that the network
// and the modem set). The two take turns, round by round.
//   roundtrip [ROUNDS]    prints per modem kind, times in microseconds:
//   roundtrip KIND product_median bare_median product_p90 bare_p90
//             product_cpu_median bare_cpu_median rounds
// The CPU time is this process's own during a round: what the client costs,
// whatever else the machine is doing.
#include "kolvexconfigurator.h"
#include "simprocess.h"
#include "testsettings.h"
#include "transparentconfig.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

struct KindSetup
{
    const char* name;
    int deviceChoice;
    const char* ipField;
    const char* portField;
    const char* connectButton;
    CommSettings::eRoute_t route;
    AtProtocol::eConnection_State_t section;
};

const KindSetup Kinds[] = {
    { "eth", KolvexConfigurator::eETHModem, "lineEdit_ServerIp", "lineEdit_ServerPort",
        "pushButton_TcpConnect", CommSettings::TCP, AtProtocol::eETH },
    { "gsm", KolvexConfigurator::eGSMModem, "lineEdit_TcpServerIp", "lineEdit_ServerPort485",
        "pushButton_485Connect", CommSettings::TCP485, AtProtocol::eTCP485 },
};

constexpr int TimeoutMs = 5000;

template <typename T> T* control(QWidget& window, const char* name)
{
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

// Runs the event loop until done() holds; false after TimeoutMs.
template <typename Done> bool waitFor(Done done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > TimeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// Lets paints and timers that a round left behind run before the next one.
void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
}

double cpuMicroseconds()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

// One round: wall and CPU time, in microseconds; wall < 0 when no answer came.
struct Round
{
    double wall = -1;
    double cpu = 0;
};

// Times one round from start() to the first stop(), which may come before
// wait() runs the event loop.
class RoundClock
{
public:
    void start()
    {
        m_cpuStart = cpuMicroseconds();
        m_clock.start();
    }

    void stop()
    {
        if (m_round.wall >= 0)
            return;
        m_round.wall = double(m_clock.nsecsElapsed()) / 1000.0;
        m_round.cpu = cpuMicroseconds() - m_cpuStart;
        m_loop.quit();
    }

    Round wait()
    {
        if (m_round.wall < 0) {
            QTimer::singleShot(TimeoutMs, &m_loop, &QEventLoop::quit);
            m_loop.exec();
        }
        return m_round;
    }

private:
    QEventLoop m_loop;
    QElapsedTimer m_clock;
    double m_cpuStart = 0;
    Round m_round;
};

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    const double at = p * double(v.size() - 1);
    const size_t lo = size_t(at);
    const size_t hi = std::min(lo + 1, v.size() - 1);
    return v[lo] + (v[hi] - v[lo]) * (at - double(lo));
}

class Rounds
{
public:
    Rounds(const KindSetup& kind, quint16 port)
        : m_kind(kind)
        , m_window(nullptr, kind.deviceChoice)
        , m_port(port)
    {
    }

    bool connectBoth()
    {
        m_window.show();
        control<QLineEdit>(m_window, m_kind.ipField)->setText(QStringLiteral("127.0.0.1"));
        control<QLineEdit>(m_window, m_kind.portField)->setText(QString::number(m_port));
        control<QPushButton>(m_window, m_kind.connectButton)->click();
        m_form = m_window.findChild<TransparentConfig*>();
        const int count = AtProtocol::isGsmRoute(m_kind.section)
            ? AtProtocol::GSM_AT_CMD_LAST_ID - AtProtocol::GSM_AT_CMD_FIRST_ID + 1
            : AtProtocol::AT_CMD_LAST_ID - AtProtocol::AT_CMD_FIRST_ID + 1;
        // The first answer (asked for by the main window itself) fills the form.
        if (!waitFor([&] {
                return m_window.connectionStatus() == m_kind.route
                    && m_form->paramsAll().size() == count;
            }))
            return false;
        m_canary = control<QCheckBox>(m_window, "checkBox_InfoResponse");
        m_modemFlag = m_canary->isChecked();
        m_read = control<QPushButton>(m_window, "pushButton_ReadConfiguration");

        m_frame = TransparentConfig::AT_Command_Formatter(AtProtocol::keywordTable(
            m_kind.section)[AtProtocol::isGsmRoute(m_kind.section) ? int(eIdGSMReadAll)
                                                                   : int(eIdReadAll)]);
        m_bare.connectToHost(QStringLiteral("127.0.0.1"), m_port);
        return m_bare.waitForConnected(TimeoutMs);
    }

    // The info response box is applied last of all values, so the moment it
    // is set back is the moment the form is filled. It is turned over before
    // each round so that the read has to set it.
    void prepareProductRound()
    {
        m_canary->setChecked(!m_modemFlag);
        settle();
    }

    // "Read Configuration" until the form holds the modem's values again.
    // Not inlined, so that callgrind --toggle-collect='*productRound*' can
    // profile a round on its own.
    Q_NEVER_INLINE Round productRound()
    {
        RoundClock round;
        const auto filled = QObject::connect(m_canary, &QCheckBox::toggled, [&](bool on) {
            if (on == m_modemFlag)
                round.stop();
        });
        round.start();
        m_read->click();
        const Round r = round.wait();
        QObject::disconnect(filled);
        return r;
    }

    // The same frame and the same answer, with nothing done about it.
    Q_NEVER_INLINE Round bareRound()
    {
        RoundClock round;
        QByteArray answer;
        const auto arrived = QObject::connect(&m_bare, &QTcpSocket::readyRead, [&] {
            answer += m_bare.readAll();
            if (answer.endsWith("\r\n"))
                round.stop();
        });
        round.start();
        m_bare.write(m_frame);
        const Round r = round.wait();
        QObject::disconnect(arrived);
        return r;
    }

private:
    const KindSetup& m_kind;
    KolvexConfigurator m_window;
    quint16 m_port;
    TransparentConfig* m_form = nullptr;
    QCheckBox* m_canary = nullptr;
    QPushButton* m_read = nullptr;
    bool m_modemFlag = false;
    QByteArray m_frame;
    QTcpSocket m_bare;
};

bool measure(const KindSetup& kind, int rounds)
{
    SimProcess sim;
    if (!sim.start(QString::fromLatin1(kind.name))) {
        std::fprintf(stderr, "roundtrip: the modem simulator did not start\n");
        return false;
    }
    const quint16 port = kind.route == CommSettings::TCP ? sim.configPort : sim.port485;
    Rounds r(kind, port);
    if (!r.connectBoth()) {
        std::fprintf(stderr, "roundtrip: %s: no connection or no first read\n", kind.name);
        return false;
    }
    std::vector<double> product, bare, productCpu, bareCpu;
    const int warmUp = rounds / 10;
    for (int i = 0; i < warmUp + rounds; ++i) {
        r.prepareProductRound();
        const Round p = r.productRound();
        // The repaint that the read left queued is not the bare client's cost.
        settle();
        const Round b = r.bareRound();
        if (p.wall < 0 || b.wall < 0) {
            std::fprintf(stderr, "roundtrip: %s: round %d got no answer\n", kind.name, i);
            return false;
        }
        if (i >= warmUp) {
            product.push_back(p.wall);
            bare.push_back(b.wall);
            productCpu.push_back(p.cpu);
            bareCpu.push_back(b.cpu);
        }
    }
    std::printf("roundtrip %s %.1f %.1f %.1f %.1f %.1f %.1f %d\n", kind.name,
        percentile(product, 0.5), percentile(bare, 0.5), percentile(product, 0.9),
        percentile(bare, 0.9), percentile(productCpu, 0.5), percentile(bareCpu, 0.5), rounds);
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? QByteArray(argv[1]).toInt() : 500;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    isolateSettings();
    for (const KindSetup& kind : Kinds) {
        if (!measure(kind, rounds > 0 ? rounds : 500))
            return 1;
    }
    return 0;
}
