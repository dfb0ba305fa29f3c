#ifndef TST_RECEIVE_FIXTURES_H
#define TST_RECEIVE_FIXTURES_H

#include "transparentconfig.h"

#include <QByteArray>
#include <QtTest>

// Shared by the tests that feed answers to the form and read frames back.

// Read-all values both kinds of modem may send, chosen so that each one
// survives the trip into the form and back out unchanged (retry count 2 with
// 5000 ms, ping intervals in whole minutes).
inline const QByteArray EthValues = "1,502,0,8,0,1,5,8,400,1000,5,1,503,4,7,2,2,9,16,50,2000,3,1";
inline const QByteArray GsmValues = "1,502,0,8,0,1,5,8,400,1000,5,2,5000,300,"
                                    "1,503,4,7,2,2,9,16,50,2000,3,0,500,600,internet,1";

// Puts the form on a route as the main window does before it hands blocks over.
inline void setRoute(TransparentConfig& form, AtProtocol::eConnection_State_t route)
{
    switch (route) {
    case AtProtocol::eETH:
        return form.SetETHSettings(true);
    case AtProtocol::eUSB:
        return form.SetUSBSettings(true);
    case AtProtocol::eTCP485:
        return form.Set485Settings(true);
    case AtProtocol::eTCP232:
        return form.Set232Settings(true);
    case AtProtocol::eMax:
        break;
    }
}

// One row per route with the read-all values of its modem kind.
inline void addRouteRows()
{
    QTest::addColumn<int>("route");
    QTest::addColumn<QByteArray>("values");
    QTest::newRow("eth") << int(AtProtocol::eETH) << EthValues;
    QTest::newRow("usb") << int(AtProtocol::eUSB) << EthValues;
    QTest::newRow("485") << int(AtProtocol::eTCP485) << GsmValues;
    QTest::newRow("232") << int(AtProtocol::eTCP232) << GsmValues;
}

#endif // TST_RECEIVE_FIXTURES_H
