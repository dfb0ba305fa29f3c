#ifndef SIMPROCESS_H
#define SIMPROCESS_H

#include <QProcess>
#include <QString>
#include <QStringList>

// Runs the modem simulator as a child process on ephemeral ports and reads
// back where it listens. Stops it when destroyed.
class SimProcess
{
public:
    SimProcess() = default;
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // kind is "eth" or "gsm"; extra options are the simulator's knobs.
    bool start(const QString& kind, const QStringList& extra = {});
    void stop();

    quint16 configPort = 0;
    quint16 port485 = 0;
    quint16 port232 = 0;
    QString pty;
    QString readyLine;
    QString journal; // path of the write journal

    QByteArray errorOutput() { return m_process.readAllStandardError(); }

private:
    QProcess m_process;
    QString m_journalDir;
};

#endif // SIMPROCESS_H
