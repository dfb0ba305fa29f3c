#ifndef MODEMSIM_SIMSESSION_H
#define MODEMSIM_SIMSESSION_H

#include "faultplanner.h"
#include "requestassembler.h"

#include <QObject>
#include <QQueue>
#include <QTimer>

namespace modemsim {

// One client of the modem: a TCP connection or whoever holds the pseudo
// terminal. It assembles requests, asks the core, and plays the delivery
// steps in order, so a delayed or split answer never overtakes the next one.
// It never touches a socket: the owner wires transmit/closeRequested.
class SimSession : public QObject
{
    Q_OBJECT

public:
    SimSession(
        ModemCore& core, FaultPlanner& faults, const QString& name, QObject* parent = nullptr);

    QString name() const { return m_name; }
    int requestCount() const { return m_requests; }
    bool isClosed() const { return m_closed; }

    void receive(const QByteArray& bytes);
    // Forgets half-received lines, queued answers and the request count, as
    // a restarted modem does.
    void reset();

signals:
    void transmit(const QByteArray& bytes);
    void closeRequested();
    // The command's after-effect, once its answer has been handed to transmit.
    void actionRequested(modemsim::ModemCore::Action action);
    // The last write of a flood has been handed to transmit.
    void flooded();

private:
    void handleLine(const QByteArray& line);
    void pump();
    void play(const Step& step);

    ModemCore& m_core;
    FaultPlanner& m_faults;
    QString m_name;
    RequestAssembler m_assembler;
    QQueue<Step> m_outbox;
    QTimer m_timer;
    int m_requests = 0;
    // A close is queued: later requests of the same arrival go unheard.
    bool m_closing = false;
    bool m_closed = false;
};

// Bytes as a readable log text: CR, LF and other control bytes escaped.
QByteArray logText(const QByteArray& bytes);

} // namespace modemsim

#endif // MODEMSIM_SIMSESSION_H
