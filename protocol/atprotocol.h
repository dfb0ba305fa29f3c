#ifndef ATPROTOCOL_H
#define ATPROTOCOL_H

#include <QByteArray>
#include <QString>
#include <QStringList>

// Keyword table of the Ethernet modem. The enumerator is the index into
// TrpCfgCmdTexts; ids 0..21 are the network block, 22..44 the read-all list.
typedef enum eTrpCfgCmdTableID_e {
    eIdMac_Id = 0,
    eIdStaticIp_Enable,
    eIdIPAddress_0,
    eIdIPAddress_1,
    eIdIPAddress_2,
    eIdIPAddress_3,
    eIdSubnetMask_0,
    eIdSubnetMask_1,
    eIdSubnetMask_2,
    eIdSubnetMask_3,
    eIdDefaultGateway_0,
    eIdDefaultGateway_1,
    eIdDefaultGateway_2,
    eIdDefaultGateway_3,
    eIdFirstDns_0,
    eIdFirstDns_1,
    eIdFirstDns_2,
    eIdFirstDns_3,
    eIdSecondDns_0,
    eIdSecondDns_1,
    eIdSecondDns_2,
    eIdSecondDns_3,
    eId485_Enable,
    eId485_ETHPort,
    eId485_TrpMode,
    eId485_Databit,
    eId485_Paritybit,
    eId485_Stopbit,
    eId485_Baud,
    eId485_WaitingChr,
    eId485_WaitingMs,
    eId485_Tmout,
    eId485_EthTmout,
    eId232_Enable,
    eId232_ETHPort,
    eId232_TrpMode,
    eId232_Databit,
    eId232_Paritybit,
    eId232_Stopbit,
    eId232_Baud,
    eId232_WaitingChr,
    eId232_WaitingMs,
    eId232_Tmout,
    eId232_EthTmout,
    eIdInfoResponse,
    eIdReadAll,
    eIdWriteAll,
    eIdReadNetworkCfg,
    eIdWriteNetworkCfg,
    eIdCurrentIPAddr,
    eIdDeviceRestart,
    eIdDevicePing,
    eIdDeviceInfo,
    eIdRetOK,
    eIdRetERR,
    eTrpCfgCmd_Max
} eTrpCfgCmdTableID_t;

// Keyword table of the GSM modem: no network block, three more parameters
// per line, the APN and the two tunnel-close commands.
typedef enum eTrpCfgCmdGSMTableID_e {
    eIdGSM485_Enable = 0,
    eIdGSM485_ETHPort,
    eIdGSM485_TrpMode,
    eIdGSM485_Databit,
    eIdGSM485_Paritybit,
    eIdGSM485_Stopbit,
    eIdGSM485_Baud,
    eIdGSM485_WaitingChr,
    eIdGSM485_WaitingMs,
    eIdGSM485_Tmout,
    eIdGSM485_EthTmout,
    eIdGSM485_RetryCnt,
    eIdGSM485_IntVal,
    eIdGSM485_PingIntVal,
    eIdGSM232_Enable,
    eIdGSM232_ETHPort,
    eIdGSM232_TrpMode,
    eIdGSM232_Databit,
    eIdGSM232_Paritybit,
    eIdGSM232_Stopbit,
    eIdGSM232_Baud,
    eIdGSM232_WaitingChr,
    eIdGSM232_WaitingMs,
    eIdGSM232_Tmout,
    eIdGSM232_EthTmout,
    eIdGSM232_RetryCnt,
    eIdGSM232_IntVal,
    eIdGSM232_PingIntVal,
    eIdGSMAPN,
    eIdGSMInfoResponse,
    eIdGSMReadAll,
    eIdGSMWriteAll,
    eIdGSMReadNetworkCfg,
    eIdGSMWriteNetworkCfg,
    eIdGSMCurrentIPAddr,
    eIdGSMDeviceRestart,
    eIdGSMDevicePing,
    eId232ComClose,
    eId485ComClose,
    eIdGSMDeviceInfo,
    eIdGSMRetOK,
    eIdGSMRetERR,
    eTrpCfgCmdGSM_Max
} eTrpCfgCmdGSMTableID_t;

// Both tables carry an entry for their end marker, so they are one longer
// than the last real id.
extern const QString TrpCfgCmdTexts[eTrpCfgCmd_Max + 1];
extern const QString TrpCfgCmdGSMTexts[eTrpCfgCmdGSM_Max + 1];

// The wire vocabulary shared by the configuration form and everything that
// frames or parses a modem answer. Kept free of widgets so that the protocol
// can be exercised without a window; TransparentConfig inherits it, so the
// names read as TransparentConfig::AT_CMD and so on.
class AtProtocol
{
public:
    enum eConnection_State_t { eETH = 0, eUSB = 1, eTCP485 = 2, eTCP232 = 3, eMax = 4 };
    // Scoped, because each of these has its own eMax.
    enum class eRoute_Serial_t { e485 = 0, e232 = 1, eMax = 2 };
    enum class eTrp_Mod_t {
        eTCPtoRTU = 0,
        eTCPtoASCII = 1,
        eRTUoverTCP = 2,
        eASCIIoverTCP = 3,
        eFullTransparent = 4,
        eMax = 5
    };
    enum TrpErr_t { err_OK = 0, err_EndChr = 1, err_BeginChr = 2, err_Unknown = 3, err_Max = 4 };

    static const QString AT_CMD;
    static const QString AT_SET;
    static const QString AT_CRLF;
    static const QString AT_SEP;
    static const QString TrpErrString[err_Max + 1];

    static constexpr eTrpCfgCmdTableID_t AT_CMD_FIRST_ID_NETWORK = eIdMac_Id;
    static constexpr eTrpCfgCmdTableID_t AT_CMD_FIRST_ID = eId485_Enable;
    static constexpr eTrpCfgCmdTableID_t AT_CMD_LAST_ID = eIdInfoResponse;
    static constexpr eTrpCfgCmdGSMTableID_t GSM_AT_CMD_FIRST_ID = eIdGSM485_Enable;
    static constexpr eTrpCfgCmdGSMTableID_t GSM_AT_CMD_LAST_ID = eIdGSMInfoResponse;

    // Frames a bare command into one shared buffer: the result is valid only
    // until the next call, so callers hand it straight to the send routine.
    static QByteArray& AT_Command_Formatter(const QString& cmd);
    // "AT+" keyword "=" the values joined by commas, CR LF: a frame that
    // carries values, built in one place for every front end.
    static QByteArray valueFrame(const QString& keyword, const QStringList& values);

    // The table in force for a route; null while no route was ever used.
    static const QString* keywordTable(eConnection_State_t route);
    static int keywordCount(eConnection_State_t route);
    static bool isGsmRoute(eConnection_State_t route) { return route == eTCP485 || route == eTCP232; }
};

#endif // ATPROTOCOL_H
