// The link layer's answer assembly: arrivals of any size and content, the
// hold time passing by any amount, and the route closing, in any order.
//
// Input: steps separated by 0x1E. A step is one byte naming it and its
// argument: 'A' bytes arrive, 'T' milliseconds pass (a decimal number; the
// hold time when none is given), 'R' the bytes arrive 64 times over in one
// piece (to reach MAX_BYTES), 'C' the route closes (the buffer is cleared).

#include "fuzzsupport.h"

#include "pendingbuffer.h"

#include <QAbstractEventDispatcher>
#include <QMap>
#include <QTimerEvent>

#include <algorithm>

// Time is virtual: a timer fires only when the input says its interval has
// passed. Nothing but timers reaches this thread, so the rest does nothing.
static struct ManualClock : QAbstractEventDispatcher
{
    struct Timer { TimerInfo info { 0, 0, Qt::CoarseTimer }; QObject* object; qint64 due; };
    QMap<int, Timer> live;
    qint64 now = 0;

    // Fires every timer that falls due on the way, in the order of its deadline.
    void advance(qint64 ms)
    {
        for (const qint64 end = now + ms;;) {
            const auto next = std::min_element(live.begin(), live.end(),
                [](const Timer& a, const Timer& b) { return a.due < b.due; });
            if (next == live.end() || next->due > end)
                return void(now = end);
            now = next->due;
            next->due += next->info.interval;
            QTimerEvent event(next.key());
            QCoreApplication::sendEvent(next->object, &event);
        }
    }
    void registerTimer(int id, int ms, Qt::TimerType type, QObject* object) override
    {
        live.insert(id, { { id, ms, type }, object, now + ms });
    }
    bool unregisterTimer(int id) override { return live.remove(id) > 0; }
    bool unregisterTimers(QObject* object) override
    {
        const auto mine = registeredTimers(object);
        for (const TimerInfo& timer : mine)
            live.remove(timer.timerId);
        return !mine.isEmpty();
    }
    QList<TimerInfo> registeredTimers(QObject* object) const override
    {
        QList<TimerInfo> mine;
        for (const Timer& timer : live)
            if (timer.object == object)
                mine << timer.info;
        return mine;
    }
    int remainingTime(int id) override { return live.contains(id) ? int(live[id].due - now) : -1; }
    bool processEvents(QEventLoop::ProcessEventsFlags) override { return false; }
    bool hasPendingEvents() override { return false; } void flush() override { }
    void registerSocketNotifier(QSocketNotifier*) override { } void wakeUp() override { }
    void unregisterSocketNotifier(QSocketNotifier*) override { } void interrupt() override { }
} * const virtualClock = new ManualClock;
// Before fuzzsupport.h's LLVMFuzzerInitialize makes the application.
static const bool clockInstalled = (QCoreApplication::setEventDispatcher(virtualClock), true);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int hold = PendingBuffer::HOLD_MS, full = PendingBuffer::MAX_BYTES;
    PendingBuffer buffer;
    QByteArray arrived, accounted; // every byte appended; every byte released or cleared
    qint64 firstWaiting = 0; // when the oldest byte still waiting arrived
    QObject::connect(&buffer, &PendingBuffer::blockReady, [&](const QByteArray& block) {
        fuzz::require(!block.isEmpty() && (block.endsWith("\r\n") || block.size() >= full
                          || virtualClock->now - firstWaiting >= hold),
            "released an empty block, or one before its time", block);
        accounted += block;
    });
    for (const QByteArray& piece : fuzz::pieces(data, size)) {
        const QByteArray argument = piece.mid(1);
        const int step = piece.isEmpty() ? -1 : fuzz::pick(piece[0], "ARTC");
        if (step == 0 || step == 1) {
            firstWaiting = buffer.isEmpty() ? virtualClock->now : firstWaiting;
            arrived += step ? argument.repeated(64) : argument;
            buffer.append(step ? argument.repeated(64) : argument);
        } else if (step == 2) {
            virtualClock->advance(argument.isEmpty() ? hold : qBound(0, argument.toInt(), 100000));
        } else if (step == 3) {
            accounted = arrived;
            buffer.clear();
        }
        // What waits is what arrived and was not released. A finished or full
        // block goes at once; a trickling modem cannot keep one past the hold time.
        const QByteArray waiting = arrived.mid(accounted.size());
        fuzz::require(arrived.startsWith(accounted) && waiting.size() == buffer.size()
                && (waiting.isEmpty() || (!waiting.endsWith("\r\n") && waiting.size() < full
                    && virtualClock->now - firstWaiting < hold)),
            "the buffer released bytes that did not arrive, or keeps a block past its time", piece);
    }
    // Whatever still waits comes out once the hold time has passed.
    virtualClock->advance(hold);
    fuzz::require(buffer.isEmpty() && accounted == arrived, "bytes are left behind");
    return 0;
}
