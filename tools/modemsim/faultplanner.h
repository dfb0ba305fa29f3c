#ifndef MODEMSIM_FAULTPLANNER_H
#define MODEMSIM_FAULTPLANNER_H

#include "modemcore.h"

#include <QByteArray>
#include <QRandomGenerator>
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
    int delayMs = 0;
    int dropAfter = 0;
    double faultRate = 0.0;
    quint32 seed = 0;
};

// One thing a connection does with its outgoing stream: wait, write, then
// maybe close or carry out the command's after-effect.
struct Step
{
    int waitMs = 0;
    QByteArray bytes;
    bool close = false;
    ModemCore::Action action = ModemCore::Action::None;
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
