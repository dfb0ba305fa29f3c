#include "answerparser.h"

namespace AnswerParser {

AtProtocol::TrpErr_t stripFrame(QByteArray& block)
{
    if (!block.endsWith(AtProtocol::AT_CRLF.toUtf8()))
        return AtProtocol::err_EndChr;
    block.chop(2);
    if (!block.startsWith(AtProtocol::AT_SEP.toUtf8()))
        return AtProtocol::err_BeginChr;
    return AtProtocol::err_OK;
}

int findKeyword(const QByteArray& block, const QString* table, int count)
{
    const int set = block.indexOf(AtProtocol::AT_SET.toUtf8());
    const QByteArray head = set < 0 ? block : QByteArray::fromRawData(block.constData(), set);
    // Id 0 is a value keyword in both tables and never names an answer.
    for (int id = 1; id < count; ++id) {
        if (head.contains(table[id].toUtf8()))
            return id;
    }
    return count;
}

QByteArray valuePart(const QByteArray& block)
{
    const int set = block.indexOf(AtProtocol::AT_SET.toUtf8());
    return set < 0 ? block : block.mid(set + 1);
}

Answer classify(QByteArray& block, const QString* table, int count)
{
    Answer answer;
    answer.err = stripFrame(block);
    if (answer.err == AtProtocol::err_OK && table)
        answer.id = findKeyword(block, table, count);
    return answer;
}

} // namespace AnswerParser
