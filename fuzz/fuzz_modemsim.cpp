// The simulator's side of the wire: arrivals of any shape through the
// request assembler into the command interpreter of either modem kind.
//
// Input: one byte for the kind ('E' Ethernet, 'G' GSM), then the arrivals,
// separated by 0x1E.

#include "fuzzsupport.h"

#include "answerparser.h"
#include "atprotocol.h"
#include "modemcore.h"
#include "requestassembler.h"

using namespace modemsim;

namespace {

// The dialect the configurator speaks to this kind of modem.
AtProtocol::eConnection_State_t routeOf(ModemKind kind)
{
    return kind == ModemKind::Gsm ? AtProtocol::eTCP485 : AtProtocol::eETH;
}

void checkAnswer(const ModemCore& core, const QByteArray& line, const QByteArray& answer)
{
    const ModemKind kind = core.kind();
    // The configurator takes one arrival as one answer, so a CR or LF
    // anywhere but at the end would cut it.
    fuzz::require(answer.endsWith("\r\n") && answer.indexOf('\r') == answer.size() - 2
            && answer.indexOf('\n') == answer.size() - 1,
        "answer holds a line end before its end", answer);

    // The configurator's own parser must take the answer for what it is.
    const AtProtocol::eConnection_State_t route = routeOf(kind);
    const QString* table = AtProtocol::keywordTable(route);
    QByteArray block = answer;
    const AnswerParser::Answer seen
        = AnswerParser::classify(block, table, AtProtocol::keywordCount(route));
    fuzz::require(seen.err == AtProtocol::err_OK, "the configurator rejects the answer", answer);
    const int set = block.indexOf('=');
    const QByteArray keyword = block.mid(1, set < 0 ? -1 : set - 1);
    fuzz::require(seen.id < AtProtocol::keywordCount(route) - 1
            && (block.startsWith(table[seen.id].toUtf8()) || keyword == table[seen.id].toUtf8()),
        "the configurator would take the answer for another one", line + " -> " + answer);

    const int readAllId = kind == ModemKind::Gsm ? int(eIdGSMReadAll) : int(eIdReadAll);
    if (seen.id == readAllId) {
        fuzz::require(
            AnswerParser::valuePart(block).split(',').size() == parameterRules(kind).size(),
            "read-all answer with the wrong value count", answer);
    }
}

void checkAssembler(
    const RequestAssembler& assembler, const QByteArray& stream, const QByteArray& lines)
{
    fuzz::require(assembler.pendingSize() <= RequestAssembler::MaxLine,
        "the assembler keeps more than a line");
    // Until something is thrown away as over-long, every byte but the
    // CR LF pairs comes out as a line or is still pending.
    if (assembler.discarded() == 0) {
        QByteArray expected = stream;
        expected.replace("\r\n", "");
        fuzz::require(expected.startsWith(lines), "the assembler lost or changed bytes", stream);
        fuzz::require(expected.size() - lines.size() == assembler.pendingSize(),
            "the assembler's rest does not add up", stream);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const ModemKind kind
        = fuzz::pick(char(data[0]), "EG") == 1 ? ModemKind::Gsm : ModemKind::Ethernet;
    ModemCore core(kind);
    RequestAssembler assembler;
    QByteArray stream;
    QByteArray lines;
    for (const QByteArray& arrival : fuzz::pieces(data + 1, size - 1)) {
        stream += arrival;
        for (const QByteArray& line : assembler.feed(arrival)) {
            fuzz::require(!line.isEmpty() && !line.contains("\r\n"),
                "the assembler handed out an empty or unsplit line", line);
            lines += line;
            checkAnswer(core, line, core.handleRequest(line).answer);
        }
        checkAssembler(assembler, stream, lines);
    }
    // The stored configuration always reads back as a well-formed answer.
    checkAnswer(core, "AT+READALL", core.handleRequest("AT+READALL").answer);
    return 0;
}
