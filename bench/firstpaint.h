#ifndef FIRSTPAINT_H
#define FIRSTPAINT_H

#include <QObject>
#include <QSet>
#include <QString>
#include <QVector>

#include <functional>

// Tells when a top-level window of a given class has been put on screen:
// after its first paint has finished, not merely after show() was called.
// It watches the whole application, so it sees windows that the program
// under measurement creates on its own.
class FirstPaintWatcher : public QObject
{
public:
    explicit FirstPaintWatcher(QObject* parent = nullptr);

    // done runs once, from the event loop, after the first window that
    // inherits className has been painted.
    void watch(const char* className, std::function<void(QWidget*)> done);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Watch
    {
        QString className;
        std::function<void(QWidget*)> done;
        bool seen = false;
    };
    QVector<Watch> m_watches;
};

// "peak_kib N anon_kib A file_kib F": the peak resident memory of this
// process so far (VmHWM) and what is resident now of anonymous memory (heap,
// stacks) and of mapped files (libraries, fonts), all in KiB.
QByteArray memoryReport();

// One line on stdout, flushed at once: the spawner reads it through a pipe.
void reportLine(const QByteArray& line);
// "shown" and the CPU time this process has used so far, in ms: unlike the
// wall time it hardly depends on what else the machine is doing.
void reportShown();

#endif // FIRSTPAINT_H
