#include "parametertable.h"

#include <QtTest>

using Route = AtProtocol::eConnection_State_t;
Q_DECLARE_METATYPE(AtProtocol::eConnection_State_t)

namespace {

const QStringList ethernetOrder = { "485EN", "485PORT", "485MOD", "485DATAB", "485PARB", "485STPB",
    "485BAUD", "485WAITCHR", "485WAITMS", "485TMOUT", "485ETHTMOUT", "232EN", "232PORT", "232MOD",
    "232DATAB", "232PARB", "232STPB", "232BAUD", "232WAITCHR", "232WAITMS", "232TMOUT",
    "232ETHTMOUT", "INFORESPONSE" };

const QStringList gsmOrder = { "485EN", "485PORT", "485MOD", "485DATAB", "485PARB", "485STPB",
    "485BAUD", "485WAITCHR", "485WAITMS", "485TMOUT", "485ETHTMOUT", "485RETRYCNT", "485INTTMOUT",
    "485PINGTMOUT", "232EN", "232PORT", "232MOD", "232DATAB", "232PARB", "232STPB", "232BAUD",
    "232WAITCHR", "232WAITMS", "232TMOUT", "232ETHTMOUT", "232RETRYCNT", "232INTTMOUT",
    "232PINGTMOUT", "APN", "INFORESPONSE" };

// Answers that pass every limit.
const QByteArray ethernetAnswer = "1,502,0,8,0,1,5,8,400,1000,5,0,503,4,7,2,2,9,16,250,200,0,1";
const QByteArray gsmAnswer = "1,502,0,8,0,1,5,8,400,1000,5,2,5000,300,"
                             "0,503,4,7,2,2,9,16,250,200,0,0,500,150,internet,1";

const ParameterSpec* find(Route route, const QString& keyword)
{
    for (const ParameterSpec& spec : ParameterTable::parameters(route))
        if (*spec.keyword == keyword)
            return &spec;
    return nullptr;
}

} // namespace

class TestParameterTable : public QObject
{
    Q_OBJECT

private slots:
    void order_data();
    void order();
    void wireNumber_data();
    void wireNumber();
    void limits_data();
    void limits();
    void count_data();
    void count();
};

void TestParameterTable::order_data()
{
    QTest::addColumn<Route>("route");
    QTest::addColumn<QStringList>("keywords");
    QTest::addColumn<int>("firstId");
    QTest::newRow("ETH") << AtProtocol::eETH << ethernetOrder << int(AtProtocol::AT_CMD_FIRST_ID);
    QTest::newRow("USB") << AtProtocol::eUSB << ethernetOrder << int(AtProtocol::AT_CMD_FIRST_ID);
    QTest::newRow("TCP485") << AtProtocol::eTCP485 << gsmOrder
                            << int(AtProtocol::GSM_AT_CMD_FIRST_ID);
    QTest::newRow("TCP232") << AtProtocol::eTCP232 << gsmOrder
                            << int(AtProtocol::GSM_AT_CMD_FIRST_ID);
    QTest::newRow("none") << AtProtocol::eMax << QStringList() << 0;
}

void TestParameterTable::order()
{
    QFETCH(Route, route);
    QFETCH(QStringList, keywords);
    QFETCH(int, firstId);
    const QVector<ParameterSpec>& table = ParameterTable::parameters(route);
    QCOMPARE(table.size(), keywords.size());
    for (int pos = 0; pos < table.size(); ++pos) {
        QCOMPARE(table[pos].position, pos);
        QCOMPARE(table[pos].id, firstId + pos);
        QCOMPARE(*table[pos].keyword, keywords[pos]);
        // The keyword comes from the table in force, at the same id.
        QCOMPARE(*table[pos].keyword, AtProtocol::keywordTable(route)[table[pos].id]);
    }
    if (!table.isEmpty()) {
        const bool gsm = AtProtocol::isGsmRoute(route);
        QCOMPARE(table.last().id,
            gsm ? int(AtProtocol::GSM_AT_CMD_LAST_ID) : int(AtProtocol::AT_CMD_LAST_ID));
    }
}

void TestParameterTable::wireNumber_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << QByteArray("502") << 502;
    QTest::newRow("leading zero") << QByteArray("0502") << 502;
    QTest::newRow("negative") << QByteArray("-3") << -3;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("letters") << QByteArray("abc") << 0;
    QTest::newRow("trailing garbage") << QByteArray("12x") << 0;
    QTest::newRow("hex is not decimal") << QByteArray("0x10") << 0;
    QTest::newRow("beyond int") << QByteArray("99999999999") << 0;
}

void TestParameterTable::wireNumber()
{
    QFETCH(QByteArray, text);
    QFETCH(int, value);
    QCOMPARE(ParameterTable::wireNumber(text), value);
}

// Each row puts one value into an otherwise valid answer.
void TestParameterTable::limits_data()
{
    QTest::addColumn<Route>("route");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("condition"); // empty: the value is accepted

    const QString enable = "ValOfList <= EnableIndexMax";
    const QString mode = "ValOfList <= TrpModIndexMax";
    const QString data = "( ValOfList >= DatabitMin ) && ( ValOfList <= DatabitMax )";
    const QString parity = "ValOfList <= ParitybitMax";
    const QString stop = "( ValOfList >= StopbitMin ) && ( ValOfList <= StopbitMax )";
    const QString baud = "ValOfList <= BaudIndexMax";
    const QString chr = "( ValOfList >= WaitingChrMin ) && ( ValOfList <= WaitingChrMax )";
    const QString ms = "( ValOfList >= WaitingMsMin ) && ( ValOfList <= WaitingMsMax )";
    struct Row
    {
        const char* keyword;
        const char* value;
        QString condition;
    };
    const Row rows[] = {
        { "485EN", "1", {} },
        { "485EN", "2", enable },
        { "232EN", "-1", enable },
        { "485MOD", "4", {} },
        { "232MOD", "5", mode },
        { "485DATAB", "6", data },
        { "485DATAB", "7", {} },
        { "232DATAB", "8", {} },
        { "232DATAB", "9", data },
        { "485DATAB", "x", data },
        { "485PARB", "2", {} },
        { "232PARB", "3", parity },
        { "485STPB", "0", stop },
        { "485STPB", "2", {} },
        { "232STPB", "3", stop },
        { "485BAUD", "9", {} },
        { "232BAUD", "10", baud },
        { "485WAITCHR", "3", chr },
        { "485WAITCHR", "4", {} },
        { "232WAITCHR", "128", {} },
        { "232WAITCHR", "129", chr },
        { "485WAITMS", "9", ms },
        { "485WAITMS", "10", {} },
        { "232WAITMS", "5000", {} },
        { "232WAITMS", "5001", ms },
        { "INFORESPONSE", "2", enable },
        { "485PORT", "70000", {} },
        { "232TMOUT", "-5", {} },
        { "485ETHTMOUT", "junk", {} },
    };
    for (Route route : { AtProtocol::eETH, AtProtocol::eTCP232 })
        for (const Row& row : rows)
            QTest::addRow(
                "%s %s=%s", AtProtocol::isGsmRoute(route) ? "gsm" : "eth", row.keyword, row.value)
                << route << QString(row.keyword) << QByteArray(row.value) << row.condition;
    for (const char* value : { "0", "-1", "999" })
        QTest::addRow("gsm 485RETRYCNT=%s", value)
            << AtProtocol::eTCP485 << "485RETRYCNT" << QByteArray(value) << QString();
    QTest::newRow("gsm APN with letters")
        << AtProtocol::eTCP485 << "APN" << QByteArray("web.apn") << QString();
}

void TestParameterTable::limits()
{
    QFETCH(Route, route);
    QFETCH(QString, keyword);
    QFETCH(QByteArray, value);
    QFETCH(QString, condition);
    QList<QByteArray> values
        = (AtProtocol::isGsmRoute(route) ? gsmAnswer : ethernetAnswer).split(',');
    QVERIFY(ParameterTable::checkReadAll(route, values).accepted);
    const ParameterSpec* spec = find(route, keyword);
    QVERIFY(spec);
    values[spec->position] = value;
    const ReadAllVerdict verdict = ParameterTable::checkReadAll(route, values);
    QCOMPARE(verdict.accepted, condition.isEmpty());
    if (condition.isEmpty()) {
        QVERIFY(verdict.reason.isEmpty());
    } else {
        QVERIFY2(verdict.reason.contains(keyword), qPrintable(verdict.reason));
        QVERIFY2(verdict.reason.contains(QString::fromUtf8(value)), qPrintable(verdict.reason));
        QVERIFY2(verdict.reason.endsWith(condition), qPrintable(verdict.reason));
    }
}

void TestParameterTable::count_data()
{
    QTest::addColumn<Route>("route");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("eth 22") << AtProtocol::eETH << 22 << false;
    QTest::newRow("eth 23") << AtProtocol::eETH << 23 << true;
    QTest::newRow("eth 24") << AtProtocol::eETH << 24 << true;
    QTest::newRow("gsm 29") << AtProtocol::eTCP485 << 29 << false;
    QTest::newRow("gsm 30") << AtProtocol::eTCP485 << 30 << true;
    QTest::newRow("gsm 31") << AtProtocol::eTCP485 << 31 << true;
    QTest::newRow("gsm 1") << AtProtocol::eTCP485 << 1 << false;
    QTest::newRow("none") << AtProtocol::eMax << 30 << false;
}

void TestParameterTable::count()
{
    QFETCH(Route, route);
    QFETCH(int, count);
    QFETCH(bool, accepted);
    const QByteArray answer = AtProtocol::isGsmRoute(route) ? gsmAnswer : ethernetAnswer;
    QList<QByteArray> values = answer.split(',') + answer.split(',');
    values = values.mid(0, count);
    const ReadAllVerdict verdict = ParameterTable::checkReadAll(route, values);
    QCOMPARE(verdict.accepted, accepted);
    if (!accepted && route != AtProtocol::eMax) {
        const int needed = ParameterTable::parameters(route).size();
        QCOMPARE(verdict.reason,
            QString("Configuration refused: %1 values, %2 expected").arg(count).arg(needed));
    }
}

QTEST_APPLESS_MAIN(TestParameterTable)
#include "tst_parametertable.moc"
