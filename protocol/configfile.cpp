#include "configfile.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QTextCodec>
#include <QVector>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

using Line = AtProtocol::eRoute_Serial_t;

enum class Type { Flag, Number, Choice, Baud };

// A file key. Numbers are checked against the tighter of the read limit and
// the range of the form's control that shows them: the form would clamp a
// value outside its control, and Apply would then send something else.
struct Key
{
    const char* name;
    ParamField field;
    Type type;
    bool gsmOnly;
    int min, max;
};

// clang-format off
const Key LineKeys[] = {
    {"enable",                ParamField::Enable,     Type::Flag,   false, 0,   1},
    {"tcp_port",              ParamField::Port,       Type::Number, false, 0,   65535},
    {"mode",                  ParamField::Mode,       Type::Choice, false, 0,   0},
    {"data_bits",             ParamField::Databit,    Type::Number, false, ParameterLimits::DatabitMin, ParameterLimits::DatabitMax},
    {"parity",                ParamField::Paritybit,  Type::Choice, false, 0,   0},
    {"stop_bits",             ParamField::Stopbit,    Type::Number, false, ParameterLimits::StopbitMin, ParameterLimits::StopbitMax},
    {"baud_rate",             ParamField::Baud,       Type::Baud,   false, 0,   0},
    {"silent_interval_chars", ParamField::WaitingChr, Type::Number, false, ParameterLimits::WaitingChrMin, ParameterLimits::WaitingChrMax},
    {"silent_interval_ms",    ParamField::WaitingMs,  Type::Number, false, ParameterLimits::WaitingMsMin, ParameterLimits::WaitingMsMax},
    {"modbus_timeout_ms",     ParamField::Tmout,      Type::Number, false, 100, 10000},
    {"connect_timeout_min",   ParamField::EthTmout,   Type::Number, false, 0,   255},
    {"retry_count",           ParamField::RetryCnt,   Type::Number, true,  0,   5},
    {"command_interval_ms",   ParamField::IntVal,     Type::Number, true,  0,   10000},
    {"ping_interval_s",       ParamField::PingIntVal, Type::Number, true,  120, 7200},
};
const Key InfoResponseKey = {"info_response", ParamField::InfoResponse, Type::Flag, false, 0, 1};
// clang-format on

const char* const Lines[] = { "rs485", "rs232" };

// The names a list choice is written with, by its index on the wire.
const QStringList& choices(ParamField field)
{
    return field == ParamField::Mode ? ModemConfig::Modes : ModemConfig::Parities;
}
const QStringList TopKeys = { "format", "kind", "rs485", "rs232", "general" };

QString joined(const QString& path, const QString& key)
{
    return path.isEmpty() ? key : path + '.' + key;
}

// The JSON reader keeps one of two equal keys of an object silently, and
// Qt 5.15's loses memory on them: the first key given twice, as its path,
// found before the reader sees the text.
QString duplicateKey(const QString& text)
{
    struct Level { QSet<QString> keys; QString path; bool object; };
    QVector<Level> open;
    QString lastKey;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == '"') {
            int end = i + 1;
            while (end < text.size() && text.at(end) != '"')
                end += text.at(end) == '\\' ? 2 : 1;
            if (end >= text.size())
                return {}; // an unterminated string: the parser names it
            int next = end + 1;
            while (next < text.size() && text.at(next).isSpace())
                ++next;
            if (next < text.size() && text.at(next) == ':' && !open.isEmpty() && open.last().object) {
                const QString key = QJsonDocument::fromJson(('[' + text.mid(i, end - i + 1) + ']').toUtf8())
                                        .array()
                                        .at(0)
                                        .toString();
                if (open.last().keys.contains(key))
                    return joined(open.last().path, key);
                open.last().keys.insert(key);
                lastKey = key;
            }
            i = end;
        } else if (c == '{' || c == '[') {
            open.append({ {}, open.isEmpty() ? QString() : joined(open.last().path, lastKey), c == '{' });
        } else if ((c == '}' || c == ']') && !open.isEmpty()) {
            open.removeLast();
        }
    }
    return {};
}

// A file name or a key may hold a line break or another control character;
// the message stays one line that shows it.
QString oneLine(const QString& text)
{
    QString shown;
    for (const QChar c : text)
        shown += c.unicode() < 0x20 || c.unicode() == 0x7f ? QString("\\x%1").arg(c.unicode(), 2, 16, QChar('0')) : QString(c);
    return shown;
}

class Reader
{
    Q_DECLARE_TR_FUNCTIONS(ConfigFile)

public:
    Reader(const QString& name, bool gsm) : m_name(name), m_gsm(gsm) { }

    bool fail(const QString& path, const QString& reason)
    {
        m_error = path.isEmpty() ? tr("%1: %2").arg(oneLine(m_name), reason)
                                 : tr("%1: %2: %3").arg(oneLine(m_name), oneLine(path), reason);
        return false;
    }
    QString error() const { return m_error; }

    // Exactly the keys `allowed` (less the 4G modem's own on an Ethernet one).
    bool keys(const QJsonObject& object, const QString& path, const QStringList& allowed, const QStringList& gsmOnly)
    {
        for (const QString& key : object.keys())
            if (!allowed.contains(key) || (!m_gsm && gsmOnly.contains(key)))
                return fail(joined(path, key), gsmOnly.contains(key) ? tr("unknown key: the 4G modem's only") : tr("unknown key"));
        for (const QString& key : allowed)
            if ((m_gsm || !gsmOnly.contains(key)) && !object.contains(key))
                return fail(joined(path, key), tr("missing"));
        return true;
    }

    bool value(const Key& key, const QJsonValue& v, const QString& path, int* out)
    {
        const QStringList& names = choices(key.field);
        switch (key.type) {
        case Type::Flag:
            if (!v.isBool())
                return fail(path, tr("expected true or false"));
            *out = v.toBool() ? 1 : 0;
            return true;
        case Type::Choice:
            *out = names.indexOf(v.toString());
            return (v.isString() && *out >= 0) || fail(path, tr("expected one of %1").arg(names.join(", ")));
        case Type::Baud:
        case Type::Number:
            break;
        }
        const double d = v.toDouble();
        if (!v.isDouble() || d != std::floor(d) || d < INT_MIN || d > INT_MAX)
            return fail(path, tr("expected a whole number"));
        *out = int(d);
        if (key.type == Type::Baud) {
            QStringList rates;
            for (int rate : ModemConfig::BaudRates)
                rates << QString::number(rate);
            *out = ModemConfig::BaudRates.indexOf(*out);
            return *out >= 0 || fail(path, tr("expected one of %1").arg(rates.join(", ")));
        }
        if (*out < key.min || *out > key.max)
            return fail(path, tr("%1 is outside %2–%3").arg(*out).arg(key.min).arg(key.max));
        return true;
    }

    // What the form would show otherwise, and so write back changed.
    bool shownAsRead(const LineConfig& l, const QString& path)
    {
        if (!m_gsm)
            return true;
        if (l.pingIntervalS % 60)
            return fail(path + ".ping_interval_s", tr("%1 is not a whole number of minutes from 2 to 120").arg(l.pingIntervalS));
        if (l.retryCount > 0 && (l.commandIntervalMs % 1000 || l.commandIntervalMs < 3000))
            return fail(path + ".command_interval_ms",
                tr("%1 is not a whole number of seconds from 3 to 10 while retry_count is above 0").arg(l.commandIntervalMs));
        if (l.retryCount == 0 && l.commandIntervalMs > 5000)
            return fail(path + ".command_interval_ms", tr("%1 is outside 0–5000 while retry_count is 0").arg(l.commandIntervalMs));
        return true;
    }

    bool line(const QJsonObject& object, const QString& path, LineConfig* l)
    {
        QStringList names, gsmOnly;
        for (const Key& key : LineKeys)
            (key.gsmOnly ? gsmOnly : names) << key.name;
        if (!keys(object, path, names + gsmOnly, gsmOnly))
            return false;
        for (const Key& key : LineKeys)
            if ((m_gsm || !key.gsmOnly) && !value(key, object.value(key.name), joined(path, key.name), &(l->*LineConfig::member(key.field))))
                return false;
        return shownAsRead(*l, path);
    }

private:
    QString m_name, m_error;
    bool m_gsm;
};

} // namespace

QJsonObject ConfigFile::toObject(const ModemConfig& config)
{
    QJsonObject file { { "format", Format }, { "kind", config.gsm ? "gsm" : "ethernet" } };
    for (auto line : { Line::e485, Line::e232 }) {
        QJsonObject object;
        for (const Key& key : LineKeys) {
            const int v = config.line(line).*LineConfig::member(key.field);
            if (key.gsmOnly && !config.gsm)
                continue;
            object.insert(key.name, key.type == Type::Flag ? QJsonValue(v != 0)
                    : key.type == Type::Choice ? QJsonValue(choices(key.field).value(v))
                    : key.type == Type::Baud   ? QJsonValue(ModemConfig::BaudRates.value(v))
                                               : QJsonValue(v));
        }
        file.insert(Lines[line == Line::e232], object);
    }
    QJsonObject general { { "info_response", config.infoResponse != 0 } };
    if (config.gsm)
        general.insert("apn", config.apn);
    file.insert("general", general);
    return file;
}

QByteArray ConfigFile::toJson(const ModemConfig& config)
{
    return QJsonDocument(toObject(config)).toJson(QJsonDocument::Indented);
}

QVector<ConfigFile::Difference> ConfigFile::differences(const ModemConfig& modem, const ModemConfig& file)
{
    QVector<Difference> found;
    const QJsonObject a = toObject(modem), b = toObject(file);
    if (a.value("kind") != b.value("kind"))
        found.append({ "kind", a.value("kind"), b.value("kind") });
    QStringList general = { "info_response" };
    if (modem.gsm && file.gsm)
        general.prepend("apn");
    QVector<QPair<QString, QStringList>> sections;
    for (const char* line : Lines) {
        QStringList keys;
        for (const Key& key : LineKeys)
            if (!key.gsmOnly || (modem.gsm && file.gsm))
                keys << key.name;
        sections.append({ line, keys });
    }
    sections.append({ "general", general });
    for (const auto& [section, keys] : sections)
        for (const QString& key : keys) {
            const QJsonValue x = a.value(section).toObject().value(key), y = b.value(section).toObject().value(key);
            if (x != y)
                found.append({ section + '.' + key, x, y });
        }
    return found;
}

ConfigFile::Loaded ConfigFile::fromJson(const QByteArray& bytes, const QString& name, bool gsm)
{
    Loaded result;
    Reader read(name, gsm);
    const auto refused = [&] { return result.error = read.error(), result; };
    if (bytes.size() > MaxBytes)
        return read.fail({}, Reader::tr("larger than 1 MiB")), refused();
    QTextCodec::ConverterState state;
    const QString text = QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    if (state.invalidChars > 0)
        return read.fail({}, Reader::tr("not UTF-8 text")), refused();
    // JSON has no raw control characters but the three line-layout ones;
    // Qt's reader lets a NUL into a key, where two different keys can meet.
    for (int i = 0; i < bytes.size(); ++i)
        if (uchar(bytes.at(i)) < 0x20 && !QByteArray("\t\n\r").contains(bytes.at(i)))
            return read.fail({}, Reader::tr("not JSON: a control character at byte %1").arg(i)), refused();
    if (const QString twice = duplicateKey(text); !twice.isEmpty())
        return read.fail(twice, Reader::tr("given twice")), refused();
    QJsonParseError parsed;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parsed);
    if (parsed.error != QJsonParseError::NoError || !document.isObject())
        return read.fail({}, parsed.error != QJsonParseError::NoError
                    ? Reader::tr("not JSON: %1 at byte %2").arg(parsed.errorString()).arg(parsed.offset)
                    : Reader::tr("not a JSON object")),
               refused();
    const QJsonObject file = document.object();
    if (!read.keys(file, {}, TopKeys, {}))
        return refused();
    if (file.value("format") != QJsonValue(Format))
        return read.fail("format", Reader::tr("not a format this program knows (it knows 1)")), refused();
    const QString kind = file.value("kind").toString();
    if (kind != "ethernet" && kind != "gsm")
        return read.fail("kind", Reader::tr("expected ethernet or gsm")), refused();
    if ((kind == "gsm") != gsm)
        return read.fail("kind", gsm ? Reader::tr("the file is for an Ethernet modem, a 4G modem is selected")
                                     : Reader::tr("the file is for a 4G modem, an Ethernet modem is selected")),
               refused();

    ModemConfig& config = result.config;
    config.gsm = gsm;
    for (auto line : { Line::e485, Line::e232 }) {
        const QString path = Lines[line == Line::e232];
        if (!file.value(path).isObject())
            return read.fail(path, Reader::tr("expected an object")), refused();
        if (!read.line(file.value(path).toObject(), path, &config.line(line)))
            return refused();
    }
    if (config.rs485.tcpPort == config.rs232.tcpPort)
        return read.fail("rs232.tcp_port", Reader::tr("the same port as rs485.tcp_port")), refused();

    const QJsonObject general = file.value("general").toObject();
    if (!file.value("general").isObject())
        return read.fail("general", Reader::tr("expected an object")), refused();
    if (!read.keys(general, "general", { "apn", "info_response" }, { "apn" })
        || !read.value(InfoResponseKey, general.value("info_response"), "general.info_response", &config.infoResponse))
        return refused();
    if (gsm) {
        if (!general.value("apn").isString())
            return read.fail("general.apn", Reader::tr("expected text")), refused();
        config.apn = general.value("apn").toString();
        if (ParameterTable::holdsSeparator(config.apn))
            return read.fail("general.apn", Reader::tr("holds a comma or a line break, which would split the modem's list")), refused();
        // A NUL or another control character would not come back from the
        // modem as it went: the answer is read as text.
        if (std::any_of(config.apn.begin(), config.apn.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; }))
            return read.fail("general.apn", Reader::tr("holds a control character")), refused();
    }
    result.ok = true;
    return result;
}
