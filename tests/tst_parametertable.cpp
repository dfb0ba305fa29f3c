#include "parametertable.h"

#include <QtTest>

using Route = AtProtocol::eConnection_State_t;
Q_DECLARE_METATYPE(AtProtocol::eConnection_State_t)

namespace {

// Where the keyword stands in the route's value list; -1 where it has none.
int position(Route route, const QString& keyword)
{
    for (const ParameterSpec& param : ParameterTable::parameters(route))
        if (*param.keyword == keyword)
            return param.position;
    return -1;
}

// Answers that pass every limit.
const QByteArray ethAnswer = "1,502,0,8,0,1,5,8,400,1000,5,0,503,4,7,2,2,9,16,250,200,0,1";
const QByteArray gsmAnswer = "1,502,0,8,0,1,5,8,400,1000,5,2,5000,300,"
                             "0,503,4,7,2,2,9,16,250,200,0,0,500,150,internet,1";

} // namespace

class TestParameterTable : public QObject
{
    Q_OBJECT

private slots:
    void limits_data()
    {
        QTest::addColumn<Route>("route");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("condition"); // empty: the value is accepted
        const char* enable = "ValOfList <= EnableIndexMax";
        struct Row
        {
            const char *keyword, *accepted, *refused, *condition;
        };
        // Values that are not plain decimal numbers read as 0.
        // clang-format off
        const Row rows[] = {
            {"485EN",        "0 1",         "2 -1",  enable},
            {"232MOD",       "4",           "5 -1",  "ValOfList <= TrpModIndexMax"},
            {"485DATAB",     "7 8 07",      "6 9 x 8x 0x8 4294967304", "( ValOfList >= DatabitMin ) && ( ValOfList <= DatabitMax )"},
            {"232PARB",      "2",           "3",     "ValOfList <= ParitybitMax"},
            {"485STPB",      "1 2",         "0 3",   "( ValOfList >= StopbitMin ) && ( ValOfList <= StopbitMax )"},
            {"232BAUD",      "9",           "10",    "ValOfList <= BaudIndexMax"},
            {"485WAITCHR",   "4 128",       "3 129", "( ValOfList >= WaitingChrMin ) && ( ValOfList <= WaitingChrMax )"},
            {"232WAITMS",    "10 5000",     "9 5001", "( ValOfList >= WaitingMsMin ) && ( ValOfList <= WaitingMsMax )"},
            {"INFORESPONSE", "0 1",         "2",     enable},
            {"485PORT",      "70000 junk",  "",      ""},
            {"232TMOUT",     "-5",          "",      ""},
            {"485RETRYCNT",  "-1 999",      "",      ""},
            {"APN",          "web.apn 12",  "",      ""},
        };
        // clang-format on
        for (Route route : { AtProtocol::eETH, AtProtocol::eTCP232 })
            for (const Row& r : rows) {
                const bool gsm = AtProtocol::isGsmRoute(route);
                if (position(route, r.keyword) < 0)
                    continue;
                for (bool ok : { true, false })
                    for (const QString& v : QString(ok ? r.accepted : r.refused).split(' '))
                        if (!v.isEmpty())
                            QTest::addRow("%s %s=%s", gsm ? "gsm" : "eth", r.keyword, qPrintable(v))
                                << route << r.keyword << v.toUtf8() << (ok ? "" : r.condition);
            }
    }

    // Each row puts one value into an otherwise valid answer.
    void limits()
    {
        QFETCH(Route, route);
        QFETCH(QString, keyword);
        QFETCH(QByteArray, value);
        QFETCH(QString, condition);
        QList<QByteArray> values
            = (AtProtocol::isGsmRoute(route) ? gsmAnswer : ethAnswer).split(',');
        values[position(route, keyword)] = value;
        const ReadAllVerdict verdict = ParameterTable::checkReadAll(route, values);
        QCOMPARE(verdict.accepted, condition.isEmpty());
        QCOMPARE(verdict.reason,
            condition.isEmpty() ? QString()
                                : QString("Configuration refused: %1 = %2 breaks %3")
                                      .arg(keyword, QString(value), condition));
    }
};

QTEST_APPLESS_MAIN(TestParameterTable)
#include "tst_parametertable.moc"
