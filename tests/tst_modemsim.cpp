// The simulated modem's command interpreter: every answer, every write.

#include "atprotocol.h"
#include "modemcore.h"

#include <QBuffer>
#include <QtTest>

using namespace modemsim;

Q_DECLARE_METATYPE(modemsim::ModemKind)

namespace {

// How the configurator recognises an answer: framing first, then the first
// keyword of the table, from id 1 up, found anywhere in the block.
int recognisedId(ModemKind kind, QByteArray block)
{
    if (!block.endsWith("\r\n") || block.count("\r\n") != 1)
        return -1;
    block.chop(2);
    if (!block.startsWith('+'))
        return -1;
    const int count = kind == ModemKind::Gsm ? eTrpCfgCmdGSM_Max + 1 : eTrpCfgCmd_Max + 1;
    for (int id = 1; id < count; ++id) {
        if (block.contains(keywordTable(kind)[id].toUtf8()))
            return id;
    }
    return count;
}

int errId(ModemKind kind)
{
    return kind == ModemKind::Gsm ? int(eIdGSMRetERR) : int(eIdRetERR);
}

QByteArray readAll(ModemCore& core)
{
    return core.handleRequest("AT+READALL").answer;
}

// The factory values with the one at `keyword`'s position replaced.
QByteArray valuesWith(ModemKind kind, const QString& keyword, const QByteArray& value)
{
    const QList<ParameterRule> rules = parameterRules(kind);
    QList<QByteArray> values = ModemConfig(kind).values();
    for (int i = 0; i < rules.size(); ++i) {
        if (keywordTable(kind)[rules[i].keywordId] == keyword)
            values[i] = value;
    }
    return values.join(',');
}

const QByteArray EthDefaults = "1,502,0,8,0,1,5,8,400,1000,5,1,503,0,8,0,1,5,8,400,1000,5,1";
const QByteArray GsmDefaults = "1,502,0,8,0,1,5,8,400,1000,5,2,5000,300,"
                               "1,503,0,8,0,1,5,8,400,1000,5,2,5000,300,internet,1";
const QByteArray NetDefaults = "1,192,168,0,20,255,255,255,0,192,168,0,1,8,8,8,8,8,8,4,4";

} // namespace

class TestModemSim : public QObject
{
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void writeAllLimits_data();
    void writeAllLimits();
    void writeAllCount_data();
    void writeAllCount();
    void journal();
    void networkWrite_data();
    void networkWrite();
    void currentIp_data();
    void currentIp();
};

void TestModemSim::answers_data()
{
    QTest::addColumn<ModemKind>("kind");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("keywordId");
    QTest::addColumn<int>("action");
    const auto eth = ModemKind::Ethernet;
    const auto gsm = ModemKind::Gsm;
    const int none = int(ModemCore::Action::None);
    const QByteArray unknown = "+ERR=UNKNOWN\r\n";

    QTest::newRow("eth readall") << eth << QByteArray("AT+READALL")
                                 << "+READALL=" + EthDefaults + "\r\n"
                                 << int(eIdReadAll) << none;
    QTest::newRow("eth network") << eth << QByteArray("AT+READ_NETWORKCFG")
                                 << "+READ_NETWORKCFG=00:1A:2B:3C:4D:5E," + NetDefaults + "\r\n"
                                 << int(eIdReadNetworkCfg) << none;
    QTest::newRow("eth current ip")
        << eth << QByteArray("AT+CURRENT_IP") << QByteArray("+CURRENT_IP=335587520\r\n")
        << int(eIdCurrentIPAddr) << none;
    QTest::newRow("eth devinfo")
        << eth << QByteArray("AT+DEVINFO")
        << QByteArray("+DEVINFO=QV-E24-000417,00:1A:2B:3C:4D:5E,1,1,2,1,3,1,0,7\r\n")
        << int(eIdDeviceInfo) << none;
    QTest::newRow("eth ping") << eth << QByteArray("AT+PING") << QByteArray("+PING\r\n")
                              << int(eIdDevicePing) << none;
    QTest::newRow("eth restart") << eth << QByteArray("AT+RESTART") << QByteArray("+RESTART\r\n")
                                 << int(eIdDeviceRestart) << int(ModemCore::Action::Restart);
    QTest::newRow("eth has no tunnel close")
        << eth << QByteArray("AT+232CLOSE") << unknown << int(eIdRetERR) << none;
    QTest::newRow("parameter keyword alone")
        << eth << QByteArray("AT+485EN") << unknown << int(eIdRetERR) << none;
    QTest::newRow("lower case") << eth << QByteArray("AT+readall") << unknown << int(eIdRetERR)
                                << none;
    QTest::newRow("no prefix") << eth << QByteArray("READALL") << unknown << int(eIdRetERR) << none;
    QTest::newRow("empty keyword") << eth << QByteArray("AT+") << unknown << int(eIdRetERR) << none;
    QTest::newRow("end marker") << eth << QByteArray("AT+TrpCfgCmd_Max") << unknown
                                << int(eIdRetERR) << none;
    QTest::newRow("values on a bare command")
        << eth << QByteArray("AT+PING=1") << QByteArray("+ERR=UNEXPECTED VALUES\r\n")
        << int(eIdRetERR) << none;

    QTest::newRow("gsm readall") << gsm << QByteArray("AT+READALL")
                                 << "+READALL=" + GsmDefaults + "\r\n"
                                 << int(eIdGSMReadAll) << none;
    // 10.64.12.7: 7 << 24 | 12 << 16 | 64 << 8 | 10
    QTest::newRow("gsm current ip")
        << gsm << QByteArray("AT+CURRENT_IP") << QByteArray("+CURRENT_IP=118243338\r\n")
        << int(eIdGSMCurrentIPAddr) << none;
    QTest::newRow("gsm devinfo")
        << gsm << QByteArray("AT+DEVINFO")
        << QByteArray("+DEVINFO=QV-G24-000093,356938035643809,2,1,2,1,4,1,0,7\r\n")
        << int(eIdGSMDeviceInfo) << none;
    QTest::newRow("gsm ping") << gsm << QByteArray("AT+PING") << QByteArray("+PING\r\n")
                              << int(eIdGSMDevicePing) << none;
    QTest::newRow("gsm restart") << gsm << QByteArray("AT+RESTART") << QByteArray("+RESTART\r\n")
                                 << int(eIdGSMDeviceRestart) << int(ModemCore::Action::Restart);
    QTest::newRow("gsm 232close") << gsm << QByteArray("AT+232CLOSE") << QByteArray("+232CLOSE\r\n")
                                  << int(eId232ComClose) << int(ModemCore::Action::Close232);
    QTest::newRow("gsm 485close") << gsm << QByteArray("AT+485CLOSE") << QByteArray("+485CLOSE\r\n")
                                  << int(eId485ComClose) << int(ModemCore::Action::Close485);
    QTest::newRow("gsm has no network block")
        << gsm << QByteArray("AT+READ_NETWORKCFG") << unknown << int(eIdGSMRetERR) << none;
    QTest::newRow("gsm network write")
        << gsm << "AT+WRITE_NETWORKCFG=" + NetDefaults << unknown << int(eIdGSMRetERR) << none;
}

void TestModemSim::answers()
{
    QFETCH(ModemKind, kind);
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, answer);
    QFETCH(int, keywordId);
    QFETCH(int, action);
    ModemCore core(kind);
    const ModemCore::Reply reply = core.handleRequest(request);
    QCOMPARE(reply.answer, answer);
    QCOMPARE(int(reply.action), action);
    // The configurator must take each answer for what it is.
    QCOMPARE(recognisedId(kind, reply.answer), keywordId);
}

void TestModemSim::writeAllLimits_data()
{
    QTest::addColumn<ModemKind>("kind");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QByteArray>("stored");

    // The configurator's read limits; the modem refuses what it would refuse.
    const struct
    {
        const char* keyword;
        int min;
        int max;
    } limits[] = { { "485EN", 0, 1 }, { "232EN", 0, 1 }, { "485PORT", 1, 65535 },
        { "232PORT", 1, 65535 }, { "485MOD", 0, 4 }, { "232MOD", 0, 4 }, { "485DATAB", 7, 8 },
        { "232DATAB", 7, 8 }, { "485PARB", 0, 2 }, { "232PARB", 0, 2 }, { "485STPB", 1, 2 },
        { "232STPB", 1, 2 }, { "485BAUD", 0, 9 }, { "232BAUD", 0, 9 }, { "485WAITCHR", 4, 128 },
        { "232WAITCHR", 4, 128 }, { "485WAITMS", 10, 5000 }, { "232WAITMS", 10, 5000 },
        { "INFORESPONSE", 0, 1 } };
    for (ModemKind kind : { ModemKind::Ethernet, ModemKind::Gsm }) {
        const char* k = kind == ModemKind::Gsm ? "gsm" : "eth";
        for (const auto& limit : limits) {
            const QByteArray min = QByteArray::number(limit.min);
            const QByteArray max = QByteArray::number(limit.max);
            QTest::addRow("%s %s min", k, limit.keyword)
                << kind << limit.keyword << min << true << min;
            QTest::addRow("%s %s max", k, limit.keyword)
                << kind << limit.keyword << max << true << max;
            QTest::addRow("%s %s below", k, limit.keyword)
                << kind << limit.keyword << QByteArray::number(limit.min - 1) << false
                << QByteArray();
            QTest::addRow("%s %s above", k, limit.keyword)
                << kind << limit.keyword << QByteArray::number(limit.max + 1) << false
                << QByteArray();
        }
        for (const char* bad : { "abc", "+1", " 1", "1 ", "1.0", "", "0x10", "4294967296" })
            QTest::addRow("%s not a number '%s'", k, bad)
                << kind << "485TMOUT" << QByteArray(bad) << false << QByteArray();
        QTest::addRow("%s leading zero", k)
            << kind << "485PORT" << QByteArray("0502") << true << QByteArray("502");
        QTest::addRow("%s timeout", k)
            << kind << "232TMOUT" << QByteArray("10000") << true << QByteArray("10000");
    }
    const auto gsm = ModemKind::Gsm;
    QTest::newRow("gsm ping seconds")
        << gsm << "485PINGTMOUT" << QByteArray("7200") << true << QByteArray("7200");
    QTest::newRow("gsm interval") << gsm << "232INTTMOUT" << QByteArray("10000") << true
                                  << QByteArray("10000");
    QTest::newRow("apn empty") << gsm << "APN" << QByteArray("") << true << QByteArray("");
    QTest::newRow("apn text") << gsm << "APN" << QByteArray("m2m.op-1") << true
                              << QByteArray("m2m.op-1");
    QTest::newRow("apn digits") << gsm << "APN" << QByteArray("12345") << true
                                << QByteArray("12345");
    QTest::newRow("apn utf8") << gsm << "APN" << QByteArray("şebeke") << true
                              << QByteArray("şebeke");
    QTest::newRow("apn lone LF") << gsm << "APN" << QByteArray("a\nb") << false << QByteArray();
    QTest::newRow("apn lone CR") << gsm << "APN" << QByteArray("a\rb") << false << QByteArray();
    QTest::newRow("apn with comma") << gsm << "APN" << QByteArray("a,b") << false << QByteArray();
}

void TestModemSim::writeAllLimits()
{
    QFETCH(ModemKind, kind);
    QFETCH(QString, keyword);
    QFETCH(QByteArray, value);
    QFETCH(bool, accepted);
    QFETCH(QByteArray, stored);
    ModemCore core(kind);
    const QByteArray before = readAll(core);
    const QByteArray reply
        = core.handleRequest("AT+WRITEALL=" + valuesWith(kind, keyword, value)).answer;
    if (!accepted) {
        QVERIFY2(reply.startsWith("+ERR="), reply);
        QCOMPARE(recognisedId(kind, reply), errId(kind));
        QCOMPARE(readAll(core), before);
        return;
    }
    QCOMPARE(reply, QByteArray("+OK\r\n"));
    QCOMPARE(readAll(core), "+READALL=" + valuesWith(kind, keyword, stored) + "\r\n");
}

void TestModemSim::writeAllCount_data()
{
    QTest::addColumn<ModemKind>("kind");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("answer");
    const QByteArray eth22 = EthDefaults.left(EthDefaults.lastIndexOf(','));
    QTest::newRow("eth 22 values")
        << ModemKind::Ethernet << "AT+WRITEALL=" + eth22 << QByteArray("+ERR=COUNT 22/23\r\n");
    QTest::newRow("eth 24 values") << ModemKind::Ethernet << "AT+WRITEALL=" + EthDefaults + ",1"
                                   << QByteArray("+ERR=COUNT 24/23\r\n");
    QTest::newRow("gsm as eth") << ModemKind::Ethernet << "AT+WRITEALL=" + GsmDefaults
                                << QByteArray("+ERR=COUNT 30/23\r\n");
    QTest::newRow("eth as gsm") << ModemKind::Gsm << "AT+WRITEALL=" + EthDefaults
                                << QByteArray("+ERR=COUNT 23/30\r\n");
    QTest::newRow("no values") << ModemKind::Gsm << QByteArray("AT+WRITEALL")
                               << QByteArray("+ERR=COUNT 0/30\r\n");
    QTest::newRow("empty value part")
        << ModemKind::Ethernet << QByteArray("AT+WRITEALL=") << QByteArray("+ERR=COUNT 1/23\r\n");
    QTest::newRow("reports the first bad value")
        << ModemKind::Ethernet << "AT+WRITEALL=" + valuesWith(ModemKind::Ethernet, "485BAUD", "x")
        << QByteArray("+ERR=VALUE 7 NOT A NUMBER\r\n");
    QTest::newRow("gsm exact") << ModemKind::Gsm << "AT+WRITEALL=" + GsmDefaults
                               << QByteArray("+OK\r\n");
}

void TestModemSim::writeAllCount()
{
    QFETCH(ModemKind, kind);
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, answer);
    ModemCore core(kind);
    QCOMPARE(core.handleRequest(frame).answer, answer);
}

void TestModemSim::journal()
{
    QBuffer journal;
    journal.open(QIODevice::WriteOnly);
    ModemCore core(ModemKind::Ethernet);
    core.setJournal(&journal);
    core.handleRequest("AT+READALL");
    core.handleRequest("AT+WRITEALL=" + valuesWith(ModemKind::Ethernet, "485PORT", "1502"));
    core.handleRequest("AT+WRITEALL=1,2");
    core.handleRequest("AT+WRITE_NETWORKCFG=" + NetDefaults);
    core.handleRequest("AT+WRITE_NETWORKCFG=1,\n");
    const QList<QByteArray> lines = journal.data().split('\n');
    QCOMPARE(lines.size(), 5); // four entries and the empty rest after the last newline
    QCOMPARE(lines[0], "OK AT+WRITEALL=" + valuesWith(ModemKind::Ethernet, "485PORT", "1502"));
    QCOMPARE(lines[1], QByteArray("ERR AT+WRITEALL=1,2"));
    QCOMPARE(lines[2], "OK AT+WRITE_NETWORKCFG=" + NetDefaults);
    QCOMPARE(lines[3], QByteArray("ERR AT+WRITE_NETWORKCFG=1,\\n"));
}

void TestModemSim::networkWrite_data()
{
    QTest::addColumn<QByteArray>("values");
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("static") << QByteArray("1,10,0,0,5,255,0,0,0,10,0,0,1,1,1,1,1,9,9,9,9")
                            << QByteArray("+OK\r\n");
    QTest::newRow("dhcp") << QByteArray("0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0")
                          << QByteArray("+OK\r\n");
    QTest::newRow("20 values") << QByteArray("1,10,0,0,5,255,0,0,0,10,0,0,1,1,1,1,1,9,9,9")
                               << QByteArray("+ERR=COUNT 20/21\r\n");
    QTest::newRow("with the mac") << "00:1A:2B:3C:4D:5E," + NetDefaults
                                  << QByteArray("+ERR=COUNT 22/21\r\n");
    QTest::newRow("octet 256") << QByteArray("1,10,0,0,256,255,0,0,0,10,0,0,1,1,1,1,1,9,9,9,9")
                               << QByteArray("+ERR=VALUE 5 OUT OF RANGE\r\n");
    QTest::newRow("flag 2") << QByteArray("2,10,0,0,5,255,0,0,0,10,0,0,1,1,1,1,1,9,9,9,9")
                            << QByteArray("+ERR=VALUE 1 OUT OF RANGE\r\n");
    QTest::newRow("dotted") << QByteArray("1,10.0,0,5,255,0,0,0,10,0,0,1,1,1,1,1,9,9,9,9,9")
                            << QByteArray("+ERR=VALUE 2 NOT A NUMBER\r\n");
}

void TestModemSim::networkWrite()
{
    QFETCH(QByteArray, values);
    QFETCH(QByteArray, answer);
    ModemCore core(ModemKind::Ethernet);
    const QByteArray reply = core.handleRequest("AT+WRITE_NETWORKCFG=" + values).answer;
    QCOMPARE(reply, answer);
    QCOMPARE(recognisedId(ModemKind::Ethernet, reply),
        answer == "+OK\r\n" ? int(eIdRetOK) : int(eIdRetERR));
    const QByteArray stored = answer == "+OK\r\n" ? values : NetDefaults;
    // The MAC is never written, and a refused frame changes nothing.
    QCOMPARE(core.handleRequest("AT+READ_NETWORKCFG").answer,
        "+READ_NETWORKCFG=00:1A:2B:3C:4D:5E," + stored + "\r\n");
}

void TestModemSim::currentIp_data()
{
    QTest::addColumn<QByteArray>("network");
    QTest::addColumn<QString>("dotted");
    const QByteArray tail = ",255,255,255,0,192,168,1,1,8,8,8,8,8,8,4,4";
    QTest::newRow("static 192.168.0.20") << "1,192,168,0,20" + tail << "192.168.0.20";
    QTest::newRow("high last octet") << "1,192,168,1,200" + tail << "192.168.1.200";
    QTest::newRow("first octet only") << "1,10,0,0,0" + tail << "10.0.0.0";
    QTest::newRow("all ones") << "1,255,255,255,255" + tail << "255.255.255.255";
    QTest::newRow("dhcp lease") << "0,192,168,0,20" + tail << "192.168.0.100";
}

void TestModemSim::currentIp()
{
    QFETCH(QByteArray, network);
    QFETCH(QString, dotted);
    ModemCore core(ModemKind::Ethernet);
    QCOMPARE(core.handleRequest("AT+WRITE_NETWORKCFG=" + network).answer, QByteArray("+OK\r\n"));
    QByteArray answer = core.handleRequest("AT+CURRENT_IP").answer;
    QVERIFY(answer.startsWith("+CURRENT_IP=") && answer.endsWith("\r\n"));
    answer = answer.mid(12);
    answer.chop(2);
    // Decoded the configurator's way: a signed 32-bit decimal, its bytes
    // least significant first.
    bool ok = false;
    const quint32 word = quint32(answer.toInt(&ok));
    QVERIFY2(ok, answer);
    const QString decoded = QStringLiteral("%1.%2.%3.%4")
                                .arg(word & 0xFF)
                                .arg(word >> 8 & 0xFF)
                                .arg(word >> 16 & 0xFF)
                                .arg(word >> 24 & 0xFF);
    QCOMPARE(decoded, dotted);
}

QTEST_GUILESS_MAIN(TestModemSim)
#include "tst_modemsim.moc"
