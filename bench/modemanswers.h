#ifndef MODEMANSWERS_H
#define MODEMANSWERS_H

#include "atprotocol.h"
#include "modemconfig.h"

#include <QByteArray>

// Answers exactly as the simulated modem sends them, taken from its own
// command interpreter, so that the benchmarks parse what the round trip
// carries. Variant 0 is a modem fresh from the box; variant 1 holds another
// configuration in which nearly every control differs, so that decoding one
// after the other makes every control and its change handler move.
namespace ModemAnswers {

QByteArray readAll(modemsim::ModemKind kind, int variant);
// Its value part: what follows the "=", without CR LF.
QByteArray readAllValues(modemsim::ModemKind kind, int variant);
// The answer to "AT+" command (a keyword of the kind's table), CR LF included.
QByteArray answerTo(modemsim::ModemKind kind, const QByteArray& command);

modemsim::ModemKind kindOf(AtProtocol::eConnection_State_t route);

} // namespace ModemAnswers

#endif // MODEMANSWERS_H
