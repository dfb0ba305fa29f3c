#ifndef MODEMSIM_FAULTPLANNER_H
#define MODEMSIM_FAULTPLANNER_H

#include "modemcore.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <QStringList>
#include <QVector>

namespace modemsim {

// The misbehaviours a real modem or its link shows, chosen on the command line.
struct FaultOptions
{
    bool silent = false;
    int answerAfter = 0;
    int splitMs = -1;
    bool garbage = false;
    double garbageRate = 1.0;
    bool unterminated = false;
    bool dropMidAnswer = false;
    // Every write is answered +ERR=REFUSED and changes nothing.
    bool refuseWrites = false;
    int delayMs = 0;
    int dropAfter = 0;
    double faultRate = 0.0;
    quint32 seed = 0;
    // --flood: what a ping is answered with instead, and how many bytes go
    // in one write (0: all in one).
    QByteArray flood;
    int floodPiece = 0;
};

// The names of the shapes --flood knows, or "name (what it is)" for the help.
QStringList floodShapes(bool described);
// The bytes of a shape; false for a name not in the table.
bool floodShape(const QString& name, QByteArray* bytes);

// One thing a connection does with its outgoing stream: wait, write, then
// maybe close or carry out the command's after-effect.
struct Step
{
    int waitMs = 0;
    QByteArray bytes;
    bool close = false;
    ModemCore::Action action = ModemCore::Action::None;
    // The last write of a flood.
    bool floodEnd = false;
};

// Turns an answer into the steps that deliver it, knobs applied. One planner
// serves every connection, so a seed replays the same faults for the same
// sequence of requests.
class FaultPlanner
{
public:
    enum class Fault { None, Split, Garbage, Silence, Drop };

    // The split used by a random split fault when --split was not given.
    static constexpr int DefaultSplitMs = 100;

    explicit FaultPlanner(const FaultOptions& options);

    const FaultOptions& options() const { return m_options; }

    // Requests the modem does not even hear (1-based count per connection).
    bool ignores(int requestNumber) const;
    // Whether the connection goes away once this request has been answered.
    bool dropsAfter(int requestNumber) const;

    QVector<Step> deliver(const QByteArray& answer);
    bool floods() const { return !m_options.flood.isEmpty(); }
    // The flood in its writes, the first after --delay.
    QVector<Step> flood();
    // The random fault chosen for the last answer, Fault::None without one.
    Fault lastFault() const { return m_lastFault; }

    // Random bytes of the given size holding no "+", CR or LF, so no
    // receiver can take them for an answer.
    QByteArray garbage(int size);

private:
    Fault drawFault();

    FaultOptions m_options;
    QRandomGenerator m_random;
    Fault m_lastFault = Fault::None;
};

} // namespace modemsim

#endif // MODEMSIM_FAULTPLANNER_H
