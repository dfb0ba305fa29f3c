#include "faultplanner.h"

namespace modemsim {

FaultPlanner::FaultPlanner(const FaultOptions& options)
    : m_options(options)
    , m_random(options.seed)
{
}

bool FaultPlanner::ignores(int requestNumber) const
{
    return m_options.silent || requestNumber <= m_options.answerAfter;
}

bool FaultPlanner::dropsAfter(int requestNumber) const
{
    return m_options.dropAfter > 0 && requestNumber >= m_options.dropAfter;
}

FaultPlanner::Fault FaultPlanner::drawFault()
{
    if (m_options.faultRate <= 0.0 || m_random.generateDouble() >= m_options.faultRate)
        return Fault::None;
    static const Fault faults[] = { Fault::Split, Fault::Garbage, Fault::Silence, Fault::Drop };
    return faults[m_random.bounded(4)];
}

QByteArray FaultPlanner::garbage(int size)
{
    QByteArray bytes;
    bytes.reserve(size);
    while (bytes.size() < size) {
        const char c = char(m_random.bounded(256));
        if (c != '+' && c != '\r' && c != '\n')
            bytes.append(c);
    }
    return bytes;
}

QVector<Step> FaultPlanner::deliver(const QByteArray& answer)
{
    m_lastFault = drawFault();
    if (m_lastFault == Fault::Silence)
        return {};

    QByteArray payload = answer;
    const bool garbled = m_lastFault == Fault::Garbage
        || (m_options.garbage
            && (m_options.garbageRate >= 1.0 || m_random.generateDouble() < m_options.garbageRate));
    if (garbled)
        payload = garbage(qMax(1, answer.size()));
    if (m_options.unterminated && payload.endsWith("\r\n"))
        payload.chop(2);

    const int half = payload.size() / 2;
    if (m_options.dropMidAnswer || m_lastFault == Fault::Drop)
        return { { m_options.delayMs, payload.left(half), true } };

    const bool split = m_options.splitMs >= 0 || m_lastFault == Fault::Split;
    if (split && half > 0) {
        const int splitMs = m_options.splitMs >= 0 ? m_options.splitMs : DefaultSplitMs;
        return { { m_options.delayMs, payload.left(half) }, { splitMs, payload.mid(half) } };
    }
    return { { m_options.delayMs, payload } };
}

} // namespace modemsim
