#include "fleet.h"

#include <cstdio>

#include <unistd.h>

Fleet::Fleet(const Invocation& invocation, const QVector<Wanted>& wanted, QObject* parent)
    : QObject(parent)
    , m_inv(invocation)
    , m_wanted(wanted)
    , m_results(invocation.targets.size())
    // Progress is for a person watching; a log or a pipe gets none.
    , m_progress(invocation.targets.size() > 1 && isatty(STDERR_FILENO))
{
}

void Fleet::start()
{
    m_clock.start();
    m_sinceShown.start();
    if (m_inv.targets.isEmpty()) {
        QMetaObject::invokeMethod(this, &Fleet::done, Qt::QueuedConnection);
        return;
    }
    for (int i = 0; i < m_inv.jobs && m_next < m_inv.targets.size(); ++i)
        launchNext();
}

void Fleet::launchNext()
{
    const int index = m_next++;
    auto* job = new TargetJob(m_inv, m_inv.targets.at(index), m_wanted.at(index), this);
    connect(job, &TargetJob::finished, this, [this, job, index](const TargetResult& result) {
        job->deleteLater();
        m_results[index] = result;
        emit resultReady(index);
        ++m_finished;
        m_failed += m_results.at(index).result == "failed" ? 1 : 0;
        showProgress(m_finished == m_results.size());
        if (m_next < m_inv.targets.size())
            launchNext();
        else if (m_finished == m_results.size())
            emit done();
    });
    job->start();
}

void Fleet::showProgress(bool last)
{
    if (!m_progress || (!last && m_sinceShown.elapsed() < 100))
        return;
    m_sinceShown.restart();
    const double seconds = qMax<qint64>(1, m_clock.elapsed()) / 1000.0;
    std::fprintf(stderr, "\r%d/%d done, %d failed, %.1f modems/s\033[K", m_finished, int(m_results.size()), m_failed,
        m_finished / seconds);
    if (last)
        std::fputs("\n", stderr);
    std::fflush(stderr);
}
