#include "pendingbuffer.h"

PendingBuffer::PendingBuffer(QObject* parent) : QObject(parent)
{
    m_hold.setSingleShot(true);
    m_hold.setInterval(HOLD_MS);
    connect(&m_hold, &QTimer::timeout, this, &PendingBuffer::release);
}

void PendingBuffer::append(const QByteArray& arrival)
{
    if (arrival.isEmpty())
        return;
    m_pending.append(arrival);
    if (m_pending.endsWith("\r\n") || m_pending.size() >= MAX_BYTES) {
        release();
        return;
    }
    // The hold time counts from the first byte of the block, so a modem that
    // trickles bytes cannot keep a block waiting.
    if (!m_hold.isActive())
        m_hold.start();
}

void PendingBuffer::clear()
{
    m_hold.stop();
    m_pending.clear();
}

void PendingBuffer::release()
{
    m_hold.stop();
    if (m_pending.isEmpty())
        return;
    const QByteArray block = m_pending;
    m_pending.clear();
    emit blockReady(block);
}
