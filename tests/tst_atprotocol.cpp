#include "atprotocol.h"

#include <QtTest>

class TestAtProtocol : public QObject
{
    Q_OBJECT

private slots:
    void ethernetKeywords_data();
    void ethernetKeywords();
    void gsmKeywords_data();
    void gsmKeywords();
    void idRanges();
    void formatter_data();
    void formatter();
    void formatterSharesOneBuffer();
    void tableByRoute_data();
    void tableByRoute();
    void errorNames();
};

void TestAtProtocol::ethernetKeywords_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("keyword");
    const char* expected[] = {
        "MACADDR",      "STATICIPEN",      "IPADDR_0",         "IPADDR_1",     "IPADDR_2",
        "IPADDR_3",     "SUBNETMASK_0",    "SUBNETMASK_1",     "SUBNETMASK_2", "SUBNETMASK_3",
        "DEFAULTGW_0",  "DEFAULTGW_1",     "DEFAULTGW_2",      "DEFAULTGW_3",  "FIRST_DNS_0",
        "FIRST_DNS_1",  "FIRST_DNS_2",     "FIRST_DNS_3",      "SECOND_DNS_0", "SECOND_DNS_1",
        "SECOND_DNS_2", "SECOND_DNS_3",    "485EN",            "485PORT",      "485MOD",
        "485DATAB",     "485PARB",         "485STPB",          "485BAUD",      "485WAITCHR",
        "485WAITMS",    "485TMOUT",        "485ETHTMOUT",      "232EN",        "232PORT",
        "232MOD",       "232DATAB",        "232PARB",          "232STPB",      "232BAUD",
        "232WAITCHR",   "232WAITMS",       "232TMOUT",         "232ETHTMOUT",  "INFORESPONSE",
        "READALL",      "WRITEALL",        "READ_NETWORKCFG",  "WRITE_NETWORKCFG",
        "CURRENT_IP",   "RESTART",         "PING",             "DEVINFO",      "+OK",
        "+ERR",         "TrpCfgCmd_Max"};
    QCOMPARE(int(sizeof expected / sizeof *expected), 56);
    for (int id = 0; id < 56; ++id)
        QTest::addRow("%d %s", id, expected[id]) << id << QString(expected[id]);
    // Spot checks that the enumerators sit at the ids the wire relies on.
    QCOMPARE(int(eId485_Enable), 22);
    QCOMPARE(int(eIdInfoResponse), 44);
    QCOMPARE(int(eIdReadAll), 45);
    QCOMPARE(int(eIdDeviceInfo), 52);
    QCOMPARE(int(eTrpCfgCmd_Max), 55);
}

void TestAtProtocol::ethernetKeywords()
{
    QFETCH(int, id);
    QFETCH(QString, keyword);
    QCOMPARE(TrpCfgCmdTexts[id], keyword);
}

void TestAtProtocol::gsmKeywords_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("keyword");
    const char* expected[] = {
        "485EN",        "485PORT",         "485MOD",           "485DATAB",     "485PARB",
        "485STPB",      "485BAUD",         "485WAITCHR",       "485WAITMS",    "485TMOUT",
        "485ETHTMOUT",  "485RETRYCNT",     "485INTTMOUT",      "485PINGTMOUT", "232EN",
        "232PORT",      "232MOD",          "232DATAB",         "232PARB",      "232STPB",
        "232BAUD",      "232WAITCHR",      "232WAITMS",        "232TMOUT",     "232ETHTMOUT",
        "232RETRYCNT",  "232INTTMOUT",     "232PINGTMOUT",     "APN",          "INFORESPONSE",
        "READALL",      "WRITEALL",        "READ_NETWORKCFG",  "WRITE_NETWORKCFG",
        "CURRENT_IP",   "RESTART",         "PING",             "232CLOSE",     "485CLOSE",
        "DEVINFO",      "+OK",             "+ERR",             "TrpCfgCmdGSM_Max"};
    QCOMPARE(int(sizeof expected / sizeof *expected), 43);
    for (int id = 0; id < 43; ++id)
        QTest::addRow("%d %s", id, expected[id]) << id << QString(expected[id]);
    QCOMPARE(int(eIdGSMAPN), 28);
    QCOMPARE(int(eIdGSMReadAll), 30);
    QCOMPARE(int(eId232ComClose), 37);
    QCOMPARE(int(eId485ComClose), 38);
    QCOMPARE(int(eTrpCfgCmdGSM_Max), 42);
}

void TestAtProtocol::gsmKeywords()
{
    QFETCH(int, id);
    QFETCH(QString, keyword);
    QCOMPARE(TrpCfgCmdGSMTexts[id], keyword);
}

void TestAtProtocol::idRanges()
{
    // The value lists are sized from these: 22 network values, 23 Ethernet
    // and 30 GSM parameters.
    QCOMPARE(AtProtocol::AT_CMD_FIRST_ID - AtProtocol::AT_CMD_FIRST_ID_NETWORK, 22);
    QCOMPARE(AtProtocol::AT_CMD_LAST_ID - AtProtocol::AT_CMD_FIRST_ID + 1, 23);
    QCOMPARE(AtProtocol::GSM_AT_CMD_LAST_ID - AtProtocol::GSM_AT_CMD_FIRST_ID + 1, 30);
}

void TestAtProtocol::formatter_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("READALL") << TrpCfgCmdTexts[eIdReadAll]
                             << QByteArray("\x41\x54\x2B" "READALL" "\x0D\x0A");
    QTest::newRow("232CLOSE") << TrpCfgCmdGSMTexts[eId232ComClose]
                              << QByteArray("AT+232CLOSE\r\n");
    QTest::newRow("PING") << TrpCfgCmdTexts[eIdDevicePing] << QByteArray("AT+PING\r\n");
    QTest::newRow("empty") << QString() << QByteArray("AT+\r\n");
    QTest::newRow("non-ascii") << QStringLiteral("İ") << QByteArray("AT+\xC4\xB0\r\n");
}

void TestAtProtocol::formatter()
{
    QFETCH(QString, keyword);
    QFETCH(QByteArray, frame);
    QCOMPARE(AtProtocol::AT_Command_Formatter(keyword), frame);
}

void TestAtProtocol::formatterSharesOneBuffer()
{
    QByteArray& first = AtProtocol::AT_Command_Formatter("READALL");
    QCOMPARE(first.size(), 12);
    QByteArray& second = AtProtocol::AT_Command_Formatter("232CLOSE");
    QCOMPARE(&first, &second);
    QCOMPARE(first, QByteArray("AT+232CLOSE\r\n"));
    QCOMPARE(first.size(), 13);
}

void TestAtProtocol::tableByRoute_data()
{
    QTest::addColumn<int>("route");
    QTest::addColumn<bool>("gsm");
    QTest::addColumn<int>("count");
    QTest::newRow("eETH") << int(AtProtocol::eETH) << false << 56;
    QTest::newRow("eUSB") << int(AtProtocol::eUSB) << false << 56;
    QTest::newRow("eTCP485") << int(AtProtocol::eTCP485) << true << 43;
    QTest::newRow("eTCP232") << int(AtProtocol::eTCP232) << true << 43;
    QTest::newRow("eMax") << int(AtProtocol::eMax) << false << 0;
}

void TestAtProtocol::tableByRoute()
{
    QFETCH(int, route);
    QFETCH(bool, gsm);
    QFETCH(int, count);
    const auto r = AtProtocol::eConnection_State_t(route);
    QCOMPARE(AtProtocol::keywordCount(r), count);
    if (count == 0)
        QVERIFY(!AtProtocol::keywordTable(r));
    else
        QCOMPARE(AtProtocol::keywordTable(r), gsm ? TrpCfgCmdGSMTexts : TrpCfgCmdTexts);
}

void TestAtProtocol::errorNames()
{
    const QStringList names{"err_OK", "err_EndChr", "err_BeginChr", "err_Unknown", "err_Max"};
    for (int i = 0; i <= AtProtocol::err_Max; ++i)
        QCOMPARE(AtProtocol::TrpErrString[i], names[i]);
    QCOMPARE(AtProtocol::AT_CRLF.toUtf8(), QByteArray("\r\n"));
    QCOMPARE(AtProtocol::AT_SEP, QString("+"));
    QCOMPARE(AtProtocol::AT_SET, QString("="));
}

QTEST_APPLESS_MAIN(TestAtProtocol)
#include "tst_atprotocol.moc"
