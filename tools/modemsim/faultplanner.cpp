#include "faultplanner.h"

namespace modemsim {

namespace {

// Head, then count times the filler, then tail.
struct FloodShape
{
    const char* name;
    const char* head;
    const char* filler;
    int count;
    const char* tail;
    const char* about;
};

const FloodShape FloodShapes[] = {
    { "err-1m", "+ERR=", "x", 1 << 20, "\r\n", "+ERR= and 1 MiB of x, CR LF" },
    { "err-1m-open", "+ERR=", "x", 1 << 20, "", "the same without CR LF" },
    { "err-64k", "+ERR=", "x", 64 << 10, "\r\n", "+ERR= and 64 KiB of x, CR LF" },
    { "readall-512k", "+READALL=", ",", 512 << 10, "\r\n",
        "+READALL= and 512 KiB of commas, CR LF" },
    { "ping-10000", "", "+PING\r\n", 10000, "", "+PING CR LF, 10000 times" },
};

} // namespace

QStringList floodShapes(bool described)
{
    QStringList shapes;
    for (const FloodShape& shape : FloodShapes) {
        const QString name = QLatin1String(shape.name);
        shapes << (described ? QStringLiteral("%1 (%2)").arg(name, QLatin1String(shape.about))
                             : name);
    }
    return shapes;
}

bool floodShape(const QString& name, QByteArray* bytes)
{
    for (const FloodShape& shape : FloodShapes) {
        if (name == QLatin1String(shape.name)) {
            *bytes = shape.head + QByteArray(shape.filler).repeated(shape.count) + shape.tail;
            return true;
        }
    }
    return false;
}

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

QVector<Step> FaultPlanner::flood()
{
    m_lastFault = Fault::None;
    const QByteArray& bytes = m_options.flood;
    const int piece = m_options.floodPiece > 0 ? m_options.floodPiece : bytes.size();
    QVector<Step> steps;
    for (int at = 0; at < bytes.size(); at += piece)
        steps.append({ at == 0 ? m_options.delayMs : 0, bytes.mid(at, piece) });
    steps.last().floodEnd = true;
    return steps;
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
