#ifndef MODEMSIM_MODEMCONFIG_H
#define MODEMSIM_MODEMCONFIG_H

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

namespace modemsim {

enum class ModemKind { Ethernet, Gsm };

QString kindName(ModemKind kind);
const QString* keywordTable(ModemKind kind);

// What the modem accepts at one position of the read-all / write-all list.
struct ParameterRule
{
    int keywordId = -1;
    bool isText = false;
    quint32 min = 0;
    quint32 max = 0;
    QByteArray factoryValue;
};

// The rules of a kind's list, in wire order (23 Ethernet, 30 GSM).
QList<ParameterRule> parameterRules(ModemKind kind);

// Reads a value the way the modem's firmware does: decimal digits only, no
// sign, no blanks. Returns false for anything else or for a value that does
// not fit in 32 bits.
bool parseDecimal(const QByteArray& text, quint32* value);

// The configuration of both serial lines (plus the GSM extras).
class ModemConfig
{
public:
    explicit ModemConfig(ModemKind kind);

    ModemKind kind() const { return m_kind; }
    const QList<QByteArray>& values() const { return m_values; }
    QByteArray valueList() const;

    // Checks a whole write-all value part; only when every value passes does
    // it replace the configuration. Returns the refusal reason, empty on success.
    QByteArray writeAll(const QByteArray& valuePart);

private:
    ModemKind m_kind;
    QList<ParameterRule> m_rules;
    QList<QByteArray> m_values;
};

using Ipv4 = std::array<quint8, 4>;

// The Ethernet modem's network block: MAC, static flag, five addresses.
class NetworkBlock
{
public:
    static constexpr int AddressCount = 5;
    static constexpr int WriteCount = 1 + 4 * AddressCount;

    // Modem `index` of a fleet has its own MAC: the last two bytes count up.
    explicit NetworkBlock(int index = 0);

    QByteArray mac() const { return m_mac; }
    bool isStatic() const { return m_static; }
    Ipv4 address(int index) const { return m_addresses[index]; }

    // The 22 values of a READ_NETWORKCFG answer.
    QByteArray valueList() const;
    // The 21 values of WRITE_NETWORKCFG (the MAC is never written). Returns
    // the refusal reason, empty on success.
    QByteArray write(const QByteArray& valuePart);
    // The address in use: the static one, or the DHCP lease.
    Ipv4 currentIp() const;

private:
    QByteArray m_mac;
    bool m_static = true;
    std::array<Ipv4, AddressCount> m_addresses;
};

// The CURRENT_IP encoding: the dotted numbers are the integer's bytes, least
// significant first, printed as a signed 32-bit decimal.
qint32 encodeIpv4(const Ipv4& address);

} // namespace modemsim

#endif // MODEMSIM_MODEMCONFIG_H
