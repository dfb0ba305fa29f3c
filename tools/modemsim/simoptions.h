#ifndef MODEMSIM_SIMOPTIONS_H
#define MODEMSIM_SIMOPTIONS_H

#include "faultplanner.h"
#include "modemconfig.h"

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
};

enum class ParseOutcome { Run, Help, Error };

// Reads the command line (arguments()[0] is the program). On Help, `message`
// holds the help text; on Error, a one-line reason.
ParseOutcome parseOptions(const QStringList& arguments, SimOptions* options, QString* message);

} // namespace modemsim

#endif // MODEMSIM_SIMOPTIONS_H
