#include "modemanswers.h"

#include "modemcore.h"

namespace ModemAnswers {

namespace {

// Accepted by the modem and by the form's read limits; 8 data bits on both
// lines so that writing them back raises no framing question.
const char* const OtherEthernet = "1,1502,2,8,2,2,7,16,50,2000,3,1,1503,4,8,1,2,9,32,100,1500,4,0";
const char* const OtherGsm = "1,1502,2,8,2,2,7,16,50,2000,3,0,500,600,"
                             "1,1503,4,8,1,2,9,32,100,1500,4,3,8000,900,m2m.example,0";

} // namespace

QByteArray answerTo(modemsim::ModemKind kind, const QByteArray& command)
{
    modemsim::ModemCore modem(kind);
    return modem.handleRequest(AtProtocol::AT_CMD.toUtf8() + command).answer;
}

QByteArray readAll(modemsim::ModemKind kind, int variant)
{
    modemsim::ModemCore modem(kind);
    const QByteArray prefix = AtProtocol::AT_CMD.toUtf8();
    if (variant == 1) {
        const QByteArray values = kind == modemsim::ModemKind::Gsm ? OtherGsm : OtherEthernet;
        const QByteArray ok = modem.handleRequest(prefix + "WRITEALL=" + values).answer;
        if (!ok.startsWith("+OK"))
            qFatal("the simulated modem refused the second configuration: %s", ok.constData());
    }
    return modem.handleRequest(prefix + "READALL").answer;
}

QByteArray readAllValues(modemsim::ModemKind kind, int variant)
{
    const QByteArray answer = readAll(kind, variant);
    const int from = answer.indexOf('=') + 1;
    return answer.mid(from, answer.size() - from - 2);
}

modemsim::ModemKind kindOf(AtProtocol::eConnection_State_t route)
{
    return AtProtocol::isGsmRoute(route) ? modemsim::ModemKind::Gsm : modemsim::ModemKind::Ethernet;
}

} // namespace ModemAnswers
