// quorvane-modemsim: a gateway modem on the loopback interface, the peer of
// the end-to-end tests and of a configurator run without hardware.

#include "simfleet.h"
#include "simlog.h"
#include "simoptions.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

int signalPipe[2] = { -1, -1 };

// Only async-signal-safe work here: the event loop picks the byte up.
void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(signalPipe[1], &byte, 1);
}

bool watchSignals(QCoreApplication& app)
{
    if (::pipe(signalPipe) != 0)
        return false;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (sigaction(SIGTERM, &action, nullptr) != 0 || sigaction(SIGINT, &action, nullptr) != 0)
        return false;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] {
        char byte;
        [[maybe_unused]] const ssize_t ignored = ::read(signalPipe[0], &byte, 1);
        app.quit();
    });
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvane-modemsim"));
    qSetMessagePattern(QStringLiteral("%{time yyyy-MM-dd hh:mm:ss.zzz} %{message}"));
    // A configurator that vanishes mid-write must not take the modem with it.
    std::signal(SIGPIPE, SIG_IGN);

    modemsim::SimOptions options;
    QString message;
    switch (modemsim::parseOptions(app.arguments(), &options, &message)) {
    case modemsim::ParseOutcome::Help:
        std::fputs(qPrintable(message), stdout);
        return 0;
    case modemsim::ParseOutcome::Error:
        std::fprintf(stderr, "quorvane-modemsim: %s (see --help)\n", qPrintable(message));
        return 2;
    case modemsim::ParseOutcome::Run:
        break;
    }
    if (options.verbose)
        QLoggingCategory::setFilterRules(QStringLiteral("modemsim.debug=true"));
    if (options.usesSeed())
        qCInfo(modemsim::lcSim) << "seed" << options.faults.seed;

    if (!watchSignals(app)) {
        std::perror("quorvane-modemsim: signal handling");
        return 1;
    }
    modemsim::SimFleet fleet(options);
    QString error;
    if (!fleet.start(&error)) {
        std::fprintf(stderr, "quorvane-modemsim: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s\n", qPrintable(fleet.readyLine()));
    std::fflush(stdout);
    // The modems' destructors close the ports and remove the pty link.
    return app.exec();
}
