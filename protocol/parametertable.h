#ifndef PARAMETERTABLE_H
#define PARAMETERTABLE_H

#include "atprotocol.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVector>

// The limits a value read from the modem must meet. The form carries the
// same numbers as its own constant members; they are defined here so that a
// read-all answer can be judged without a window.
namespace ParameterLimits {
constexpr int EnableIndexMax = 1;
constexpr int TrpModIndexMax = 4;
constexpr int DatabitMin = 7;
constexpr int DatabitMax = 8;
constexpr int ParitybitMax = 2;
constexpr int StopbitMin = 1;
constexpr int StopbitMax = 2;
constexpr int BaudIndexMax = 9;
constexpr int WaitingChrMin = 4;
constexpr int WaitingChrMax = 128;
constexpr int WaitingMsMin = 10;
constexpr int WaitingMsMax = 5000;
} // namespace ParameterLimits

// What a value is, independent of its line and of the modem kind.
enum class ParamField {
    Enable,
    Port,
    Mode,
    Databit,
    Paritybit,
    Stopbit,
    Baud,
    WaitingChr,
    WaitingMs,
    Tmout,
    EthTmout,
    RetryCnt,
    IntVal,
    PingIntVal,
    Apn,
    InfoResponse
};

// How the number on the wire becomes what the control shows, and back.
enum class ParamScaling {
    Plain, // control = wire - offset
    SecondsWhenRetried, // wire in ms; the control counts seconds while the line retries
    Minutes, // wire in seconds, control in minutes
    Flag, // any non-zero wire value is "on"
    Text // taken unchanged, not a number
};

struct FieldRule
{
    ParamField field;
    bool gsmOnly;
    bool limited;
    int min;
    int max;
    const char* label; // the form's row label, which names a value that breaks its limit
    int offset;
    ParamScaling scaling;

    bool accepts(int ValOfList) const { return !limited || (ValOfList >= min && ValOfList <= max); }
};

struct ParameterSpec
{
    int id; // keyword id in the table in force
    int position; // place in the read-all and write-all value lists
    AtProtocol::eRoute_Serial_t line; // eMax for the general parameters
    const FieldRule* rule;
    const QString* keyword;
};

struct ReadAllVerdict
{
    bool accepted;
    QString reason; // empty when accepted
};

namespace ParameterTable {
// The value lists of the table in force, in wire order; empty with eMax.
const QVector<ParameterSpec>& parameters(AtProtocol::eConnection_State_t route);

// A value as the modem wrote it, read as a decimal integer; 0 when it is not one.
int wireNumber(const QByteArray& text);
// A comma or line end in a text value would split the modem's list and
// shift every value after it.
bool holdsSeparator(const QString& value);

// Judges a whole read-all answer before anything of it is applied: enough
// values for the table in force and every limited value within its limit.
ReadAllVerdict checkReadAll(AtProtocol::eConnection_State_t route, const QList<QByteArray>& values);

// retryCount is the line's retry count, which decides the unit of the
// command interval.
int toControl(const FieldRule& rule, int wire, int retryCount);
int toWire(const FieldRule& rule, int control, int retryCount);
} // namespace ParameterTable

#endif // PARAMETERTABLE_H
