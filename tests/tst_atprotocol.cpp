#include "atprotocol.h"

#include <QtTest>

// The two keyword tables, id by id as the modem expects them.
const QString Ethernet
    = "MACADDR STATICIPEN IPADDR_0 IPADDR_1 IPADDR_2 IPADDR_3 SUBNETMASK_0 "
      "SUBNETMASK_1 SUBNETMASK_2 SUBNETMASK_3 DEFAULTGW_0 DEFAULTGW_1 DEFAULTGW_2 DEFAULTGW_3 "
      "FIRST_DNS_0 FIRST_DNS_1 FIRST_DNS_2 FIRST_DNS_3 SECOND_DNS_0 SECOND_DNS_1 SECOND_DNS_2 "
      "SECOND_DNS_3 485EN 485PORT 485MOD 485DATAB 485PARB 485STPB 485BAUD 485WAITCHR 485WAITMS "
      "485TMOUT 485ETHTMOUT 232EN 232PORT 232MOD 232DATAB 232PARB 232STPB 232BAUD 232WAITCHR "
      "232WAITMS 232TMOUT 232ETHTMOUT INFORESPONSE READALL WRITEALL READ_NETWORKCFG "
      "WRITE_NETWORKCFG CURRENT_IP RESTART PING DEVINFO +OK +ERR TrpCfgCmd_Max";
const QString Gsm
    = "485EN 485PORT 485MOD 485DATAB 485PARB 485STPB 485BAUD 485WAITCHR 485WAITMS "
      "485TMOUT 485ETHTMOUT 485RETRYCNT 485INTTMOUT 485PINGTMOUT 232EN 232PORT 232MOD 232DATAB "
      "232PARB 232STPB 232BAUD 232WAITCHR 232WAITMS 232TMOUT 232ETHTMOUT 232RETRYCNT 232INTTMOUT "
      "232PINGTMOUT APN INFORESPONSE READALL WRITEALL READ_NETWORKCFG WRITE_NETWORKCFG CURRENT_IP "
      "RESTART PING 232CLOSE 485CLOSE DEVINFO +OK +ERR TrpCfgCmdGSM_Max";

class TestAtProtocol : public QObject
{
    Q_OBJECT

private slots:
    void keywords_data()
    {
        QTest::addColumn<bool>("gsm");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("keyword");
        for (bool gsm : { false, true }) {
            const QStringList words = (gsm ? Gsm : Ethernet).split(' ');
            for (int id = 0; id < words.size(); ++id)
                QTest::addRow("%s %d %s", gsm ? "GSM" : "Ethernet", id, qPrintable(words[id]))
                    << gsm << id << words[id];
        }
    }

    // The table each route selects, and its size, so that no id reads past it.
    void keywords()
    {
        QFETCH(bool, gsm);
        QFETCH(int, id);
        QFETCH(QString, keyword);
        for (auto r :
            { AtProtocol::eETH, AtProtocol::eUSB, AtProtocol::eTCP485, AtProtocol::eTCP232 }) {
            if (AtProtocol::isGsmRoute(r) != gsm)
                continue;
            QCOMPARE(AtProtocol::keywordTable(r)[id], keyword);
            QCOMPARE(AtProtocol::keywordCount(r), (gsm ? Gsm : Ethernet).count(' ') + 1);
        }
    }

    // The enumerators the code indexes with, tied to their keywords; the
    // value-list sizes derived from the id ranges; the parser's result names.
    void namedIds()
    {
        QCOMPARE(TrpCfgCmdTexts[eIdReadAll], QString("READALL"));
        QCOMPARE(TrpCfgCmdTexts[eId485_Enable], QString("485EN"));
        QCOMPARE(TrpCfgCmdGSMTexts[eId232ComClose], QString("232CLOSE"));
        QCOMPARE(TrpCfgCmdGSMTexts[eId485ComClose], QString("485CLOSE"));
        QCOMPARE(AtProtocol::keywordTable(AtProtocol::eMax), nullptr);
        QCOMPARE(AtProtocol::keywordCount(AtProtocol::eMax), 0);
        QCOMPARE(AtProtocol::AT_CMD_FIRST_ID - AtProtocol::AT_CMD_FIRST_ID_NETWORK, 22);
        QCOMPARE(AtProtocol::AT_CMD_LAST_ID - AtProtocol::AT_CMD_FIRST_ID + 1, 23);
        QCOMPARE(AtProtocol::GSM_AT_CMD_LAST_ID - AtProtocol::GSM_AT_CMD_FIRST_ID + 1, 30);
        const QStringList errors(
            std::begin(AtProtocol::TrpErrString), std::end(AtProtocol::TrpErrString));
        QCOMPARE(errors.join(' '), QString("err_OK err_EndChr err_BeginChr err_Unknown err_Max"));
    }

    // One buffer serves every call, so a shorter frame must not carry bytes
    // of the longer one before it.
    void formatterSharesOneBuffer()
    {
        QByteArray& first = AtProtocol::AT_Command_Formatter(TrpCfgCmdTexts[eIdReadAll]);
        QCOMPARE(first, QByteArray("AT+READALL\x0D\x0A"));
        QByteArray& second = AtProtocol::AT_Command_Formatter(QStringLiteral("İ"));
        QCOMPARE(&first, &second);
        QCOMPARE(first, QByteArray("AT+\xC4\xB0\r\n"));
        QCOMPARE(AtProtocol::AT_Command_Formatter(QString()), QByteArray("AT+\r\n"));
    }
};

QTEST_APPLESS_MAIN(TestAtProtocol)
#include "tst_atprotocol.moc"
