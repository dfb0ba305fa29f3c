// The simulator's side of the wire: arrivals of any shape through the
// request assembler into the command interpreter of either modem kind.
//
// Input: one byte for the kind ('E' Ethernet, 'G' GSM), then the arrivals,
// separated by 0x1E.

#include "fuzzsupport.h"

#include "atprotocol.h"
#include "modemcore.h"
#include "requestassembler.h"

using namespace modemsim;

namespace {

// The id the configurator would take the answer for: the first keyword of
// the table, from id 1 up, found anywhere in the block.
int recognisedId(ModemKind kind, const QByteArray& answer)
{
    const int count = kind == ModemKind::Gsm ? eTrpCfgCmdGSM_Max + 1 : eTrpCfgCmd_Max + 1;
    for (int id = 1; id < count; ++id) {
        if (answer.contains(keywordTable(kind)[id].toUtf8()))
            return id;
    }
    return count;
}

// The access point name is free text and may spell a keyword; the
// configurator then misreads the read-all answer. Known and reported, so
// the recognition rule is held only to the rest of the answer.
QByteArray withoutTextValues(ModemKind kind, const QByteArray& answer)
{
    const int set = answer.indexOf('=');
    const QString* table = keywordTable(kind);
    const int readAllId = kind == ModemKind::Gsm ? int(eIdGSMReadAll) : int(eIdReadAll);
    if (set < 0 || answer.left(set) != '+' + table[readAllId].toUtf8())
        return answer;
    QList<QByteArray> values = answer.mid(set + 1).chopped(2).split(',');
    const QList<ParameterRule> rules = parameterRules(kind);
    for (int i = 0; i < values.size() && i < rules.size(); ++i) {
        if (rules[i].isText)
            values[i].clear();
    }
    return answer.left(set + 1) + values.join(',') + "\r\n";
}

void checkAnswer(const ModemCore& core, const QByteArray& line, const QByteArray& answer)
{
    const ModemKind kind = core.kind();
    // The configurator takes one arrival as one answer, so a CR or LF
    // anywhere but at the end would cut it.
    fuzz::require(answer.startsWith('+'), "answer does not begin with +", answer);
    fuzz::require(answer.endsWith("\r\n") && answer.indexOf('\r') == answer.size() - 2
            && answer.indexOf('\n') == answer.size() - 1,
        "answer holds a line end before its end", answer);

    const QByteArray keyword
        = answer.mid(1, answer.indexOf('=') < 0 ? answer.size() - 3 : answer.indexOf('=') - 1);
    const int id = recognisedId(kind, withoutTextValues(kind, answer));
    const QString* table = keywordTable(kind);
    const int readAllId = kind == ModemKind::Gsm ? int(eIdGSMReadAll) : int(eIdReadAll);
    fuzz::require(id < (kind == ModemKind::Gsm ? eTrpCfgCmdGSM_Max : eTrpCfgCmd_Max),
        "answer carries no keyword the configurator knows", answer);
    fuzz::require(answer.startsWith(table[id].toUtf8()) || keyword == table[id].toUtf8(),
        "the configurator would take the answer for another one", line + " -> " + answer);

    if (id == readAllId) {
        const QByteArray values = answer.mid(answer.indexOf('=') + 1).chopped(2);
        fuzz::require(values.split(',').size() == parameterRules(kind).size(),
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
