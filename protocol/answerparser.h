#ifndef ANSWERPARSER_H
#define ANSWERPARSER_H

#include "atprotocol.h"

#include <QByteArray>
#include <QString>

// Recognises one answer block of the modem without looking at any widget:
// the framing, the keyword that names the answer and its value part.
namespace AnswerParser {

struct Answer
{
    AtProtocol::TrpErr_t err = AtProtocol::err_OK;
    // Id of the table entry that names the answer; the table's length when no
    // keyword matched; -1 when no table was given or the framing was wrong.
    int id = -1;
};

// Checks CR LF and the leading "+". On success the CR LF is removed from the
// block; a block without CR LF is left exactly as it came.
AtProtocol::TrpErr_t stripFrame(QByteArray& block);

// First entry of the table, from id 1 upward, that the answer's head holds.
// Only the head names an answer: with an "=" the search stops at the first
// one, so a keyword inside the values ("+ERR=PING failed") cannot win.
int findKeyword(const QByteArray& block, const QString* table, int count);

// Everything after the first "="; the whole block when it has none.
QByteArray valuePart(const QByteArray& block);

// The bytes as one line of text: CR and LF as \r and \n, a backslash
// doubled, every other byte outside printable ASCII as \xHH, so that the
// text reads back to the bytes.
QString printable(const QByteArray& bytes);

// stripFrame, then findKeyword on the table in force (none: nothing searched).
Answer classify(QByteArray& block, const QString* table, int count);

} // namespace AnswerParser

#endif // ANSWERPARSER_H
