#include "ptyport.h"

#include "simlog.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace modemsim {

PtyPort::PtyPort(QObject* parent)
    : QObject(parent)
{
}

PtyPort::~PtyPort()
{
    unplug();
}

bool PtyPort::open(const QString& linkPath, QString* error)
{
    const auto fail = [&](const char* what) {
        *error = QStringLiteral("%1: %2").arg(
            QLatin1String(what), QString::fromLocal8Bit(strerror(errno)));
        unplug();
        return false;
    };
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0)
        return fail("posix_openpt");
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0)
        return fail("grantpt/unlockpt");
    const char* name = ptsname(m_master);
    if (!name)
        return fail("ptsname");
    m_path = QString::fromLocal8Bit(name);

    // Holding the slave open keeps the master from reading EIO before the
    // configurator has opened the port, and between its sessions.
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0)
        return fail("open slave");
    termios raw;
    if (tcgetattr(m_slave, &raw) != 0)
        return fail("tcgetattr");
    // No echo and no line discipline: the bytes pass as a USB CDC port passes them.
    cfmakeraw(&raw);
    cfsetispeed(&raw, B115200);
    cfsetospeed(&raw, B115200);
    if (tcsetattr(m_slave, TCSANOW, &raw) != 0)
        return fail("tcsetattr");
    if (fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK) != 0)
        return fail("fcntl");

    if (!linkPath.isEmpty()) {
        // Only a stale link of an earlier run is replaced, never a real file.
        if (QFileInfo(linkPath).isSymLink())
            QFile::remove(linkPath);
        if (!QFile::link(m_path, linkPath)) {
            *error = QStringLiteral("cannot make the link %1").arg(linkPath);
            unplug();
            return false;
        }
        m_link = linkPath;
    }

    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PtyPort::readMaster);
    m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &PtyPort::flushPending);
    return true;
}

void PtyPort::readMaster()
{
    char buffer[1024];
    const ssize_t got = ::read(m_master, buffer, sizeof buffer);
    if (got > 0) {
        emit received(QByteArray(buffer, int(got)));
        return;
    }
    if (got < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    // Cannot happen while we hold the slave; stop the notifier from spinning.
    qCWarning(lcSim) << "pty read failed, closing it";
    unplug();
}

void PtyPort::write(const QByteArray& bytes)
{
    if (!isOpen())
        return;
    m_pending += bytes;
    flushPending();
}

void PtyPort::flushPending()
{
    while (!m_pending.isEmpty()) {
        const ssize_t done = ::write(m_master, m_pending.constData(), size_t(m_pending.size()));
        if (done < 0) {
            if (errno == EINTR)
                continue;
            if (errno != EAGAIN) {
                qCWarning(lcSim) << "pty write failed:" << strerror(errno);
                m_pending.clear();
            }
            break;
        }
        m_pending.remove(0, int(done));
    }
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(!m_pending.isEmpty());
    if (m_pending.isEmpty())
        emit drained();
}

int PtyPort::unreadBytes() const
{
    int count = 0;
    // The slave we hold shares its input queue with the configurator's.
    if (m_slave < 0 || ioctl(m_slave, FIONREAD, &count) != 0)
        return 0;
    return count + m_pending.size();
}

void PtyPort::unplugWhenDrained()
{
    const int pollMs = 10;
    const qint64 patienceMs = 2000;
    auto* poll = new QTimer(this);
    QElapsedTimer clock;
    clock.start();
    connect(poll, &QTimer::timeout, this, [this, poll, clock] {
        if (isOpen() && unreadBytes() > 0 && clock.elapsed() < patienceMs)
            return;
        poll->stop();
        poll->deleteLater();
        unplug();
    });
    poll->start(pollMs);
}

void PtyPort::unplug()
{
    // Unplugging may happen inside the read notifier's own signal.
    for (QSocketNotifier* notifier : { m_readNotifier, m_writeNotifier }) {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    }
    m_readNotifier = m_writeNotifier = nullptr;
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = m_slave = -1;
    m_pending.clear();
    if (!m_link.isEmpty())
        QFile::remove(m_link);
    m_link.clear();
}

} // namespace modemsim
