#include "answerparser.h"

namespace AnswerParser {

namespace {
// Position of the "=" that ends an answer's head; -1 when it has none.
int headEnd(const QByteArray& block)
{
    static const QByteArray set = AtProtocol::AT_SET.toLatin1();
    return block.indexOf(set);
}
} // namespace

AtProtocol::TrpErr_t stripFrame(QByteArray& block)
{
    static const QByteArray crlf = AtProtocol::AT_CRLF.toUtf8();
    static const QByteArray sep = AtProtocol::AT_SEP.toUtf8();
    if (!block.endsWith(crlf))
        return AtProtocol::err_EndChr;
    block.chop(crlf.size());
    if (!block.startsWith(sep))
        return AtProtocol::err_BeginChr;
    return AtProtocol::err_OK;
}

int findKeyword(const QByteArray& block, const QString* table, int count)
{
    const int set = headEnd(block);
    // The keywords are ASCII, so matching them in the head read as Latin-1
    // matches the same bytes, with one conversion per block instead of one
    // per keyword.
    const QString head = QString::fromLatin1(block.constData(), set < 0 ? block.size() : set);
    // Id 0 is a value keyword in both tables and never names an answer.
    for (int id = 1; id < count; ++id) {
        if (head.contains(table[id]))
            return id;
    }
    return count;
}

QByteArray valuePart(const QByteArray& block)
{
    const int set = headEnd(block);
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

QString printable(const QByteArray& bytes)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray text;
    text.reserve(bytes.size() + 8);
    for (const char c : bytes) {
        const auto b = uchar(c);
        if (b == '\r')
            text += "\\r";
        else if (b == '\n')
            text += "\\n";
        else if (b == '\\')
            text += "\\\\";
        else if (b >= 0x20 && b < 0x7f)
            text += c;
        else
            text += QByteArray("\\x") + hex[b >> 4] + hex[b & 15];
    }
    return QString::fromLatin1(text);
}

} // namespace AnswerParser
