#include "firstpaint.h"
#include "callgrindmarks.h"

#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

FirstPaintWatcher::FirstPaintWatcher(QObject* parent)
    : QObject(parent)
{
}

void FirstPaintWatcher::watch(const char* className, std::function<void(QWidget*)> done)
{
    m_watches.append({ QString::fromLatin1(className), std::move(done), false });
}

bool FirstPaintWatcher::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Paint || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!widget->isWindow())
        return false;
    for (Watch& w : m_watches) {
        if (w.seen || !widget->inherits(qPrintable(w.className)))
            continue;
        w.seen = true;
        // The window's own paint comes before its children's: the frame is
        // complete only once this event has been handled in full.
        QTimer::singleShot(0, this, [done = w.done, widget] { done(widget); });
    }
    return false;
}

QByteArray memoryReport()
{
    QFile file(QStringLiteral("/proc/self/status"));
    const QList<QByteArray> status
        = file.open(QIODevice::ReadOnly) ? file.readAll().split('\n') : QList<QByteArray>();
    const auto kib = [&status](const QByteArray& key) {
        for (const QByteArray& line : status) {
            if (line.startsWith(key + ':'))
                return line.mid(key.size() + 1).trimmed().split(' ').value(0);
        }
        return QByteArray("-1");
    };
    return "peak_kib " + kib("VmHWM") + " anon_kib " + kib("RssAnon") + " file_kib "
        + kib("RssFile");
}

void reportLine(const QByteArray& line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void reportShown()
{
    timespec cpu {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    const double ms = double(cpu.tv_sec) * 1e3 + double(cpu.tv_nsec) / 1e6;
    // Under callgrind the count ends here: start-up is what came before.
    CALLGRIND_STOP_INSTRUMENTATION;
    reportLine("shown " + QByteArray::number(ms, 'f', 2));
}
