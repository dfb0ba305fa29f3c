// Decodes read-all answers into the form N times, for counting instructions
// under callgrind. Only the decoding loop is instrumented, so callgrind's
// total divided by N is the cost of one decode, comparable exactly between
// two versions of the program:
//   valgrind --tool=callgrind --instr-atstart=no decode_count eth|gsm N
// The answers alternate between two configurations, as in protocol_bench.
#include "callgrindmarks.h"
#include "modemanswers.h"
#include "transparentconfig.h"
#include "formvalues.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    const QByteArray kind = argc > 1 ? argv[1] : "";
    const int n = argc > 2 ? QByteArray(argv[2]).toInt() : 0;
    if ((kind != "eth" && kind != "gsm") || n < 1) {
        std::fprintf(stderr, "usage: decode_count eth|gsm N\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);

    const auto route = kind == "gsm" ? AtProtocol::eTCP485 : AtProtocol::eETH;
    TransparentConfig form;
    setRoute(form, route);
    QByteArray values[2];
    for (int variant = 0; variant < 2; ++variant) {
        values[variant] = ModemAnswers::readAllValues(ModemAnswers::kindOf(route), variant);
        // Once each outside the count: first-use allocations are not the decode's.
        if (!form.applyReadAll(values[variant]))
            return 1;
    }

    int accepted = 0;
    CALLGRIND_START_INSTRUMENTATION;
    for (int i = 0; i < n; ++i)
        accepted += form.applyReadAll(values[i % 2]) ? 1 : 0;
    CALLGRIND_STOP_INSTRUMENTATION;
    std::printf("decoded %d\n", accepted);
    return accepted == n ? 0 : 1;
}
