#include "requestassembler.h"

namespace modemsim {

QList<QByteArray> RequestAssembler::feed(const QByteArray& bytes)
{
    m_pending += bytes;
    QList<QByteArray> lines;
    int start = 0;
    for (int end = m_pending.indexOf("\r\n"); end >= 0; end = m_pending.indexOf("\r\n", start)) {
        if (end > start)
            lines.append(m_pending.mid(start, end - start));
        start = end + 2;
    }
    m_pending.remove(0, start);
    if (m_pending.size() > MaxLine) {
        // Keep a trailing CR: it may be the first half of the next CR LF.
        const int keep = m_pending.endsWith('\r') ? 1 : 0;
        m_discarded += m_pending.size() - keep;
        m_pending = m_pending.right(keep);
    }
    return lines;
}

} // namespace modemsim
