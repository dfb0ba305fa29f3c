#ifndef NETWORKCFG_H
#define NETWORKCFG_H

#include "atprotocol.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The network settings block as it travels, kept apart from the window so
// that the frame and the address rule can be checked without one.
namespace NetworkCfg {

// MAC address, static IP flag, then four numbers for each of five addresses.
constexpr int ValueCount = AtProtocol::AT_CMD_FIRST_ID - AtProtocol::AT_CMD_FIRST_ID_NETWORK;
constexpr int FirstAddressItem = eIdIPAddress_0;
constexpr int NumbersPerAddress = 4;

// Exactly four decimal numbers 0..255 joined by dots, nothing around them.
// Anything else would change the number of fields the modem reads.
bool isDottedIpv4(const QString& text);

// The block of a READ_NETWORKCFG answer, in wire order.
struct Settings
{
    QString mac;
    bool staticIp = false;
    QStringList addresses; // IP, mask, gateway, DNS 1, DNS 2, dotted
};
// False when the block does not hold exactly ValueCount values.
bool fromValues(const QList<QByteArray>& values, Settings* out);

// "AT+WRITE_NETWORKCFG=" flag, then the addresses in the order given (the
// wire order: IP, mask, gateway, DNS 1, DNS 2) with their dots as commas.
QString writeFrame(bool staticIp, const QStringList& addresses);

} // namespace NetworkCfg

#endif // NETWORKCFG_H
