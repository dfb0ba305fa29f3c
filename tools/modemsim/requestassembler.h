#ifndef MODEMSIM_REQUESTASSEMBLER_H
#define MODEMSIM_REQUESTASSEMBLER_H

#include <QByteArray>
#include <QList>

namespace modemsim {

// Joins the pieces a link delivers into request lines ending in CR LF: the
// modem, unlike the configurator, must cope with a frame split in transit.
class RequestAssembler
{
public:
    // Longer than any frame the configurator builds; a line that grows past
    // it without a CR LF is line noise and is thrown away.
    static constexpr int MaxLine = 4096;

    // Returns the complete lines, without their CR LF; empty lines are
    // dropped. Keeps any unfinished rest for the next call.
    QList<QByteArray> feed(const QByteArray& bytes);
    void clear() { m_pending.clear(); }
    int pendingSize() const { return m_pending.size(); }

    // How many bytes were thrown away as over-long, for the log.
    int discarded() const { return m_discarded; }

private:
    QByteArray m_pending;
    int m_discarded = 0;
};

} // namespace modemsim

#endif // MODEMSIM_REQUESTASSEMBLER_H
