#include "cliargs.h"

#include <QHash>
#include <QHostAddress>

#include <algorithm>

namespace {

constexpr quint16 DefaultTcpPort = 502;

// An option and whether a value follows it.
struct OptionRule
{
    const char* name;
    bool takesValue;
    bool inTargetFile;
};

// clang-format off
const OptionRule Options[] = {
    {"--tcp",     true,  true},  {"--tunnel",  true,  true},  {"--line",   true,  true},
    {"--serial",  true,  true},  {"--config",  true,  true},  {"--targets", true, false},
    {"--jobs",    true,  false}, {"--timeout", true,  false}, {"--retries", true, false},
    {"--report",  true,  false}, {"-o",        true,  false}, {"--output", true,  false},
    {"--json",    false, false}, {"--force",   false, false}, {"--dry-run", false, false},
    {"--help",    false, false}, {"-h",        false, false}, {"--version", false, false},
};

struct CommandRule
{
    const char* words;
    Command command;
    bool takesFile;
};

const CommandRule Commands[] = {
    {"read",          Command::Read,         false},
    {"write",         Command::Write,        true},
    {"diff",          Command::Diff,         true},
    {"info",          Command::Info,         false},
    {"ping",          Command::Ping,         false},
    {"restart",       Command::Restart,      false},
    {"network read",  Command::NetworkRead,  false},
    {"network write", Command::NetworkWrite, true},
};
// clang-format on

const OptionRule* findOption(const QString& name)
{
    for (const OptionRule& o : Options)
        if (name == QLatin1String(o.name))
            return &o;
    return nullptr;
}

// Options by name, values as given; the rest in order.
struct Tokens
{
    QHash<QString, QString> options;
    QStringList positional;
};

bool split(const QStringList& args, bool targetFile, Tokens* out, QString* error)
{
    for (int i = 0; i < args.size(); ++i) {
        QString arg = args.at(i), value;
        if (!arg.startsWith('-') || arg == "-") {
            out->positional << arg;
            continue;
        }
        const int eq = arg.indexOf('=');
        const bool inlineValue = arg.startsWith("--") && eq > 0;
        if (inlineValue) {
            value = arg.mid(eq + 1);
            arg.truncate(eq);
        }
        const OptionRule* rule = findOption(arg);
        if (!rule || (targetFile && !rule->inTargetFile)) {
            *error = targetFile ? QString("%1 is not an option of a target line").arg(arg)
                                : QString("unknown option %1").arg(arg);
            return false;
        }
        if (rule->takesValue && !inlineValue) {
            if (i + 1 >= args.size()) {
                *error = QString("%1 needs a value").arg(arg);
                return false;
            }
            value = args.at(++i);
        } else if (!rule->takesValue && inlineValue) {
            *error = QString("%1 takes no value").arg(arg);
            return false;
        }
        const QString key = arg == "--output" ? "-o" : arg == "-h" ? "--help" : arg;
        if (out->options.contains(key)) {
            *error = QString("%1 given twice").arg(arg);
            return false;
        }
        out->options.insert(key, value);
    }
    return true;
}

bool parsePort(const QString& text, quint16* port)
{
    if (text.isEmpty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), [](QChar c) { return c >= '0' && c <= '9'; }))
        return false;
    const int value = text.toInt();
    if (value < 1 || value > 65535)
        return false;
    *port = quint16(value);
    return true;
}

// HOST[:PORT]; an IPv6 address goes in brackets unless it stands alone.
bool parseHostPort(const QString& text, bool portRequired, Route* route, QString* error)
{
    QString host = text, port;
    if (text.startsWith('[')) {
        const int close = text.indexOf(']');
        if (close < 0 || (close + 1 < text.size() && text.at(close + 1) != ':')) {
            *error = QString("%1 is not HOST:PORT").arg(text);
            return false;
        }
        host = text.mid(1, close - 1);
        port = text.mid(close + 2);
    } else if (text.count(':') == 1) {
        host = text.section(':', 0, 0);
        port = text.section(':', 1);
    } else if (text.contains(':') && QHostAddress(text).protocol() != QAbstractSocket::IPv6Protocol) {
        *error = QString("%1 is not HOST:PORT (an IPv6 address goes in brackets)").arg(text);
        return false;
    }
    // Brackets, slashes and blanks would make the target's name ambiguous.
    if (host.isEmpty() || std::any_of(host.begin(), host.end(), [](QChar c) { return c.isSpace() || c == '[' || c == ']' || c == '/'; })) {
        *error = QString("%1 names no host").arg(text);
        return false;
    }
    route->host = host;
    if (port.isEmpty() && !portRequired) {
        route->port = DefaultTcpPort;
        return true;
    }
    if (!parsePort(port, &route->port)) {
        *error = port.isEmpty() ? QString("%1 needs a port: HOST:PORT").arg(text)
                                : QString("port %1 is not a port of 1-65535").arg(port);
        return false;
    }
    return true;
}

// The route options of the command line or of one target line.
bool makeTarget(const Tokens& t, Target* target, QString* error)
{
    const int routes = int(t.options.contains("--tcp")) + int(t.options.contains("--tunnel"))
        + int(t.options.contains("--serial"));
    if (routes != 1) {
        *error = routes ? "give one route only: --tcp, --tunnel or --serial"
                        : "no route: give --tcp HOST[:PORT], --tunnel HOST:PORT --line 485|232 or --serial DEVICE";
        return false;
    }
    Route& r = target->route;
    if (t.options.contains("--line") != t.options.contains("--tunnel")) {
        *error = t.options.contains("--line") ? "--line belongs to --tunnel" : "--tunnel needs --line 485 or --line 232";
        return false;
    }
    if (t.options.contains("--tcp")) {
        r.type = Route::Type::Tcp;
        if (!parseHostPort(t.options.value("--tcp"), false, &r, error))
            return false;
    } else if (t.options.contains("--tunnel")) {
        r.type = Route::Type::Tunnel;
        if (!parseHostPort(t.options.value("--tunnel"), true, &r, error))
            return false;
        const QString line = t.options.value("--line");
        if (line != "485" && line != "232") {
            *error = QString("--line %1: expected 485 or 232").arg(line);
            return false;
        }
        r.line = line == "232" ? AtProtocol::eRoute_Serial_t::e232 : AtProtocol::eRoute_Serial_t::e485;
    } else {
        r.type = Route::Type::Serial;
        r.device = t.options.value("--serial");
        if (r.device.isEmpty()) {
            *error = "--serial needs a device";
            return false;
        }
    }
    target->configPath = t.options.value("--config");
    return true;
}

bool parseNumber(const Tokens& t, const char* name, int min, int max, int* out, QString* error)
{
    if (!t.options.contains(name))
        return true;
    bool ok = false;
    const int value = t.options.value(name).toInt(&ok);
    if (!ok || value < min || value > max) {
        *error = QString("%1 %2: expected a whole number from %3 to %4").arg(name, t.options.value(name)).arg(min).arg(max);
        return false;
    }
    *out = value;
    return true;
}

} // namespace

QString CliArgs::routeRefusal(Command command, const Route& route)
{
    const bool network = command == Command::NetworkRead || command == Command::NetworkWrite;
    if (network && route.gsm())
        return QString("%1: the 4G modem has no network settings").arg(route.name());
    if (command == Command::NetworkWrite && route.type == Route::Type::Tcp)
        return QString("%1: network settings are written over the USB port only: over TCP the modem "
                       "is reached through the very address they change")
            .arg(route.name());
    return {};
}

AtProtocol::eConnection_State_t Route::dialect() const
{
    switch (type) {
    case Type::Tcp: return AtProtocol::eETH;
    case Type::Serial: return AtProtocol::eUSB;
    case Type::Tunnel: break;
    }
    return line == AtProtocol::eRoute_Serial_t::e232 ? AtProtocol::eTCP232 : AtProtocol::eTCP485;
}

QString Route::name() const
{
    if (type == Type::Serial)
        return device;
    // One arg() call: a host holding "%2" must not take the port's place.
    const QString address = QString(host.contains(':') ? "[%1]:%2" : "%1:%2").arg(host, QString::number(port));
    return type == Type::Tunnel ? address + (line == AtProtocol::eRoute_Serial_t::e232 ? "/232" : "/485") : address;
}

QString CliArgs::helpText()
{
    return QStringLiteral(R"(Usage: quorvane-cli ROUTE [OPTIONS] COMMAND [FILE]
       quorvane-cli --targets FILE [OPTIONS] COMMAND [FILE]

Reads, writes and compares the configuration of Quorvane gateway modems.

Route (one per modem; it decides the modem kind):
  --tcp HOST[:PORT]        the Ethernet modem's configuration port (default 502)
  --tunnel HOST:PORT --line 485|232
                           a 4G modem's RS485 or RS232 tunnel port
  --serial DEVICE          the Ethernet modem's USB virtual COM port (115200 baud)

Commands:
  read [-o FILE]           the configuration in the file format, on standard
                           output or into FILE; with --targets, -o DIR writes
                           one file per modem
  write FILE               read the modem, write FILE in one frame if the modem
                           differs, read it back and compare
      --force              write even when the modem already holds FILE
      --dry-run            write nothing, report what would change
  diff FILE                key by key, the modem against FILE
  info                     the device information block
  ping                     ask the modem to answer
  restart                  restart the modem
  network read             the Ethernet modem's network settings (JSON)
  network write FILE       write them (USB port only), then read them back

Options:
  --targets FILE           many modems: one a line, written with the route
                           options above, optionally followed by --config FILE
                           (that modem's own file); # comments, blank lines
  --jobs N                 modems worked on at once (default 8, 1-1024)
  --timeout SECONDS        bound on each exchange, connecting included
                           (default 10)
  --retries N              retry connecting and reading N times (default 0);
                           a write is never sent again without a fresh read
  --json                   one result object per modem and line on standard
                           output (JSON Lines)
  --report FILE            also write every result object into FILE (a JSON array)
  -h, --help               this text
  --version                the version

Results: changed, unchanged, would_change, failed or ok, one per modem, with
the reason of a failure and the differences key by key.

Exit status:
  0  every modem succeeded or was already as asked
  1  a modem failed, or differs (diff, write --dry-run)
  2  bad command line, bad configuration file or bad target file
)");
}

ParsedArguments CliArgs::parse(const QStringList& args)
{
    ParsedArguments parsed;
    Invocation& inv = parsed.invocation;
    Tokens t;
    QString& error = parsed.error;
    const auto usage = [&] { return parsed.outcome = ParsedArguments::Outcome::Usage, parsed; };
    if (!split(args, false, &t, &error))
        return usage();
    if (t.options.contains("--help"))
        return parsed.outcome = ParsedArguments::Outcome::Help, parsed;
    if (t.options.contains("--version"))
        return parsed.outcome = ParsedArguments::Outcome::Version, parsed;

    const QString words = t.positional.mid(0, t.positional.value(0) == "network" ? 2 : 1).join(' ');
    const CommandRule* command = nullptr;
    for (const CommandRule& c : Commands)
        if (words == QLatin1String(c.words))
            command = &c;
    if (!command)
        return error = words.isEmpty() ? "no command: read, write, diff, info, ping, restart, network read or network write"
                                       : QString("unknown command %1").arg(words),
               usage();
    inv.command = command->command;
    const QStringList rest = t.positional.mid(words.count(' ') + 1);
    if (rest.size() != (command->takesFile ? 1 : 0))
        return error = command->takesFile ? QString("%1 needs one FILE").arg(words)
                                          : QString("%1 takes no argument, got %2").arg(words, rest.join(' ')),
               usage();
    inv.file = rest.value(0);
    if ((t.options.contains("--force") || t.options.contains("--dry-run")) && inv.command != Command::Write)
        return error = "--force and --dry-run belong to write", usage();
    if (t.options.contains("-o") && inv.command != Command::Read)
        return error = "-o belongs to read", usage();
    inv.force = t.options.contains("--force");
    inv.dryRun = t.options.contains("--dry-run");
    inv.json = t.options.contains("--json");
    inv.output = t.options.value("-o");
    inv.report = t.options.value("--report");

    if (!parseNumber(t, "--jobs", 1, 1024, &inv.jobs, &error) || !parseNumber(t, "--retries", 0, 100, &inv.retries, &error))
        return usage();
    if (t.options.contains("--timeout")) {
        bool ok = false;
        const double s = t.options.value("--timeout").toDouble(&ok);
        if (!ok || s <= 0 || s > 3600)
            return error = QString("--timeout %1: expected seconds above 0, at most 3600").arg(t.options.value("--timeout")), usage();
        inv.timeoutMs = qMax(1, int(s * 1000));
    }

    if (t.options.contains("--targets")) {
        for (const char* o : { "--tcp", "--tunnel", "--line", "--serial", "--config" })
            if (t.options.contains(o))
                return error = QString("%1 goes into the target file when --targets is given").arg(o), usage();
        inv.targetsPath = t.options.value("--targets");
    } else {
        Target target;
        if (t.options.contains("--config"))
            return error = "--config belongs to a line of the target file", usage();
        if (!makeTarget(t, &target, &error))
            return usage();
        inv.targets << target;
    }
    for (const Target& target : qAsConst(inv.targets))
        if (const QString refusal = CliArgs::routeRefusal(inv.command, target.route); !refusal.isEmpty())
            return error = refusal, usage();
    parsed.outcome = ParsedArguments::Outcome::Run;
    return parsed;
}

bool CliArgs::parseTargets(const QByteArray& text, QList<Target>* out, QString* error)
{
    const QList<QByteArray> lines = text.split('\n');
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = QString::fromUtf8(lines.at(n)).section('#', 0, 0).trimmed();
        if (line.isEmpty())
            continue;
        Tokens t;
        Target target;
        QString why;
        if (!split(line.simplified().split(' '), true, &t, &why) || !makeTarget(t, &target, &why)
            || (!t.positional.isEmpty() && (why = QString("%1 is not an option").arg(t.positional.first()), true))) {
            *error = QString("line %1: %2").arg(n + 1).arg(why);
            return false;
        }
        out->append(target);
    }
    if (out->isEmpty()) {
        *error = "no targets in it";
        return false;
    }
    return true;
}
