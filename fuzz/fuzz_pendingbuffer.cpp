// The link layer's answer assembly: arrivals of any size and content, the
// hold time passing by any amount, and the route closing, in any order.
//
// Input: steps separated by 0x1E. A step is one byte naming it and its
// argument: 'A' bytes arrive, 'T' milliseconds pass (a decimal number; the
// hold time when none is given), 'R' the bytes arrive 64 times over in one
// piece (to reach MAX_BYTES), 'C' the route closes (the buffer is cleared).
//
// Time is virtual: the thread's event dispatcher is replaced by one that
// fires a timer only when the input says that its interval has passed.

#include "fuzzsupport.h"

#include "pendingbuffer.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QMap>
#include <QTimerEvent>

#include <algorithm>

namespace {

class ManualClock : public QAbstractEventDispatcher
{
public:
    qint64 now() const { return m_now; }

    // Moves the virtualClock on, firing every timer that falls due on the way in
    // the order of its deadline.
    void advance(qint64 ms)
    {
        const qint64 end = m_now + ms;
        for (;;) {
            auto next = std::min_element(m_timers.begin(), m_timers.end(),
                [](const Timer& a, const Timer& b) { return a.deadline < b.deadline; });
            if (next == m_timers.end() || next->deadline > end)
                break;
            m_now = next->deadline;
            const int id = next.key();
            QObject* object = next->object;
            next->deadline += next->interval;
            QTimerEvent event(id);
            QCoreApplication::sendEvent(object, &event);
        }
        m_now = end;
    }

    bool processEvents(QEventLoop::ProcessEventsFlags) override { return false; }
    bool hasPendingEvents() override { return false; }
    void registerSocketNotifier(QSocketNotifier*) override { }
    void unregisterSocketNotifier(QSocketNotifier*) override { }
    void registerTimer(int id, int interval, Qt::TimerType type, QObject* object) override
    {
        m_timers.insert(id, { interval, type, object, m_now + interval });
    }
    bool unregisterTimer(int id) override { return m_timers.remove(id) > 0; }
    bool unregisterTimers(QObject* object) override
    {
        bool any = false;
        for (auto it = m_timers.begin(); it != m_timers.end();) {
            if (it->object == object) {
                it = m_timers.erase(it);
                any = true;
            } else {
                ++it;
            }
        }
        return any;
    }
    QList<TimerInfo> registeredTimers(QObject* object) const override
    {
        QList<TimerInfo> list;
        for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
            if (it->object == object)
                list.append({ it.key(), it->interval, it->type });
        }
        return list;
    }
    int remainingTime(int id) override
    {
        return m_timers.contains(id) ? int(m_timers[id].deadline - m_now) : -1;
    }
    void wakeUp() override { }
    void interrupt() override { }
    void flush() override { }

private:
    struct Timer
    {
        int interval;
        Qt::TimerType type;
        QObject* object;
        qint64 deadline;
    };

    QMap<int, Timer> m_timers;
    qint64 m_now = 0;
};

ManualClock* virtualClock;

// What the harness knows of the buffer from outside.
struct Ledger
{
    QByteArray arrived; // every byte handed to append, in order
    QByteArray accounted; // every byte released or dropped by clear, in order
    qint64 firstWaiting = -1; // when the oldest byte still waiting arrived
    bool timerTurn = false; // a release now comes from the hold time
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    virtualClock = new ManualClock;
    QCoreApplication::setEventDispatcher(virtualClock);
    static int argc = 1;
    static char name[] = "quorvane-fuzz";
    static char* argv[] = { name, nullptr };
    new QCoreApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PendingBuffer buffer;
    Ledger ledger;
    QObject::connect(&buffer, &PendingBuffer::blockReady, [&](const QByteArray& block) {
        fuzz::require(!block.isEmpty(), "released an empty block");
        if (ledger.timerTurn)
            fuzz::require(virtualClock->now() - ledger.firstWaiting >= PendingBuffer::HOLD_MS,
                "the hold time released a block early", block);
        else
            fuzz::require(block.endsWith("\r\n") || block.size() >= PendingBuffer::MAX_BYTES,
                "released an unfinished block before its time", block);
        ledger.accounted += block;
    });

    const auto check = [&](const char* after) {
        fuzz::require(ledger.arrived.startsWith(ledger.accounted), after);
        fuzz::require(ledger.arrived.size() - ledger.accounted.size() == buffer.size(), after);
        if (buffer.isEmpty())
            ledger.firstWaiting = -1;
        // A trickling modem cannot keep a block waiting past the hold time.
        else
            fuzz::require(virtualClock->now() - ledger.firstWaiting < PendingBuffer::HOLD_MS,
                "a block waits past the hold time", after);
    };

    for (const QByteArray& piece : fuzz::pieces(data, size)) {
        if (piece.isEmpty())
            continue;
        const QByteArray argument = piece.mid(1);
        const int step = fuzz::pick(piece[0], "ARTC");
        switch (step) {
        case 0:
        case 1: {
            const QByteArray arrival = step == 1 ? argument.repeated(64) : argument;
            if (buffer.isEmpty() && !arrival.isEmpty())
                ledger.firstWaiting = virtualClock->now();
            ledger.arrived += arrival;
            buffer.append(arrival);
            check("after an arrival");
            break;
        }
        case 2: {
            bool ok = false;
            const int ms = argument.toInt(&ok);
            ledger.timerTurn = true;
            virtualClock->advance(ok ? qBound(0, ms, 100000) : PendingBuffer::HOLD_MS);
            ledger.timerTurn = false;
            check("after time passed");
            break;
        }
        default:
            ledger.accounted += ledger.arrived.mid(ledger.accounted.size());
            buffer.clear();
            check("after clear");
        }
    }
    // Whatever still waits comes out once the hold time has passed.
    ledger.timerTurn = true;
    virtualClock->advance(PendingBuffer::HOLD_MS);
    ledger.timerTurn = false;
    fuzz::require(buffer.isEmpty() && ledger.accounted == ledger.arrived,
        "bytes are left behind after the hold time");
    return 0;
}
