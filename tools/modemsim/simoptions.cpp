#include "simoptions.h"

#include <QCommandLineParser>
#include <QRandomGenerator>

namespace modemsim {

namespace {

struct OptionRow
{
    const char* name;
    const char* valueName; // null for a switch
    const char* description;
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
    { "silent", nullptr, "Never answer." },
    { "answer-after", "n", "Ignore the first n requests of each connection." },
    { "split", "ms", "Write every answer in two pieces, the second ms later." },
    { "garbage", nullptr, "Answer with random bytes holding no \"+\", CR or LF." },
    { "garbage-rate", "p", "With --garbage: garble only this share of answers (0..1)." },
    { "unterminated", nullptr, "Leave out the final CR LF of every answer." },
    { "drop-mid-answer", nullptr, "Write half an answer, then close the connection." },
    { "single-client", nullptr, "Each port serves one client; a second one is closed at once." },
    { "delay", "ms", "Delay every answer by ms." },
    { "drop-after", "n", "Close the connection (or the pseudo-terminal) after n requests." },
    { "seed", "s", "Seed of the random faults and garbage (default: random, printed)." },
    { "fault-rate", "p",
        "With probability p per answer pick a fault: split, garbage, silence "
        "or drop." },
    { "flood", "shape[:piece]",
        "Answer AT+PING with a flood instead of +PING, in writes of piece bytes "
        "(default: all in one); once all of it has left, \"<client> flood sent\" goes "
        "to stderr. Shapes: %1." },
};

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

} // namespace

ParseOutcome parseOptions(const QStringList& arguments, SimOptions* options, QString* message)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulated Quorvane gateway modem. After listening it prints one line:\n"
                       "READY kind=<eth|gsm> config=<port|-> port485=<port|-> "
                       "port232=<port|-> pty=<path|->"));
    const QCommandLineOption help = parser.addHelpOption();
    for (const OptionRow& row : OptionRows) {
        QString description = QString::fromLatin1(row.description);
        if (description.contains(QLatin1String("%1")))
            description = description.arg(floodShapes(true).join(QStringLiteral(", ")));
        parser.addOption(row.valueName ? QCommandLineOption(row.name, description, row.valueName)
                                       : QCommandLineOption(row.name, description));
    }
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

    FaultOptions& f = o.faults;
    f.silent = parser.isSet("silent");
    f.garbage = parser.isSet("garbage") || parser.isSet("garbage-rate");
    f.unterminated = parser.isSet("unterminated");
    f.dropMidAnswer = parser.isSet("drop-mid-answer");
    quint32 seed = 0;
    const bool ok = read.error().isEmpty() && read.integer("config-port", 0, 65535, &o.configPort)
        && read.integer("port485", 0, 65535, &o.port485)
        && read.integer("port232", 0, 65535, &o.port232)
        && read.integer("answer-after", 0, INT_MAX, &f.answerAfter)
        && read.integer("split", 0, INT_MAX, &f.splitMs)
        && read.integer("delay", 0, INT_MAX, &f.delayMs)
        && read.integer("drop-after", 1, INT_MAX, &f.dropAfter)
        && read.probability("garbage-rate", &f.garbageRate)
        && read.probability("fault-rate", &f.faultRate)
        && read.integer("seed", 0, 0xFFFFFFFFll, &seed) && read.flood(&f);
    if (!ok) {
        *message = read.error();
        return ParseOutcome::Error;
    }
    f.seed = parser.isSet("seed") ? seed : QRandomGenerator::global()->generate();
    *options = o;
    return ParseOutcome::Run;
}

} // namespace modemsim
