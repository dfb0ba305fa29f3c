#ifndef FLEET_H
#define FLEET_H

#include "targetjob.h"

#include <QElapsedTimer>
#include <QObject>
#include <QVector>


// Works through every target, at most `jobs` at once, on one thread: each
// modem is a state machine driven by its socket's events, so a silent one
// holds a slot for its own time-out and nothing else.
class Fleet : public QObject
{
    Q_OBJECT

public:
    Fleet(const Invocation& invocation, const QVector<Wanted>& wanted, QObject* parent = nullptr);
    void start();
    const QVector<TargetResult>& results() const { return m_results; }
    // Still open to the caller's own last step (writing a file it read).
    TargetResult& result(int index) { return m_results[index]; }

signals:
    void resultReady(int index);
    void done();

private:
    void launchNext();
    void showProgress(bool last);

    const Invocation& m_inv;
    QVector<Wanted> m_wanted;
    QVector<TargetResult> m_results;
    int m_next = 0;
    int m_finished = 0;
    int m_failed = 0;
    bool m_progress;
    QElapsedTimer m_clock;
    QElapsedTimer m_sinceShown;
};

#endif // FLEET_H
