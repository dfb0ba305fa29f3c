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

// The interpreter gets one whole line. The configurator's own parser, in the
// dialect it speaks to this kind of modem, must take the answer for what it is;
// as it takes one arrival as one answer, a CR or LF before the end would cut it.
static void checkAnswer(ModemKind kind, const QByteArray& line, const QByteArray& answer)
{
    const auto route = kind == ModemKind::Gsm ? AtProtocol::eTCP485 : AtProtocol::eETH;
    const QString* table = AtProtocol::keywordTable(route);
    QByteArray block = answer;
    const auto seen = AnswerParser::classify(block, table, AtProtocol::keywordCount(route));
    const QByteArray keyword = block.mid(1, block.indexOf('=') - 1); // all of it without '='
    fuzz::require(!line.isEmpty() && !line.contains("\r\n") && seen.err == AtProtocol::err_OK
            && answer.count('\r') + answer.count('\n') == 2
            && seen.id < AtProtocol::keywordCount(route) - 1
            && (block.startsWith(table[seen.id].toUtf8()) || keyword == table[seen.id].toUtf8()),
        "a line or answer the configurator cannot take for what it is", line + " -> " + answer);
    fuzz::require(seen.id != (route == AtProtocol::eETH ? int(eIdReadAll) : int(eIdGSMReadAll))
            || AnswerParser::valuePart(block).split(',').size() == parameterRules(kind).size(),
        "read-all answer with the wrong value count", answer);
}

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
            lines += line;
            checkAnswer(kind, line, core.handleRequest(line).answer);
        }
        // At most a line waits; until something is thrown away as over-long,
        // every byte but the CR LF pairs comes out as a line or still waits.
        const QByteArray expected = QByteArray(stream).replace("\r\n", "");
        fuzz::require(assembler.pendingSize() <= RequestAssembler::MaxLine
                && (assembler.discarded() > 0 || (expected.startsWith(lines)
                    && expected.size() - lines.size() == assembler.pendingSize())),
            "the assembler keeps more than a line, or lost, changed or miscounted bytes", stream);
    }
    // The stored configuration always reads back as a well-formed answer.
    checkAnswer(kind, "AT+READALL", core.handleRequest("AT+READALL").answer);
    return 0;
}
