#ifndef MODEMSIM_PTYPORT_H
#define MODEMSIM_PTYPORT_H

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace modemsim {

// The USB virtual COM port of the Ethernet modem, played by a pseudo
// terminal: the configurator opens the slave side like any serial port, the
// modem reads and writes the master side.
class PtyPort : public QObject
{
    Q_OBJECT

public:
    explicit PtyPort(QObject* parent = nullptr);
    ~PtyPort() override;

    // Opens the pair and, when `linkPath` is not empty, points a symbolic
    // link there. Returns false with `error` set when anything fails.
    bool open(const QString& linkPath, QString* error);
    bool isOpen() const { return m_master >= 0; }
    QString path() const { return m_path; }

    void write(const QByteArray& bytes);
    // The cable is pulled: both sides close and the link disappears, so the
    // configurator's port reports an error as with a real unplug.
    void unplug();
    // Unplugs once the configurator has read what was written, so a hangup
    // does not flush the last answer away. Gives up waiting after a while.
    void unplugWhenDrained();
    bool hasPending() const { return !m_pending.isEmpty(); }

signals:
    void received(const QByteArray& bytes);
    // All that was written has gone to the master side.
    void drained();

private:
    void readMaster();
    void flushPending();
    int unreadBytes() const;

    int m_master = -1;
    int m_slave = -1;
    QString m_path;
    QString m_link;
    QByteArray m_pending;
    QSocketNotifier* m_readNotifier = nullptr;
    QSocketNotifier* m_writeNotifier = nullptr;
};

} // namespace modemsim

#endif // MODEMSIM_PTYPORT_H
