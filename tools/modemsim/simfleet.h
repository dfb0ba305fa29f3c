#ifndef MODEMSIM_SIMFLEET_H
#define MODEMSIM_SIMFLEET_H

#include "simoptions.h"

#include <QFile>
#include <QObject>
#include <QVector>

namespace modemsim {

class SimServer;

// The --count modems of one process, each with its own configuration and
// knobs, on consecutive ports, writing to one journal. All of them run on
// the one event loop: a modem is a few listening sockets, not a thread.
class SimFleet : public QObject
{
    Q_OBJECT

public:
    explicit SimFleet(const SimOptions& options, QObject* parent = nullptr);

    bool start(QString* error);
    // The first modem's READY line, then "count=N first=P".
    QString readyLine() const;

private:
    bool raiseFileLimit(QString* error) const;
    bool startModems(int first, QString* error);
    void stopModems();
    int freeBase(int span) const;
    int portsPerModem() const { return m_options.kind == ModemKind::Gsm ? 2 : 1; }

    SimOptions m_options;
    QFile m_journal;
    QVector<SimServer*> m_modems;
};

} // namespace modemsim

#endif // MODEMSIM_SIMFLEET_H
