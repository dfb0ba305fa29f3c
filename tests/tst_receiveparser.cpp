#include "answerparser.h"

#include <QtTest>

// The answer classifier on its own: framing, keyword lookup, value part.
class TestReceiveParser : public QObject
{
    Q_OBJECT

private slots:
    void framing_data();
    void framing();
    void everyKeyword_data();
    void everyKeyword();
    void headOnly_data();
    void headOnly();
    void valuePart_data();
    void valuePart();
    void noTableSearchesNothing();
};

using Route = AtProtocol::eConnection_State_t;
Q_DECLARE_METATYPE(AtProtocol::TrpErr_t)

void TestReceiveParser::framing_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<AtProtocol::TrpErr_t>("err");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("answer") << QByteArray("+OK\r\n") << AtProtocol::err_OK << QByteArray("+OK");
    QTest::newRow("no plus") << QByteArray("OK\r\n") << AtProtocol::err_BeginChr
                             << QByteArray("OK");
    QTest::newRow("no CR LF") << QByteArray("+OK") << AtProtocol::err_EndChr << QByteArray("+OK");
    QTest::newRow("CR only") << QByteArray("+OK\r") << AtProtocol::err_EndChr
                             << QByteArray("+OK\r");
    QTest::newRow("LF CR") << QByteArray("+OK\n\r") << AtProtocol::err_EndChr
                           << QByteArray("+OK\n\r");
    QTest::newRow("empty") << QByteArray() << AtProtocol::err_EndChr << QByteArray();
    QTest::newRow("CR LF only") << QByteArray("\r\n") << AtProtocol::err_BeginChr << QByteArray();
    QTest::newRow("plus only") << QByteArray("+\r\n") << AtProtocol::err_OK << QByteArray("+");
    QTest::newRow("two answers") << QByteArray("+OK\r\n+PING\r\n") << AtProtocol::err_OK
                                 << QByteArray("+OK\r\n+PING");
    QTest::newRow("leading blank")
        << QByteArray(" +OK\r\n") << AtProtocol::err_BeginChr << QByteArray(" +OK");
}

void TestReceiveParser::framing()
{
    QFETCH(QByteArray, block);
    QFETCH(AtProtocol::TrpErr_t, err);
    QFETCH(QByteArray, after);
    QCOMPARE(AnswerParser::stripFrame(block), err);
    QCOMPARE(block, after);
}

void TestReceiveParser::everyKeyword_data()
{
    QTest::addColumn<int>("route");
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<int>("id");

    const QList<Route> routes = { AtProtocol::eETH, AtProtocol::eTCP485 };
    for (Route route : routes) {
        const QString* table = AtProtocol::keywordTable(route);
        const int count = AtProtocol::keywordCount(route);
        for (int id = 0; id < count; ++id) {
            QByteArray block = table[id].toUtf8();
            if (!block.startsWith('+'))
                block.prepend('+');
            // Id 0 is never searched, so its keyword alone names nothing.
            const int expected = id == 0 ? count : id;
            QTest::addRow(
                "%s %d %s", AtProtocol::isGsmRoute(route) ? "gsm" : "eth", id, block.constData())
                << int(route) << block + "\r\n"
                << expected;
        }
    }
}

void TestReceiveParser::everyKeyword()
{
    QFETCH(int, route);
    QFETCH(QByteArray, block);
    QFETCH(int, id);
    const Route r = Route(route);
    const AnswerParser::Answer answer
        = AnswerParser::classify(block, AtProtocol::keywordTable(r), AtProtocol::keywordCount(r));
    QCOMPARE(answer.err, AtProtocol::err_OK);
    QCOMPARE(answer.id, id);
}

void TestReceiveParser::headOnly_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<int>("ethId");
    QTest::addColumn<int>("gsmId");

    QTest::newRow("error naming a command")
        << QByteArray("+ERR=PING failed") << int(eIdRetERR) << int(eIdGSMRetERR);
    QTest::newRow("device info holding a parameter keyword")
        << QByteArray("+DEVINFO=1234,485EN,READALL,APN") << int(eIdDeviceInfo)
        << int(eIdGSMDeviceInfo);
    QTest::newRow("current ip holding +OK")
        << QByteArray("+CURRENT_IP=+OK") << int(eIdCurrentIPAddr) << int(eIdGSMCurrentIPAddr);
    QTest::newRow("read-all") << QByteArray("+READALL=1,502,0,8,0,1,5") << int(eIdReadAll)
                              << int(eIdGSMReadAll);
    QTest::newRow("without = the whole block: lowest id wins")
        << QByteArray("+OK\r\n+PING") << int(eIdDevicePing) << int(eIdGSMDevicePing);
    QTest::newRow("keyword only after =")
        << QByteArray("+=PING") << int(eTrpCfgCmd_Max + 1) << int(eTrpCfgCmdGSM_Max + 1);
    QTest::newRow("ERR without =") << QByteArray("+ERR") << int(eIdRetERR) << int(eIdGSMRetERR);
    QTest::newRow("no keyword") << QByteArray("+HELLO=PING") << int(eTrpCfgCmd_Max + 1)
                                << int(eTrpCfgCmdGSM_Max + 1);
    QTest::newRow("lower case is no keyword")
        << QByteArray("+ping") << int(eTrpCfgCmd_Max + 1) << int(eTrpCfgCmdGSM_Max + 1);
    QTest::newRow("ethernet end marker")
        << QByteArray("+TrpCfgCmd_Max") << int(eTrpCfgCmd_Max) << int(eTrpCfgCmdGSM_Max + 1);
    QTest::newRow("gsm end marker")
        << QByteArray("+TrpCfgCmdGSM_Max") << int(eTrpCfgCmd_Max + 1) << int(eTrpCfgCmdGSM_Max);
    QTest::newRow("tunnel close") << QByteArray("+232CLOSE") << int(eTrpCfgCmd_Max + 1)
                                  << int(eId232ComClose);
}

void TestReceiveParser::headOnly()
{
    QFETCH(QByteArray, block);
    QFETCH(int, ethId);
    QFETCH(int, gsmId);
    QCOMPARE(AnswerParser::findKeyword(block, TrpCfgCmdTexts, eTrpCfgCmd_Max + 1), ethId);
    QCOMPARE(AnswerParser::findKeyword(block, TrpCfgCmdGSMTexts, eTrpCfgCmdGSM_Max + 1), gsmId);
}

void TestReceiveParser::valuePart_data()
{
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<QByteArray>("values");
    QTest::newRow("after the first =") << QByteArray("+ERR=a=b") << QByteArray("a=b");
    QTest::newRow("no = keeps all") << QByteArray("+ERR") << QByteArray("+ERR");
    QTest::newRow("empty values") << QByteArray("+DEVINFO=") << QByteArray();
    QTest::newRow("list") << QByteArray("+READALL=1,2,,3") << QByteArray("1,2,,3");
}

void TestReceiveParser::valuePart()
{
    QFETCH(QByteArray, block);
    QFETCH(QByteArray, values);
    QCOMPARE(AnswerParser::valuePart(block), values);
}

void TestReceiveParser::noTableSearchesNothing()
{
    QByteArray block("+PING\r\n");
    const AnswerParser::Answer answer = AnswerParser::classify(block, nullptr, 0);
    QCOMPARE(answer.err, AtProtocol::err_OK);
    QCOMPARE(answer.id, -1);
    QByteArray unframed("+PING");
    QCOMPARE(AnswerParser::classify(unframed, TrpCfgCmdTexts, eTrpCfgCmd_Max + 1).err,
        AtProtocol::err_EndChr);
}

QTEST_APPLESS_MAIN(TestReceiveParser)
#include "tst_receiveparser.moc"
