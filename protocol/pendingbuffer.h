#ifndef PENDINGBUFFER_H
#define PENDINGBUFFER_H

#include <QByteArray>
#include <QObject>
#include <QTimer>

// Joins the arrivals of one route into answer blocks. A serial port or a
// socket may deliver one answer in several pieces (a read-all answer over a
// USB virtual COM port nearly always is), and the parser only accepts whole
// blocks. Whatever has arrived goes out as one block as soon as it ends with
// CR LF; an unterminated remainder is handed over as it stands after
// HOLD_MS or once it reaches MAX_BYTES, so the parser reports it instead of
// it waiting for ever.
class PendingBuffer : public QObject
{
    Q_OBJECT

public:
    static constexpr int HOLD_MS = 300;
    static constexpr int MAX_BYTES = 4096;

    explicit PendingBuffer(QObject* parent = nullptr);

    void append(const QByteArray& arrival);
    // Drops what is waiting, e.g. when the route closes.
    void clear();
    bool isEmpty() const { return m_pending.isEmpty(); }
    int size() const { return m_pending.size(); }

signals:
    void blockReady(const QByteArray& block);

private:
    void release();

    QByteArray m_pending;
    QTimer m_hold;
};

#endif // PENDINGBUFFER_H
