#include "simoptions.h"

#include <QCommandLineParser>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>

namespace modemsim {

namespace {

struct OptionRow
{
    const char* name;
    const char* valueName; // null for a switch
    const char* description;
    // A line of the faults file may give it to one modem.
    bool perModem = false;
};

const OptionRow OptionRows[] = {
    { "kind", "eth|gsm",
        "Modem kind (default eth): eth has a configuration port and, with "
        "--pty, a USB port; gsm has the RS485 and RS232 tunnel ports." },
    { "host", "address", "Address to listen on (default 127.0.0.1)." },
    { "config-port", "port", "Configuration port of the eth modem (default 10502, 0: any)." },
    { "port485", "port", "RS485 tunnel port of the gsm modem (default 10500, 0: any)." },
    { "port232", "port", "RS232 tunnel port of the gsm modem (default 10501, 0: any)." },
    { "pty", nullptr, "Also offer a pseudo-terminal standing for the USB virtual COM port (eth)." },
    { "pty-link", "path", "Make a symbolic link to the pseudo-terminal at path (implies --pty)." },
    { "journal", "file", "Append every write frame, as \"OK <frame>\" or \"ERR <frame>\"." },
    { "verbose", nullptr, "Log every request and answer to stderr with a timestamp." },
    { "silent", nullptr, "Never answer.", true },
    { "answer-after", "n", "Ignore the first n requests of each connection.", true },
    { "split", "ms", "Write every answer in two pieces, the second ms later.", true },
    { "garbage", nullptr, "Answer with random bytes holding no \"+\", CR or LF.", true },
    { "garbage-rate", "p", "With --garbage: garble only this share of answers (0..1).", true },
    { "unterminated", nullptr, "Leave out the final CR LF of every answer.", true },
    { "drop-mid-answer", nullptr, "Write half an answer, then close the connection.", true },
    { "refuse-writes", nullptr, "Answer every write with +ERR=REFUSED, changing nothing.", true },
    { "single-client", nullptr, "Each port serves one client; a second one is closed at once." },
    { "delay", "ms", "Delay every answer by ms.", true },
    { "drop-after", "n", "Close the connection (or the pseudo-terminal) after n requests.", true },
    { "seed", "s", "Seed of the random faults and garbage (default: random, printed).", true },
    { "fault-rate", "p",
        "With probability p per answer pick a fault: split, garbage, silence "
        "or drop.",
        true },
    { "flood", "shape[:piece]",
        "Answer AT+PING with a flood instead of +PING, in writes of piece bytes "
        "(default: all in one); once all of it has left, \"<client> flood sent\" goes "
        "to stderr. Shapes: %1.",
        true },
    { "count", "n",
        "Serve n independent modems (default 1), modem i on the first port + i (eth) or "
        "+ 2i and + 2i + 1 (gsm); the first port is --config-port or --port485, 0: any "
        "free range. With --count, journal lines start with the modem's index." },
    { "faults", "file",
        "Knobs for single modems, a line each: the index, then fault options "
        "(\"3 --silent\"); # starts a comment." },
};

// The most modems one process serves: a gsm fleet of them fills a third of
// the port numbers.
const int MaxCount = 10000;

void addOptions(QCommandLineParser& parser, bool perModemOnly)
{
    for (const OptionRow& row : OptionRows) {
        if (perModemOnly && !row.perModem)
            continue;
        QString description = QString::fromLatin1(row.description);
        if (description.contains(QLatin1String("%1")))
            description = description.arg(floodShapes(true).join(QStringLiteral(", ")));
        parser.addOption(row.valueName ? QCommandLineOption(row.name, description, row.valueName)
                                       : QCommandLineOption(row.name, description));
    }
}

class Reader
{
public:
    explicit Reader(const QCommandLineParser& parser)
        : m_parser(parser)
    {
    }

    template <typename T> bool integer(const char* name, qint64 min, qint64 max, T* out)
    {
        if (!m_parser.isSet(name))
            return true;
        bool ok = false;
        const qint64 value = m_parser.value(name).toLongLong(&ok);
        if (!ok || value < min || value > max)
            return fail(QStringLiteral("--%1 wants a whole number from %2 to %3")
                            .arg(QLatin1String(name))
                            .arg(min)
                            .arg(max));
        *out = T(value);
        return true;
    }

    bool probability(const char* name, double* out)
    {
        if (!m_parser.isSet(name))
            return true;
        bool ok = false;
        const double value = m_parser.value(name).toDouble(&ok);
        if (!ok || !(value >= 0.0 && value <= 1.0))
            return fail(QStringLiteral("--%1 wants a number from 0 to 1").arg(QLatin1String(name)));
        *out = value;
        return true;
    }

    bool flood(FaultOptions* out)
    {
        if (!m_parser.isSet("flood"))
            return true;
        const QStringList parts = m_parser.value("flood").split(QLatin1Char(':'));
        bool ok = parts.size() <= 2 && floodShape(parts[0], &out->flood);
        if (ok && parts.size() == 2) {
            out->floodPiece = parts[1].toInt(&ok);
            ok = ok && out->floodPiece > 0;
        }
        if (!ok)
            return fail(
                QStringLiteral("--flood wants shape[:piece], shape one of %1, piece a whole "
                               "number from 1 to %2")
                    .arg(floodShapes(false).join(QStringLiteral(", ")))
                    .arg(INT_MAX));
        return true;
    }

    bool fail(const QString& reason)
    {
        m_error = reason;
        return false;
    }

    QString error() const { return m_error; }

private:
    const QCommandLineParser& m_parser;
    QString m_error;
};

// The fault knobs set in `parser`, on top of what `f` holds already.
bool readFaults(const QCommandLineParser& parser, Reader& read, FaultOptions* f)
{
    f->silent = f->silent || parser.isSet("silent");
    f->garbage = f->garbage || parser.isSet("garbage") || parser.isSet("garbage-rate");
    f->unterminated = f->unterminated || parser.isSet("unterminated");
    f->dropMidAnswer = f->dropMidAnswer || parser.isSet("drop-mid-answer");
    f->refuseWrites = f->refuseWrites || parser.isSet("refuse-writes");
    return read.integer("answer-after", 0, INT_MAX, &f->answerAfter)
        && read.integer("split", 0, INT_MAX, &f->splitMs)
        && read.integer("delay", 0, INT_MAX, &f->delayMs)
        && read.integer("drop-after", 1, INT_MAX, &f->dropAfter)
        && read.probability("garbage-rate", &f->garbageRate)
        && read.probability("fault-rate", &f->faultRate)
        && read.integer("seed", 0, 0xFFFFFFFFll, &f->seed) && read.flood(f);
}

// One line of the faults file into options->modemFaults; false with `error`.
bool readFaultLine(const QString& text, SimOptions* options, QString* error)
{
    const QStringList words
        = text.left(text.indexOf(QLatin1Char('#')))
              .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return true;
    bool ok = false;
    const int index = words[0].toInt(&ok);
    if (!ok || index < 0 || index >= options->count) {
        *error = QStringLiteral("wants a modem index from 0 to %1 first").arg(options->count - 1);
        return false;
    }
    if (options->modemFaults.contains(index)) {
        *error = QStringLiteral("modem %1 has a line already").arg(index);
        return false;
    }
    QCommandLineParser parser;
    addOptions(parser, true);
    if (!parser.parse(QStringList(QStringLiteral("faults")) + words.mid(1))) {
        *error = parser.errorText();
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        *error = QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments()[0]);
        return false;
    }
    FaultOptions f = options->faultsOf(index);
    Reader read(parser);
    if (!readFaults(parser, read, &f)) {
        *error = read.error();
        return false;
    }
    options->modemFaults.insert(index, f);
    return true;
}

// A bad line is a command-line error, named by the file and line number.
bool readFaultsFile(const QString& path, SimOptions* options, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot read the faults file %1").arg(path);
        return false;
    }
    for (int number = 1; !file.atEnd(); ++number) {
        QString reason;
        if (!readFaultLine(QString::fromUtf8(file.readLine()), options, &reason)) {
            *error = QStringLiteral("%1:%2: %3").arg(path).arg(number).arg(reason);
            return false;
        }
    }
    return true;
}

} // namespace

FaultOptions SimOptions::faultsOf(int index) const
{
    if (modemFaults.contains(index))
        return modemFaults.value(index);
    FaultOptions f = faults;
    f.seed += quint32(index);
    return f;
}

bool SimOptions::usesSeed() const
{
    const auto draws = [](const FaultOptions& f) { return f.faultRate > 0.0 || f.garbage; };
    return draws(faults) || std::any_of(modemFaults.cbegin(), modemFaults.cend(), draws);
}

ParseOutcome parseOptions(const QStringList& arguments, SimOptions* options, QString* message)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulated Quorvane gateway modem. After listening it prints one line:\n"
                       "READY kind=<eth|gsm> config=<port|-> port485=<port|-> "
                       "port232=<port|-> pty=<path|-> count=<n> first=<port>"));
    const QCommandLineOption help = parser.addHelpOption();
    addOptions(parser, false);
    if (!parser.parse(arguments)) {
        *message = parser.errorText();
        return ParseOutcome::Error;
    }
    if (parser.isSet(help)) {
        *message = parser.helpText();
        return ParseOutcome::Help;
    }
    if (!parser.positionalArguments().isEmpty()) {
        *message = QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments()[0]);
        return ParseOutcome::Error;
    }

    SimOptions o;
    Reader read(parser);
    const QString kind = parser.value("kind");
    if (parser.isSet("kind") && kind != "eth" && kind != "gsm")
        read.fail(QStringLiteral("--kind wants eth or gsm"));
    o.kind = kind == "gsm" ? ModemKind::Gsm : ModemKind::Ethernet;
    if (parser.isSet("host"))
        o.host = parser.value("host");
    o.ptyLink = parser.value("pty-link");
    o.pty = parser.isSet("pty") || parser.isSet("pty-link");
    if (o.pty && o.kind == ModemKind::Gsm)
        read.fail(QStringLiteral("--pty is the Ethernet modem's USB port; it needs --kind eth"));
    o.journal = parser.value("journal");
    o.verbose = parser.isSet("verbose");
    o.singleClient = parser.isSet("single-client");
    o.fleet = parser.isSet("count");
    o.faults.seed = QRandomGenerator::global()->generate();
    bool ok = read.error().isEmpty() && read.integer("config-port", 0, 65535, &o.configPort)
        && read.integer("port485", 0, 65535, &o.port485)
        && read.integer("port232", 0, 65535, &o.port232)
        && read.integer("count", 1, MaxCount, &o.count) && readFaults(parser, read, &o.faults);
    if (ok && o.count > 1) {
        // A fleet's ports follow from the first one; there is one USB port
        // to stand for, not a thousand.
        const int first = o.kind == ModemKind::Gsm ? o.port485 : o.configPort;
        const int last = first + (o.kind == ModemKind::Gsm ? 2 : 1) * o.count - 1;
        if (parser.isSet("port232"))
            ok = read.fail(QStringLiteral("--port232 goes with one modem: a fleet's RS232 port "
                                          "is the RS485 port + 1"));
        else if (o.pty)
            ok = read.fail(QStringLiteral("--pty goes with one modem, not with --count"));
        else if (first > 0 && last > 65535)
            ok = read.fail(QStringLiteral("--count %1 from port %2 runs past port 65535")
                               .arg(o.count)
                               .arg(first));
    }
    if (!ok) {
        *message = read.error();
        return ParseOutcome::Error;
    }
    if (parser.isSet("faults") && !readFaultsFile(parser.value("faults"), &o, message))
        return ParseOutcome::Error;
    *options = o;
    return ParseOutcome::Run;
}

} // namespace modemsim
