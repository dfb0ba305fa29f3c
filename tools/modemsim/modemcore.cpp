#include "modemcore.h"

#include "atprotocol.h"

#include <QIODevice>

namespace modemsim {

namespace {

// Which keyword id each command has in each dialect; -1 where that modem
// does not implement it (the GSM modem has no network block to read or
// write, the Ethernet modem no tunnels to close).
struct CommandRow
{
    int command;
    int ethernetId;
    int gsmId;
};

// Identification of a modem fresh from the production line.
const int EthernetSerial = 417;
const int GsmSerial = 93;
const char* const GsmImei = "356938035643809";
const Ipv4 GsmAddress = { 10, 64, 12, 7 };

QByteArray journalText(const QByteArray& line)
{
    QByteArray text = line;
    return text.replace('\r', "\\r").replace('\n', "\\n");
}

} // namespace

ModemCore::ModemCore(ModemKind kind, int index)
    : m_config(kind)
    , m_network(index)
    , m_serial((kind == ModemKind::Gsm ? "QV-G24-" : "QV-E24-")
          + QByteArray::number((kind == ModemKind::Gsm ? GsmSerial : EthernetSerial) + index)
                .rightJustified(6, '0'))
{
}

bool ModemCore::findCommand(const QByteArray& keyword, Command* command, int* keywordId) const
{
    static const CommandRow rows[] = {
        { int(Command::ReadAll), eIdReadAll, eIdGSMReadAll },
        { int(Command::WriteAll), eIdWriteAll, eIdGSMWriteAll },
        { int(Command::ReadNetworkCfg), eIdReadNetworkCfg, -1 },
        { int(Command::WriteNetworkCfg), eIdWriteNetworkCfg, -1 },
        { int(Command::CurrentIp), eIdCurrentIPAddr, eIdGSMCurrentIPAddr },
        { int(Command::Restart), eIdDeviceRestart, eIdGSMDeviceRestart },
        { int(Command::Ping), eIdDevicePing, eIdGSMDevicePing },
        { int(Command::DevInfo), eIdDeviceInfo, eIdGSMDeviceInfo },
        { int(Command::Close232), -1, eId232ComClose },
        { int(Command::Close485), -1, eId485ComClose },
    };
    const QString* table = keywordTable(kind());
    for (const CommandRow& row : rows) {
        const int id = kind() == ModemKind::Gsm ? row.gsmId : row.ethernetId;
        if (id >= 0 && keyword == table[id].toUtf8()) {
            *command = Command(row.command);
            *keywordId = id;
            return true;
        }
    }
    return false;
}

QByteArray ModemCore::answer(int keywordId, const QByteArray& values) const
{
    QByteArray bytes = AtProtocol::AT_SEP.toUtf8() + keywordTable(kind())[keywordId].toUtf8();
    if (!values.isNull())
        bytes += AtProtocol::AT_SET.toUtf8() + values;
    return bytes + AtProtocol::AT_CRLF.toUtf8();
}

QByteArray ModemCore::okAnswer() const
{
    const int id = kind() == ModemKind::Gsm ? int(eIdGSMRetOK) : int(eIdRetOK);
    return keywordTable(kind())[id].toUtf8() + AtProtocol::AT_CRLF.toUtf8();
}

QByteArray ModemCore::errorAnswer(const QByteArray& reason) const
{
    const int id = kind() == ModemKind::Gsm ? int(eIdGSMRetERR) : int(eIdRetERR);
    return keywordTable(kind())[id].toUtf8() + AtProtocol::AT_SET.toUtf8() + reason
        + AtProtocol::AT_CRLF.toUtf8();
}

QByteArray ModemCore::writeAnswer(const QByteArray& line, const QByteArray& refusal)
{
    if (m_journal)
        m_journal->write(
            m_journalPrefix + (refusal.isEmpty() ? "OK " : "ERR ") + journalText(line) + '\n');
    return refusal.isEmpty() ? okAnswer() : errorAnswer(refusal);
}

QByteArray ModemCore::deviceInfo() const
{
    // serial, MAC or IMEI, product type, subtype, app major, app minor,
    // board type, board major, board minor, parameter version
    const bool gsm = kind() == ModemKind::Gsm;
    QList<QByteArray> fields = { m_serial, gsm ? QByteArray(GsmImei) : m_network.mac(),
        gsm ? "2" : "1", "1", "2", "1", gsm ? "4" : "3", "1", "0", "7" };
    return fields.join(',');
}

ModemCore::Reply ModemCore::handleRequest(const QByteArray& line)
{
    const QByteArray prefix = AtProtocol::AT_CMD.toUtf8();
    if (!line.startsWith(prefix))
        return { errorAnswer("UNKNOWN") };
    const QByteArray body = line.mid(prefix.size());
    const int set = body.indexOf(AtProtocol::AT_SET.toUtf8());
    const QByteArray keyword = set < 0 ? body : body.left(set);
    const QByteArray values = set < 0 ? QByteArray() : body.mid(set + 1);

    Command command;
    int id = -1;
    if (!findCommand(keyword, &command, &id))
        return { errorAnswer("UNKNOWN") };
    const bool isWrite = command == Command::WriteAll || command == Command::WriteNetworkCfg;
    if (!isWrite && set >= 0)
        return { errorAnswer("UNEXPECTED VALUES") };

    // A modem that refuses writes checks nothing: even a good list is refused.
    if (isWrite && m_refusingWrites)
        return { writeAnswer(line, "REFUSED") };

    switch (command) {
    case Command::ReadAll:
        return { answer(id, m_config.valueList()) };
    case Command::WriteAll:
        return { writeAnswer(line, m_config.writeAll(values)) };
    case Command::ReadNetworkCfg:
        return { answer(id, m_network.valueList()) };
    case Command::WriteNetworkCfg:
        return { writeAnswer(line, m_network.write(values)) };
    case Command::CurrentIp: {
        const Ipv4 address = kind() == ModemKind::Gsm ? GsmAddress : m_network.currentIp();
        return { answer(id, QByteArray::number(encodeIpv4(address))) };
    }
    case Command::Restart:
        return { answer(id), Action::Restart };
    case Command::Ping:
        return { answer(id), Action::None, true };
    case Command::DevInfo:
        return { answer(id, deviceInfo()) };
    case Command::Close232:
        return { answer(id), Action::Close232 };
    case Command::Close485:
        return { answer(id), Action::Close485 };
    }
    return { errorAnswer("UNKNOWN") };
}

} // namespace modemsim
