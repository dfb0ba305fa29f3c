#ifndef MODEMSIM_SIMOPTIONS_H
#define MODEMSIM_SIMOPTIONS_H

#include "faultplanner.h"
#include "modemconfig.h"

#include <QMap>
#include <QString>
#include <QStringList>

namespace modemsim {

struct SimOptions
{
    ModemKind kind = ModemKind::Ethernet;
    QString host = QStringLiteral("127.0.0.1");
    quint16 configPort = 10502;
    quint16 port485 = 10500;
    quint16 port232 = 10501;
    bool pty = false;
    QString ptyLink;
    QString journal;
    bool verbose = false;
    bool singleClient = false;
    FaultOptions faults;
    // --count: how many modems, one after the other on the ports from the
    // first one on. `fleet` says --count was given, even as 1: then the
    // journal lines and client names carry the modem's index.
    int count = 1;
    bool fleet = false;
    // --faults: the modems with knobs of their own, by index; each starts
    // from the command line's knobs.
    QMap<int, FaultOptions> modemFaults;

    // The knobs of modem `index`: its own line's, or the command line's
    // with the seed counted up by the index, so no two modems draw alike.
    FaultOptions faultsOf(int index) const;
    // Whether any modem draws random numbers, so the seed is worth printing.
    bool usesSeed() const;
};

enum class ParseOutcome { Run, Help, Error };

// Reads the command line (arguments()[0] is the program). On Help, `message`
// holds the help text; on Error, a one-line reason.
ParseOutcome parseOptions(const QStringList& arguments, SimOptions* options, QString* message);

} // namespace modemsim

#endif // MODEMSIM_SIMOPTIONS_H
