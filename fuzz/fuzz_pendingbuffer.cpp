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
#include <QCoreApplication>
#include <QMap>
#include <QTimerEvent>

#include <algorithm>

namespace {

// Time is virtual: a timer fires only when the input says its interval has passed.
struct ManualClock : QAbstractEventDispatcher
{
    struct Timer { int interval; Qt::TimerType type; QObject* object; qint64 deadline; };
    QMap<int, Timer> timers;
    qint64 now = 0;

    // Fires every timer that falls due on the way, in the order of its deadline.
    void advance(qint64 ms)
    {
        for (const qint64 end = now + ms;;) {
            const auto next = std::min_element(timers.begin(), timers.end(),
                [](const Timer& a, const Timer& b) { return a.deadline < b.deadline; });
            if (next == timers.end() || next->deadline > end)
                return void(now = end);
            now = next->deadline;
            next->deadline += next->interval;
            QTimerEvent event(next.key());
            QCoreApplication::sendEvent(next->object, &event);
        }
    }
    void registerTimer(int id, int interval, Qt::TimerType type, QObject* object) override
    {
        timers.insert(id, { interval, type, object, now + interval });
    }
    bool unregisterTimer(int id) override { return timers.remove(id) > 0; }
    bool unregisterTimers(QObject* object) override
    {
        const int before = timers.size();
        for (auto it = timers.begin(); it != timers.end();)
            it = it->object == object ? timers.erase(it) : std::next(it);
        return timers.size() < before;
    }
    QList<TimerInfo> registeredTimers(QObject* object) const override
    {
        QList<TimerInfo> list;
        for (auto it = timers.begin(); it != timers.end(); ++it)
            if (it->object == object)
                list.append({ it.key(), it->interval, it->type });
        return list;
    }
    int remainingTime(int id) override
    {
        return timers.contains(id) ? int(timers[id].deadline - now) : -1;
    }
    // Nothing but timers reaches this thread.
    bool processEvents(QEventLoop::ProcessEventsFlags) override { return false; }
    bool hasPendingEvents() override { return false; }
    void registerSocketNotifier(QSocketNotifier*) override { }
    void unregisterSocketNotifier(QSocketNotifier*) override { }
    void wakeUp() override { } void interrupt() override { } void flush() override { }
} * virtualClock;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    QCoreApplication::setEventDispatcher(virtualClock = new ManualClock);
    return fuzz::startApplication(false);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    PendingBuffer buffer;
    QByteArray arrived, accounted; // every byte appended; every byte released or cleared
    qint64 firstWaiting = -1; // when the oldest byte still waiting arrived
    bool timed = false; // a release now comes from the hold time
    QObject::connect(&buffer, &PendingBuffer::blockReady, [&](const QByteArray& block) {
        const bool due = timed
            ? virtualClock->now - firstWaiting >= PendingBuffer::HOLD_MS
            : block.endsWith("\r\n") || block.size() >= PendingBuffer::MAX_BYTES;
        fuzz::require(!block.isEmpty() && due,
            timed ? "the hold time released a block early or empty"
                  : "released an empty or unfinished block before its time",
            block);
        accounted += block;
    });
    const auto pass = [&](qint64 ms) { timed = true; virtualClock->advance(ms); timed = false; };
    for (const QByteArray& piece : fuzz::pieces(data, size)) {
        if (piece.isEmpty())
            continue;
        const QByteArray argument = piece.mid(1);
        bool ok = false;
        const int ms = argument.toInt(&ok);
        switch (const int step = fuzz::pick(piece[0], "ARTC")) {
        case 0:
        case 1: {
            const QByteArray arrival = step == 1 ? argument.repeated(64) : argument;
            if (buffer.isEmpty() && !arrival.isEmpty())
                firstWaiting = virtualClock->now;
            arrived += arrival;
            buffer.append(arrival);
            break;
        }
        case 2:
            pass(ok ? qBound(0, ms, 100000) : PendingBuffer::HOLD_MS);
            break;
        default:
            accounted = arrived;
            buffer.clear();
        }
        fuzz::require(arrived.startsWith(accounted), "released bytes that did not arrive", piece);
        fuzz::require(arrived.size() - accounted.size() == buffer.size(),
            "the buffer holds other than what waits", piece);
        // A trickling modem cannot keep a block waiting past the hold time.
        if (buffer.isEmpty())
            firstWaiting = -1;
        else
            fuzz::require(virtualClock->now - firstWaiting < PendingBuffer::HOLD_MS,
                "a block waits past the hold time", piece);
    }
    // Whatever still waits comes out once the hold time has passed.
    pass(PendingBuffer::HOLD_MS);
    fuzz::require(buffer.isEmpty() && accounted == arrived, "bytes are left behind");
    return 0;
}
