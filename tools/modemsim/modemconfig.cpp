#include "modemconfig.h"

#include "atprotocol.h"

namespace modemsim {

namespace {

// The firmware's limits, keyed by the keyword without its line prefix.
// Limits the configurator checks on reading are the same here; the others
// are the widths of the modem's own registers. The factory values are what
// a modem fresh from the box answers.
struct RuleRow
{
    const char* keyword;
    bool isText;
    quint32 min;
    quint32 max;
    const char* factory485;
    const char* factory232;
};

const RuleRow RuleRows[] = {
    { "EN", false, 0, 1, "1", "1" },
    { "PORT", false, 1, 65535, "502", "503" },
    { "MOD", false, 0, 4, "0", "0" },
    { "DATAB", false, 7, 8, "8", "8" },
    { "PARB", false, 0, 2, "0", "0" },
    { "STPB", false, 1, 2, "1", "1" },
    { "BAUD", false, 0, 9, "5", "5" },
    { "WAITCHR", false, 4, 128, "8", "8" },
    { "WAITMS", false, 10, 5000, "400", "400" },
    { "TMOUT", false, 0, 65535, "1000", "1000" },
    { "ETHTMOUT", false, 0, 255, "5", "5" },
    { "RETRYCNT", false, 0, 255, "2", "2" },
    { "INTTMOUT", false, 0, 65535, "5000", "5000" },
    { "PINGTMOUT", false, 0, 65535, "300", "300" },
    { "APN", true, 0, 0, "internet", "internet" },
    { "INFORESPONSE", false, 0, 1, "1", "1" },
};

ParameterRule ruleFor(ModemKind kind, int id)
{
    QString keyword = keywordTable(kind)[id];
    const bool is232 = keyword.startsWith(QLatin1String("232"));
    if (is232 || keyword.startsWith(QLatin1String("485")))
        keyword.remove(0, 3);
    for (const RuleRow& row : RuleRows) {
        if (keyword == QLatin1String(row.keyword))
            return { id, row.isText, row.min, row.max, is232 ? row.factory232 : row.factory485 };
    }
    Q_ASSERT_X(false, "ruleFor", "every parameter keyword has a rule");
    return {};
}

// A frame without "=" carries no values at all, not one empty value.
QList<QByteArray> splitValues(const QByteArray& valuePart)
{
    return valuePart.isNull() ? QList<QByteArray>() : valuePart.split(',');
}

QByteArray countReason(int got, int wanted)
{
    return "COUNT " + QByteArray::number(got) + '/' + QByteArray::number(wanted);
}

// Checks one numeric value; `position` is 1-based, as the reason reports it.
QByteArray numberReason(
    const QByteArray& text, int position, quint32 min, quint32 max, quint32* value)
{
    if (!parseDecimal(text, value))
        return "VALUE " + QByteArray::number(position) + " NOT A NUMBER";
    if (*value < min || *value > max)
        return "VALUE " + QByteArray::number(position) + " OUT OF RANGE";
    return {};
}

QByteArray joinAddress(const Ipv4& address)
{
    QByteArray text;
    for (quint8 octet : address)
        text += (text.isEmpty() ? "" : ",") + QByteArray::number(octet);
    return text;
}

// Handed out when DHCP is on; the modem has no DHCP server to ask here.
const Ipv4 DhcpLease = { 192, 168, 0, 100 };

} // namespace

QString kindName(ModemKind kind)
{
    return kind == ModemKind::Gsm ? QStringLiteral("gsm") : QStringLiteral("eth");
}

const QString* keywordTable(ModemKind kind)
{
    return kind == ModemKind::Gsm ? TrpCfgCmdGSMTexts : TrpCfgCmdTexts;
}

QList<ParameterRule> parameterRules(ModemKind kind)
{
    const bool gsm = kind == ModemKind::Gsm;
    const int first = gsm ? int(AtProtocol::GSM_AT_CMD_FIRST_ID) : int(AtProtocol::AT_CMD_FIRST_ID);
    const int last = gsm ? int(AtProtocol::GSM_AT_CMD_LAST_ID) : int(AtProtocol::AT_CMD_LAST_ID);
    QList<ParameterRule> rules;
    for (int id = first; id <= last; ++id)
        rules.append(ruleFor(kind, id));
    return rules;
}

bool parseDecimal(const QByteArray& text, quint32* value)
{
    if (text.isEmpty() || text.size() > 10)
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    const qulonglong wide = text.toULongLong();
    if (wide > 0xFFFFFFFFull)
        return false;
    *value = quint32(wide);
    return true;
}

ModemConfig::ModemConfig(ModemKind kind)
    : m_kind(kind)
    , m_rules(parameterRules(kind))
{
    for (const ParameterRule& rule : m_rules)
        m_values.append(rule.factoryValue);
}

QByteArray ModemConfig::valueList() const
{
    return m_values.join(',');
}

QByteArray ModemConfig::writeAll(const QByteArray& valuePart)
{
    const QList<QByteArray> parts = splitValues(valuePart);
    if (parts.size() != m_rules.size())
        return countReason(parts.size(), m_rules.size());
    QList<QByteArray> accepted;
    for (int i = 0; i < parts.size(); ++i) {
        const ParameterRule& rule = m_rules.at(i);
        if (rule.isText) {
            // The line framing already ends a frame at CR LF; a lone CR or LF
            // inside the name would break the next read-all answer.
            if (parts[i].contains('\r') || parts[i].contains('\n'))
                return "VALUE " + QByteArray::number(i + 1) + " BAD TEXT";
            accepted.append(parts[i]);
            continue;
        }
        quint32 value = 0;
        const QByteArray reason = numberReason(parts[i], i + 1, rule.min, rule.max, &value);
        if (!reason.isEmpty())
            return reason;
        accepted.append(QByteArray::number(value));
    }
    m_values = accepted;
    return {};
}

NetworkBlock::NetworkBlock(int index)
    : m_mac("00:1A:2B:3C:"
        + QByteArray::number((0x4D5E + index) & 0xFFFF, 16)
              .rightJustified(4, '0')
              .toUpper()
              .insert(2, ':'))
    , m_addresses { { { 192, 168, 0, 20 }, { 255, 255, 255, 0 }, { 192, 168, 0, 1 }, { 8, 8, 8, 8 },
          { 8, 8, 4, 4 } } }
{
}

QByteArray NetworkBlock::valueList() const
{
    QByteArray text = m_mac + ',' + (m_static ? "1" : "0");
    for (const Ipv4& address : m_addresses)
        text += ',' + joinAddress(address);
    return text;
}

QByteArray NetworkBlock::write(const QByteArray& valuePart)
{
    const QList<QByteArray> parts = splitValues(valuePart);
    if (parts.size() != WriteCount)
        return countReason(parts.size(), WriteCount);
    quint32 value = 0;
    QByteArray reason = numberReason(parts[0], 1, 0, 1, &value);
    if (!reason.isEmpty())
        return reason;
    const bool isStatic = value != 0;
    std::array<Ipv4, AddressCount> addresses;
    for (int i = 1; i < WriteCount; ++i) {
        reason = numberReason(parts[i], i + 1, 0, 255, &value);
        if (!reason.isEmpty())
            return reason;
        addresses[(i - 1) / 4][(i - 1) % 4] = quint8(value);
    }
    m_static = isStatic;
    m_addresses = addresses;
    return {};
}

Ipv4 NetworkBlock::currentIp() const
{
    return m_static ? m_addresses[0] : DhcpLease;
}

qint32 encodeIpv4(const Ipv4& address)
{
    const quint32 word = quint32(address[0]) | quint32(address[1]) << 8 | quint32(address[2]) << 16
        | quint32(address[3]) << 24;
    return qint32(word);
}

} // namespace modemsim
