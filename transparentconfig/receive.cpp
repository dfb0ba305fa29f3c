#include "answerparser.h"
#include "answerwindows.h"
#include "devinfo.h"
#include "logging.h"
#include "staticipconfig.h"
#include "transparentconfig.h"

namespace {

enum class AnswerKind {
    ReadAll,
    NetworkCfg,
    CurrentIp,
    Restart,
    Ping,
    Closed232,
    Closed485,
    DeviceInfo,
    WriteOk,
    Error,
};

constexpr int NotInTable = -1;
constexpr int StatusMs = 1000;

// The answers acted upon, by their id in each table; every other id
// (parameters, WRITEALL, WRITE_NETWORKCFG, the end marker, none) is ignored.
struct AnswerRow
{
    int ethId;
    int gsmId;
    AnswerKind kind;
    const char* status; // shown for StatusMs when the answer only reports
};

const AnswerRow Answers[] = {
    { eIdReadAll, eIdGSMReadAll, AnswerKind::ReadAll, nullptr },
    { eIdReadNetworkCfg, eIdGSMReadNetworkCfg, AnswerKind::NetworkCfg, nullptr },
    { eIdCurrentIPAddr, eIdGSMCurrentIPAddr, AnswerKind::CurrentIp, nullptr },
    { eIdDeviceRestart, eIdGSMDeviceRestart, AnswerKind::Restart,
        QT_TRANSLATE_NOOP("TransparentConfig", "Device Restarted!") },
    { eIdDevicePing, eIdGSMDevicePing, AnswerKind::Ping,
        QT_TRANSLATE_NOOP("TransparentConfig", "Ping -> OK") },
    { NotInTable, eId232ComClose, AnswerKind::Closed232,
        QT_TRANSLATE_NOOP("TransparentConfig", "232 Closed") },
    { NotInTable, eId485ComClose, AnswerKind::Closed485,
        QT_TRANSLATE_NOOP("TransparentConfig", "485 Closed") },
    { eIdDeviceInfo, eIdGSMDeviceInfo, AnswerKind::DeviceInfo, nullptr },
    { eIdRetOK, eIdGSMRetOK, AnswerKind::WriteOk,
        QT_TRANSLATE_NOOP("TransparentConfig", "Successfully written") },
    { eIdRetERR, eIdGSMRetERR, AnswerKind::Error, nullptr },
};

const AnswerRow* answerRow(int id, bool bGsm)
{
    for (const AnswerRow& row : Answers) {
        if ((bGsm ? row.gsmId : row.ethId) == id)
            return &row;
    }
    return nullptr;
}

// The modem sends its address as one signed 32-bit number whose least
// significant byte is the first of the four.
QByteArray dottedAddress(const QByteArray& number)
{
    const quint32 value = quint32(number.toInt());
    char buffer[sizeof "255.255.255.255"];
    qsnprintf(buffer, sizeof buffer, "%u.%u.%u.%u", value & 0xFFu, (value >> 8) & 0xFFu,
        (value >> 16) & 0xFFu, (value >> 24) & 0xFFu);
    return QByteArray(buffer);
}

} // namespace

TransparentConfig::TrpErr_t TransparentConfig::Receive_Callback(
    QByteArray& qba, StaticIpConfig* stStaticIpConfig)
{
    qCDebug(lcProto) << "Receive_Callback:" << qba;

    const QString* table = keywordTable(CheckConnectionType);
    const AnswerParser::Answer answer
        = AnswerParser::classify(qba, table, keywordCount(CheckConnectionType));
    if (answer.err != err_OK || !table)
        return answer.err;

    const AnswerRow* row = answerRow(answer.id, isGsmRoute(CheckConnectionType));
    if (!row)
        return err_OK;

    switch (row->kind) {
    case AnswerKind::ReadAll:
        qba = AnswerParser::valuePart(qba);
        applyReadAll(qba);
        break;
    case AnswerKind::NetworkCfg:
        qba = AnswerParser::valuePart(qba);
        receiveNetworkCfg(qba, stStaticIpConfig);
        break;
    case AnswerKind::CurrentIp:
        qba = AnswerParser::valuePart(qba);
        emit SetCurrentIpAddr(dottedAddress(qba));
        break;
    case AnswerKind::Restart:
        emit WriteStatusBar(tr(row->status), StatusMs);
        emit DisconnectTcp();
        break;
    case AnswerKind::Ping:
    case AnswerKind::Closed232:
    case AnswerKind::Closed485:
    case AnswerKind::WriteOk:
        emit WriteStatusBar(tr(row->status), StatusMs);
        break;
    case AnswerKind::DeviceInfo:
        qba = AnswerParser::valuePart(qba);
        openDevInfo(qba.split(','));
        break;
    case AnswerKind::Error:
        qba = AnswerParser::valuePart(qba);
        emit WriteStatusBar(
            tr("Receive_Callback Error : %1").arg(QString::fromUtf8(qba)), StatusMs);
        return err_Unknown;
    }
    return err_OK;
}

// The user may have closed the window before the answer came; a block with
// the wrong count is not the modem's settings. Either way nothing is filled.
void TransparentConfig::receiveNetworkCfg(const QByteArray& values, StaticIpConfig* window)
{
    if (!window) {
        emit WriteStatusBar(
            tr("Network settings ignored: the Static IP window is closed"), StatusMs);
        return;
    }
    if (!window->ReadNetworkCfg(values))
        emit WriteStatusBar(tr("Network settings ignored: %1 values instead of %2")
                                .arg(values.split(',').size())
                                .arg(AT_CMD_FIRST_ID - AT_CMD_FIRST_ID_NETWORK),
            StatusMs);
}

void TransparentConfig::openDevInfo(const QList<QByteArray>& values)
{
    if (values.size() < DevInfo::FieldCount) {
        emit WriteStatusBar(tr("Device information ignored: %1 values instead of %2")
                                .arg(values.size())
                                .arg(DevInfo::FieldCount),
            StatusMs);
        return;
    }
    if (devInfoWindows.full()) {
        emit WriteStatusBar(tr("Device information not shown: %1 windows already open")
                                .arg(DevInfoWindows::MaxOpen),
            StatusMs);
        return;
    }
    auto* dialog = new DevInfo(values, nullptr);
    connect(dialog, &DevInfo::Delete_DevInfo_Window, this, &TransparentConfig::DestroyDevInfo);
    devInfoWindows.add(dialog);
    dialog->show();
}

void TransparentConfig::DestroyDevInfo()
{
    auto* dialog = qobject_cast<DevInfo*>(sender());
    if (!dialog)
        return;
    devInfoWindows.remove(dialog);
    dialog->deleteLater();
}
