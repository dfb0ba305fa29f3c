#ifndef MODEMLINK_H
#define MODEMLINK_H

#include "cliargs.h"
#include "pendingbuffer.h"

#include <QObject>
#include <QTimer>

class QSerialPort;
class QTcpSocket;

// One connection to one modem, one exchange at a time: a frame out, then the
// answer that names the request. Arrivals are joined by the same pending
// buffer and judged by the same parser as in the window program.
class ModemLink : public QObject
{
    Q_OBJECT

public:
    ModemLink(const Route& route, int timeoutMs, QObject* parent = nullptr);
    ~ModemLink() override;

    void open();
    // `expected` is the id, in the route's keyword table, of the answer
    // that completes the exchange. "+ERR" fails it with the modem's reason.
    void request(const QByteArray& frame, int expected);
    void close();

signals:
    void opened();
    void answered(const QByteArray& values);
    void failed(const QString& reason);

private:
    void onBlock(const QByteArray& block);
    void fail(const QString& reason);
    void onTimeout();
    QString lastGarbled() const;

    Route m_route;
    int m_timeoutMs;
    QTcpSocket* m_socket = nullptr;
    QSerialPort* m_serial = nullptr;
    PendingBuffer m_pending;
    QTimer m_timer;
    enum class State { Closed, Opening, Idle, Waiting } m_state = State::Closed;
    int m_expected = -1;
    QString m_garbled; // the last answer that could not be read, for the time-out's reason
};

#endif // MODEMLINK_H
