#include "atprotocol.h"

const QString TrpCfgCmdTexts[eTrpCfgCmd_Max + 1] = {
    "MACADDR",      "STATICIPEN",   "IPADDR_0",     "IPADDR_1",     "IPADDR_2",
    "IPADDR_3",     "SUBNETMASK_0", "SUBNETMASK_1", "SUBNETMASK_2", "SUBNETMASK_3",
    "DEFAULTGW_0",  "DEFAULTGW_1",  "DEFAULTGW_2",  "DEFAULTGW_3",  "FIRST_DNS_0",
    "FIRST_DNS_1",  "FIRST_DNS_2",  "FIRST_DNS_3",  "SECOND_DNS_0", "SECOND_DNS_1",
    "SECOND_DNS_2", "SECOND_DNS_3", "485EN",        "485PORT",      "485MOD",
    "485DATAB",     "485PARB",      "485STPB",      "485BAUD",      "485WAITCHR",
    "485WAITMS",    "485TMOUT",     "485ETHTMOUT",  "232EN",        "232PORT",
    "232MOD",       "232DATAB",     "232PARB",      "232STPB",      "232BAUD",
    "232WAITCHR",   "232WAITMS",    "232TMOUT",     "232ETHTMOUT",  "INFORESPONSE",
    "READALL",      "WRITEALL",     "READ_NETWORKCFG", "WRITE_NETWORKCFG", "CURRENT_IP",
    "RESTART",      "PING",         "DEVINFO",      "+OK",          "+ERR",
    "TrpCfgCmd_Max",
};

const QString TrpCfgCmdGSMTexts[eTrpCfgCmdGSM_Max + 1] = {
    "485EN",        "485PORT",      "485MOD",       "485DATAB",     "485PARB",
    "485STPB",      "485BAUD",      "485WAITCHR",   "485WAITMS",    "485TMOUT",
    "485ETHTMOUT",  "485RETRYCNT",  "485INTTMOUT",  "485PINGTMOUT", "232EN",
    "232PORT",      "232MOD",       "232DATAB",     "232PARB",      "232STPB",
    "232BAUD",      "232WAITCHR",   "232WAITMS",    "232TMOUT",     "232ETHTMOUT",
    "232RETRYCNT",  "232INTTMOUT",  "232PINGTMOUT", "APN",          "INFORESPONSE",
    "READALL",      "WRITEALL",     "READ_NETWORKCFG", "WRITE_NETWORKCFG", "CURRENT_IP",
    "RESTART",      "PING",         "232CLOSE",     "485CLOSE",     "DEVINFO",
    "+OK",          "+ERR",         "TrpCfgCmdGSM_Max",
};

const QString AtProtocol::AT_CMD = QStringLiteral("AT+");
const QString AtProtocol::AT_SET = QStringLiteral("=");
const QString AtProtocol::AT_CRLF = QStringLiteral("\r\n");
const QString AtProtocol::AT_SEP = QStringLiteral("+");
const QString AtProtocol::TrpErrString[err_Max + 1] = {
    "err_OK", "err_EndChr", "err_BeginChr", "err_Unknown", "err_Max",
};

QByteArray& AtProtocol::AT_Command_Formatter(const QString& cmd)
{
    static QByteArray frame;
    frame.clear();
    frame.append(AT_CMD.toUtf8());
    frame.append(cmd.toUtf8());
    frame.append(AT_CRLF.toUtf8());
    return frame;
}

QByteArray AtProtocol::valueFrame(const QString& keyword, const QStringList& values)
{
    return (AT_CMD + keyword + AT_SET + values.join(QLatin1Char(',')) + AT_CRLF).toUtf8();
}

const QString* AtProtocol::keywordTable(eConnection_State_t route)
{
    switch (route) {
    case eETH:
    case eUSB:
        return TrpCfgCmdTexts;
    case eTCP485:
    case eTCP232:
        return TrpCfgCmdGSMTexts;
    case eMax:
        break;
    }
    return nullptr;
}

int AtProtocol::keywordCount(eConnection_State_t route)
{
    if (!keywordTable(route))
        return 0;
    return isGsmRoute(route) ? eTrpCfgCmdGSM_Max + 1 : eTrpCfgCmd_Max + 1;
}
