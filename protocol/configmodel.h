#ifndef CONFIGMODEL_H
#define CONFIGMODEL_H

#include "parametertable.h"

#include <QList>
#include <QString>
#include <QStringList>

// One line's values as a read-all answer carries them, in the wire's units.
// Flags and list choices are kept as the numbers the wire uses.
struct LineConfig
{
    int enable = 0;
    int tcpPort = 0;
    int mode = 0; // index into ModemConfig::Modes
    int dataBits = 8;
    int parity = 0; // index into ModemConfig::Parities
    int stopBits = 1;
    int baud = 0; // index into ModemConfig::BaudRates
    int silentChars = 8;
    int silentMs = 400;
    int modbusTimeoutMs = 100;
    int connectTimeoutMin = 0;
    // The 4G modem's only.
    int retryCount = 0;
    int commandIntervalMs = 0;
    int pingIntervalS = 0;

    bool operator==(const LineConfig& o) const;
    bool operator!=(const LineConfig& o) const { return !(*this == o); }
    // The member that holds a line value of the parameter table; null for a general one.
    static int LineConfig::*member(ParamField field);
};

// A whole modem configuration: exactly the values of a read-all answer, each
// named. Positions, limits and conversions stay in the parameter table.
struct ModemConfig
{
    bool gsm = false;
    LineConfig rs485, rs232;
    QString apn; // the 4G modem's only
    int infoResponse = 0;

    static const QList<int> BaudRates;
    static const QStringList Modes, Parities;

    // The answer's values judged as a read judges them; on refusal the
    // result is a default configuration and `refusal` says why.
    static ModemConfig fromValues(bool gsm, const QList<QByteArray>& values, QString* refusal = nullptr);
    // The values of the write-all frame, in wire order.
    QStringList writeAllValues() const;
    // The one frame that writes the whole configuration.
    QByteArray writeAllFrame() const;

    const LineConfig& line(AtProtocol::eRoute_Serial_t l) const { return l == AtProtocol::eRoute_Serial_t::e232 ? rs232 : rs485; }
    LineConfig& line(AtProtocol::eRoute_Serial_t l) { return l == AtProtocol::eRoute_Serial_t::e232 ? rs232 : rs485; }
    bool operator==(const ModemConfig& o) const;
    bool operator!=(const ModemConfig& o) const { return !(*this == o); }
};

#endif // CONFIGMODEL_H
