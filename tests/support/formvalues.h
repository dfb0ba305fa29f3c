#ifndef FORMVALUES_H
#define FORMVALUES_H

#include "transparentconfig.h"

#include <QtTest>

using Route = AtProtocol::eConnection_State_t;

// Read-all values that survive the trip into the form and back out unchanged
// (retry count 2 with 5000 ms, ping intervals in whole minutes).
inline const QByteArray EthValues = "1,502,0,8,0,1,5,8,400,1000,5,1,503,4,7,2,2,9,16,50,2000,3,1";
inline const QByteArray GsmValues = "1,502,0,8,0,1,5,8,400,1000,5,2,5000,300,"
                                    "1,503,4,7,2,2,9,16,50,2000,3,0,500,600,internet,1";

inline QByteArray valuesOf(Route route)
{
    return AtProtocol::isGsmRoute(route) ? GsmValues : EthValues;
}

// The values with the one at `position` replaced.
inline QByteArray with(const QByteArray& values, int position, const QByteArray& value)
{
    QList<QByteArray> list = values.split(',');
    list[position] = value;
    return list.join(',');
}

// Puts the form on a route as the main window does before it hands blocks
// over: "ETH", "USB", "485", "232" or "DataRead", " false" to take it off.
inline void setRoute(TransparentConfig& form, const QString& op)
{
    using Op = void (TransparentConfig::*)(bool const&);
    static const QMap<QString, Op> ops = { { "ETH", &TransparentConfig::SetETHSettings },
        { "USB", &TransparentConfig::SetUSBSettings }, { "485", &TransparentConfig::Set485Settings },
        { "232", &TransparentConfig::Set232Settings }, { "DataRead", &TransparentConfig::DataReadSettings } };
    if (const Op set = ops.value(op.section(' ', 0, 0)))
        (form.*set)(!op.endsWith("false"));
}
inline void setRoute(TransparentConfig& form, Route route)
{
    setRoute(form, QStringList { "ETH", "USB", "485", "232" }.value(route));
}

#endif // FORMVALUES_H
