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

void checkAnswer(ModemKind kind, const QByteArray& line, const QByteArray& answer)
{
    // The configurator takes one arrival as one answer, so a CR or LF
    // anywhere but at the end would cut it.
    fuzz::require(answer.endsWith("\r\n") && answer.count('\r') == 1 && answer.count('\n') == 1,
        "answer holds a line end before its end", answer);
    // The configurator's own parser, in the dialect it speaks to this kind of
    // modem, must take the answer for what it is.
    const bool gsm = kind == ModemKind::Gsm;
    const auto route = gsm ? AtProtocol::eTCP485 : AtProtocol::eETH;
    const QString* table = AtProtocol::keywordTable(route);
    QByteArray block = answer;
    const auto seen = AnswerParser::classify(block, table, AtProtocol::keywordCount(route));
    fuzz::require(seen.err == AtProtocol::err_OK, "the configurator rejects the answer", answer);
    const QByteArray keyword = block.mid(1, block.indexOf('=') - 1); // all of it without '='

    fuzz::require(seen.id < AtProtocol::keywordCount(route) - 1
            && (block.startsWith(table[seen.id].toUtf8()) || keyword == table[seen.id].toUtf8()),
        "the configurator would take the answer for another one", line + " -> " + answer);
    fuzz::require(seen.id != (gsm ? int(eIdGSMReadAll) : int(eIdReadAll))
            || AnswerParser::valuePart(block).split(',').size() == parameterRules(kind).size(),
        "read-all answer with the wrong value count", answer);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const auto kind = fuzz::pick(char(data[0]), "EG") == 1 ? ModemKind::Gsm : ModemKind::Ethernet;
    ModemCore core(kind);
    RequestAssembler assembler;
    QByteArray stream, lines;
    for (const QByteArray& arrival : fuzz::pieces(data + 1, size - 1)) {
        stream += arrival;
        for (const QByteArray& line : assembler.feed(arrival)) {
            fuzz::require(!line.isEmpty() && !line.contains("\r\n"),
                "the assembler handed out an empty or unsplit line", line);
            lines += line;
            checkAnswer(kind, line, core.handleRequest(line).answer);
        }
        fuzz::require(assembler.pendingSize() <= RequestAssembler::MaxLine,
            "the assembler keeps more than a line", stream);
        // Until something is thrown away as over-long, every byte but the
        // CR LF pairs comes out as a line or is still pending.
        if (assembler.discarded() == 0) {
            const QByteArray expected = QByteArray(stream).replace("\r\n", "");
            fuzz::require(expected.startsWith(lines)
                    && expected.size() - lines.size() == assembler.pendingSize(),
                "the assembler lost, changed or miscounted bytes", stream);
        }
    }
    // The stored configuration always reads back as a well-formed answer.
    checkAnswer(kind, "AT+READALL", core.handleRequest("AT+READALL").answer);
    return 0;
}
