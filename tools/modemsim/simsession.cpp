#include "simsession.h"

#include "simlog.h"

namespace modemsim {

SimSession::SimSession(ModemCore& core, FaultPlanner& faults, const QString& name, QObject* parent)
    : QObject(parent)
    , m_core(core)
    , m_faults(faults)
    , m_name(name)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (!m_outbox.isEmpty())
            play(m_outbox.dequeue());
        pump();
    });
}

void SimSession::receive(const QByteArray& bytes)
{
    if (m_closed)
        return;
    const int discardedBefore = m_assembler.discarded();
    const QList<QByteArray> lines = m_assembler.feed(bytes);
    if (m_assembler.discarded() != discardedBefore)
        qCDebug(lcSim).noquote() << m_name << "discarded an over-long line";
    for (const QByteArray& line : lines)
        handleLine(line);
    pump();
}

void SimSession::reset()
{
    m_assembler.clear();
    m_outbox.clear();
    m_timer.stop();
    m_requests = 0;
    m_closing = m_closed;
}

void SimSession::handleLine(const QByteArray& line)
{
    if (m_closing)
        return;
    const int number = ++m_requests;
    qCDebug(lcSim).noquote() << m_name << "<-" << logText(line + "\r\n");
    if (m_faults.ignores(number)) {
        qCDebug(lcSim).noquote() << m_name << "ignores request" << number;
    } else {
        const ModemCore::Reply reply = m_core.handleRequest(line);
        const bool flood = reply.ping && m_faults.floods();
        if (flood)
            qCDebug(lcSim).noquote()
                << m_name << "floods" << m_faults.options().flood.size() << "bytes";
        for (const Step& step : flood ? m_faults.flood() : m_faults.deliver(reply.answer)) {
            m_outbox.enqueue(step);
            m_closing = m_closing || step.close;
        }
        if (m_faults.lastFault() == FaultPlanner::Fault::Silence)
            qCDebug(lcSim).noquote() << m_name << "swallows the answer";
        if (reply.action != ModemCore::Action::None && !m_closing)
            m_outbox.enqueue({ 0, {}, false, reply.action });
    }
    if (m_faults.dropsAfter(number) && !m_closing) {
        m_outbox.enqueue({ 0, {}, true });
        m_closing = true;
    }
}

void SimSession::pump()
{
    while (!m_closed && !m_timer.isActive() && !m_outbox.isEmpty()) {
        if (m_outbox.head().waitMs > 0) {
            m_timer.start(m_outbox.head().waitMs);
            return;
        }
        play(m_outbox.dequeue());
    }
}

void SimSession::play(const Step& step)
{
    if (!step.bytes.isEmpty()) {
        // A flood would bury the log: its writes are shown by size.
        if (step.bytes.size() > 1024)
            qCDebug(lcSim).noquote() << m_name << "->" << step.bytes.size() << "bytes";
        else
            qCDebug(lcSim).noquote() << m_name << "->" << logText(step.bytes);
        emit transmit(step.bytes);
    }
    if (step.floodEnd)
        emit flooded();
    if (step.action != ModemCore::Action::None)
        emit actionRequested(step.action);
    if (step.close) {
        qCDebug(lcSim).noquote() << m_name << "drops the connection";
        m_closed = true;
        m_outbox.clear();
        emit closeRequested();
    }
}

QByteArray logText(const QByteArray& bytes)
{
    QByteArray text;
    for (char c : bytes) {
        const uchar u = uchar(c);
        if (c == '\r')
            text += "\\r";
        else if (c == '\n')
            text += "\\n";
        else if (c == '\\')
            text += "\\\\";
        else if (u < 0x20 || u >= 0x7f)
            text += "\\x" + QByteArray::number(u, 16).rightJustified(2, '0');
        else
            text += c;
    }
    return text;
}

} // namespace modemsim
