#ifndef CLIARGS_H
#define CLIARGS_H

#include "atprotocol.h"

#include <QList>
#include <QString>
#include <QStringList>

// How one modem is reached. The route decides the modem kind: TCP and serial
// reach the Ethernet modem, a tunnel the 4G one.
struct Route
{
    enum class Type { Tcp, Tunnel, Serial };
    Type type = Type::Tcp;
    QString host;
    quint16 port = 0;
    AtProtocol::eRoute_Serial_t line = AtProtocol::eRoute_Serial_t::e485;
    QString device;

    bool gsm() const { return type == Type::Tunnel; }
    AtProtocol::eConnection_State_t dialect() const;
    // "host:port", "host:port/485" or the device path.
    QString name() const;
};

struct Target
{
    Route route;
    QString configPath; // its own file, or empty for the command's
};

enum class Command { Read, Write, Diff, Info, Ping, Restart, NetworkRead, NetworkWrite };

struct Invocation
{
    Command command = Command::Read;
    QString file; // write, diff, network write
    QString output; // read -o
    QString report;
    QList<Target> targets;
    QString targetsPath; // --targets
    int timeoutMs = 10000;
    int retries = 0;
    int jobs = 8;
    bool json = false;
    bool force = false;
    bool dryRun = false;
};

struct ParsedArguments
{
    enum class Outcome { Run, Help, Version, Usage };
    Outcome outcome = Outcome::Usage;
    Invocation invocation;
    QString error; // one line, for Usage
};

namespace CliArgs {

QString helpText();
// args without the program name.
ParsedArguments parse(const QStringList& args);
// One target a line: route options and an optional --config FILE; "#" starts
// a comment. The error names the line ("line 3: ...").
bool parseTargets(const QByteArray& text, QList<Target>* out, QString* error);
// What a command cannot do over a route, whatever the modem answers; empty
// when it can.
QString routeRefusal(Command command, const Route& route);

} // namespace CliArgs

#endif // CLIARGS_H
