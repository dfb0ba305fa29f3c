// Answer classification and the read-all judgement without a window: any
// block on any route. Thousands of inputs a second, where the form-driving
// target manages a hundred.
//
// Input: one byte for the route ('E' Ethernet TCP, 'U' USB, '4' RS485 tunnel,
// '2' RS232 tunnel), then blocks separated by 0x1E.

#include "fuzzcore.h"

#include "answerparser.h"
#include "configmodel.h"

using P = AtProtocol;

const P::eConnection_State_t Routes[] = { P::eETH, P::eUSB, P::eTCP485, P::eTCP232 };

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const P::eConnection_State_t route = Routes[fuzz::pick(char(data[0]), "EU42")];
    const bool gsm = P::isGsmRoute(route);
    for (const QByteArray& block : fuzz::pieces(data + 1, size - 1)) {
        QByteArray qba = block;
        const AnswerParser::Answer a = AnswerParser::classify(qba, P::keywordTable(route), P::keywordCount(route));
        fuzz::require(block.endsWith("\r\n") ? (block.startsWith('+') ? a.err == P::err_OK : a.err == P::err_BeginChr)
                                             : a.err == P::err_EndChr && qba == block,
            "framing judged wrongly", block);
        fuzz::require(a.err != P::err_OK || (a.id >= 1 && a.id <= P::keywordCount(route)), "keyword id out of the table", block);
        const QString shown = AnswerParser::printable(block);
        fuzz::require(!shown.contains('\r') && !shown.contains('\n') && shown.size() >= block.size(), "printable text not one line", block);
        if (a.err != P::err_OK || a.id != (gsm ? int(eIdGSMReadAll) : int(eIdReadAll)))
            continue;
        // Accepted or refused whole; an accepted answer survives the trip
        // through the write-all values unchanged.
        const QList<QByteArray> values = AnswerParser::valuePart(qba).split(',');
        QString refusal;
        const ModemConfig config = ModemConfig::fromValues(gsm, values, &refusal);
        fuzz::require(refusal.isEmpty() == ParameterTable::checkReadAll(route, values).accepted, "verdicts disagree", block);
        if (!refusal.isEmpty()) {
            fuzz::require(config == ModemConfig::fromValues(gsm, {}), "a refused answer left values behind", block);
            continue;
        }
        QList<QByteArray> written;
        for (const QString& v : config.writeAllValues())
            written << v.toUtf8();
        QString again;
        fuzz::require(ModemConfig::fromValues(gsm, written, &again) == config && again.isEmpty(),
            "the model does not survive its own write-all values", block);
        const QByteArray frame = config.writeAllFrame();
        fuzz::require(frame.endsWith("\r\n") && frame.count("\r\n") == 1,
            "the write-all frame is not one line", block);
    }
    return 0;
}
