// Micro-benchmarks of the protocol as the program runs it: framing a bare
// command, building the write-all frame through the form, handing every kind
// of answer to Receive_Callback, and decoding read-all answers into the form.
// The form is a real one on an offscreen display; the answers are the
// simulated modem's own.
#include "devinfo.h"
#include "modemanswers.h"
#include "staticipconfig.h"
#include "transparentconfig.h"
#include "formvalues.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

using Route = AtProtocol::eConnection_State_t;
using modemsim::ModemKind;

namespace {

// Both read-all variants of a route, fetched once.
struct ReadAllPair
{
    explicit ReadAllPair(Route route)
        : answers { ModemAnswers::readAll(ModemAnswers::kindOf(route), 0),
            ModemAnswers::readAll(ModemAnswers::kindOf(route), 1) }
    {
    }
    QByteArray answers[2];
};

void BM_AT_Command_Formatter(benchmark::State& state)
{
    for (auto _ : state) {
        const QByteArray& frame
            = TransparentConfig::AT_Command_Formatter(TrpCfgCmdTexts[eIdReadAll]);
        benchmark::DoNotOptimize(frame.constData());
    }
}
BENCHMARK(BM_AT_Command_Formatter);

// "Apply Configuration" right after a read: the values equal what was read,
// so no question is asked and the frame goes straight to WriteData.
void BM_WriteAllFrame(benchmark::State& state, Route route)
{
    TransparentConfig form;
    setRoute(form, route);
    // As the main window does once the route stands; the form starts disabled.
    form.setEnabled(true);
    QByteArray answer = ModemAnswers::readAll(ModemAnswers::kindOf(route), 0);
    if (form.Receive_Callback(answer, nullptr) != AtProtocol::err_OK
        || form.writeAllValues() != form.paramsAll()) {
        state.SkipWithError("the read-all answer does not survive the trip into the form");
        return;
    }
    auto* apply = form.findChild<QPushButton*>(QStringLiteral("pushButton_ConfigurationApply"));
    const QByteArray writeAll = AtProtocol::AT_CMD.toUtf8() + "WRITEALL=";
    qint64 frames = 0;
    QObject::connect(&form, &TransparentConfig::WriteData, [&](const QByteArray& frame) {
        if (frame.startsWith(writeAll))
            ++frames;
    });
    for (auto _ : state)
        apply->click();
    if (frames != qint64(state.iterations()))
        state.SkipWithError("a click did not emit exactly one write-all frame");
}
BENCHMARK_CAPTURE(BM_WriteAllFrame, eth, AtProtocol::eETH);
BENCHMARK_CAPTURE(BM_WriteAllFrame, gsm, AtProtocol::eTCP485);

// One block through Receive_Callback, copied each time because the routine
// shortens it in place (the copy is part of the figure, as it is in the
// main window's receive path).
void BM_Receive_Callback(benchmark::State& state, Route route, QByteArray block, int expected)
{
    TransparentConfig form;
    setRoute(form, route);
    StaticIpConfig window(CommSettings::TCP);
    const bool devInfo = block.contains("DEVINFO");
    for (auto _ : state) {
        QByteArray b = block;
        const int result = form.Receive_Callback(b, &window);
        if (result != expected) {
            state.SkipWithError("unexpected result");
            break;
        }
        if (devInfo) {
            // Each answer opens a dialog; close it the way the user does.
            state.PauseTiming();
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (auto* d = qobject_cast<DevInfo*>(top))
                    d->close();
            }
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            state.ResumeTiming();
        }
    }
}

// A read-all answer alternating between two configurations, so that every
// control moves and its handlers run, as on a first read or a changed modem.
void BM_Receive_Callback_ReadAll(benchmark::State& state, Route route)
{
    TransparentConfig form;
    setRoute(form, route);
    const ReadAllPair pair(route);
    int variant = 0;
    for (auto _ : state) {
        QByteArray b = pair.answers[variant];
        if (form.Receive_Callback(b, nullptr) != AtProtocol::err_OK) {
            state.SkipWithError("read-all answer refused");
            break;
        }
        variant ^= 1;
    }
}
BENCHMARK_CAPTURE(BM_Receive_Callback_ReadAll, eth, AtProtocol::eETH);
BENCHMARK_CAPTURE(BM_Receive_Callback_ReadAll, gsm, AtProtocol::eTCP485);

// The decode alone: the value part of a read-all answer into the form.
void BM_DecodeReadAll(benchmark::State& state, Route route)
{
    TransparentConfig form;
    setRoute(form, route);
    const ModemKind kind = ModemAnswers::kindOf(route);
    const QByteArray values[2]
        = { ModemAnswers::readAllValues(kind, 0), ModemAnswers::readAllValues(kind, 1) };
    int variant = 0;
    for (auto _ : state) {
        if (!form.applyReadAll(values[variant])) {
            state.SkipWithError("read-all values refused");
            break;
        }
        variant ^= 1;
    }
}
BENCHMARK_CAPTURE(BM_DecodeReadAll, eth, AtProtocol::eETH);
BENCHMARK_CAPTURE(BM_DecodeReadAll, gsm, AtProtocol::eTCP485);

// Every other kind of answer, on the route whose modem sends it.
struct AnswerCase
{
    const char* name;
    Route route;
    const char* command; // asked of the simulated modem; null: `block` as it stands
    const char* block;
    int expected;
};

const AnswerCase AnswerCases[] = {
    { "network_cfg", AtProtocol::eETH, "READ_NETWORKCFG", nullptr, AtProtocol::err_OK },
    { "current_ip", AtProtocol::eETH, "CURRENT_IP", nullptr, AtProtocol::err_OK },
    { "device_info", AtProtocol::eETH, "DEVINFO", nullptr, AtProtocol::err_OK },
    { "restart", AtProtocol::eETH, "RESTART", nullptr, AtProtocol::err_OK },
    { "ping", AtProtocol::eETH, "PING", nullptr, AtProtocol::err_OK },
    { "close232", AtProtocol::eTCP232, "232CLOSE", nullptr, AtProtocol::err_OK },
    { "close485", AtProtocol::eTCP485, "485CLOSE", nullptr, AtProtocol::err_OK },
    { "write_ok", AtProtocol::eETH, "WRITEALL", nullptr, AtProtocol::err_OK },
    { "error", AtProtocol::eETH, "NOSUCHCOMMAND", nullptr, AtProtocol::err_Unknown },
    { "unterminated", AtProtocol::eETH, nullptr, "+PING", AtProtocol::err_EndChr },
    { "no_plus", AtProtocol::eETH, nullptr, "PING\r\n", AtProtocol::err_BeginChr },
};

void registerAnswerCases()
{
    for (const AnswerCase& c : AnswerCases) {
        QByteArray command = c.command;
        // A write is accepted when it carries the modem's own values back.
        if (command == "WRITEALL")
            command += "=" + ModemAnswers::readAllValues(ModemAnswers::kindOf(c.route), 0);
        const QByteArray block = c.command
            ? ModemAnswers::answerTo(ModemAnswers::kindOf(c.route), command)
            : QByteArray(c.block);
        benchmark::RegisterBenchmark((std::string("BM_Receive_Callback/") + c.name).c_str(),
            [c, block](benchmark::State& state) {
                BM_Receive_Callback(state, c.route, block, c.expected);
            });
    }
}

// A modal box would stop a benchmark for good; none is expected, so one
// that shows up ends the run with its text.
void failOnModalBox()
{
    auto* guard = new QTimer(qApp);
    QObject::connect(guard, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            // On stdout: bench/run.sh throws the diagnostic lines on stderr away.
            std::printf("protocol_bench: unexpected box \"%s\": %s\n",
                qPrintable(box->windowTitle()), qPrintable(box->text()));
            std::fflush(stdout);
            std::exit(1);
        }
    });
    guard->start(100);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    failOnModalBox();
    registerAnswerCases();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
