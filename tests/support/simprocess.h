#ifndef SIMPROCESS_H
#define SIMPROCESS_H

#include <QtCore>

// Runs the modem simulator as a child process on ephemeral ports, with a
// write journal, and reads back where it listens. Stops it when destroyed.
class SimProcess
{
public:
    SimProcess() = default;
    ~SimProcess() { stop(); }

    // kind is "eth" (which also gets a pty unless extra holds --count) or "gsm"; extra options are the simulator's knobs.
    bool start(const QString& kind, const QStringList& extra = {});
    void stop();

    quint16 configPort = 0, port485 = 0, port232 = 0;
    QString pty;
    QString journal; // path of the write journal

    QByteArray errorOutput() { return m_process.readAllStandardError(); }
    int exitCode() const { return m_process.exitCode(); }

private:
    QProcess m_process;
};

#endif // SIMPROCESS_H
