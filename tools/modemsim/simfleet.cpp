#include "simfleet.h"

#include "simserver.h"

#include <QHostAddress>
#include <QTcpServer>

#include <sys/resource.h>

namespace modemsim {

namespace {

// How often a fleet on port 0 looks for another free range before it gives up.
const int RangeAttempts = 10;

} // namespace

SimFleet::SimFleet(const SimOptions& options, QObject* parent)
    : QObject(parent)
    , m_options(options)
{
}

bool SimFleet::start(QString* error)
{
    if (!m_options.journal.isEmpty()) {
        m_journal.setFileName(m_options.journal);
        // Unbuffered, so a test reading the journal sees each line at once,
        // and the lines of several modems never mix.
        if (!m_journal.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
            *error = QStringLiteral("cannot open the journal %1").arg(m_options.journal);
            return false;
        }
    }
    // One modem keeps its ports as given, port 0 each on its own.
    if (m_options.count == 1)
        return startModems(-1, error);
    if (!raiseFileLimit(error))
        return false;
    const int span = m_options.count * portsPerModem();
    const int first = m_options.kind == ModemKind::Gsm ? m_options.port485 : m_options.configPort;
    if (first != 0)
        return startModems(first, error);
    // Port 0: a range the system has free now may be taken in part by the
    // time we listen, so a clash moves the whole fleet to another range.
    for (int attempt = 1; attempt <= RangeAttempts; ++attempt) {
        if (startModems(freeBase(span), error))
            return true;
        stopModems();
    }
    *error = QStringLiteral("no free range of %1 ports after %2 tries; the last: %3")
                 .arg(span)
                 .arg(RangeAttempts)
                 .arg(*error);
    return false;
}

bool SimFleet::raiseFileLimit(QString* error) const
{
    // Every listening socket is a descriptor, and every client another; the
    // usual soft limit of 1,024 would stop a fleet of a thousand.
    const rlim_t needed = rlim_t(m_options.count * portsPerModem()) + 64;
    rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= needed)
        return true;
    if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max < needed) {
        *error = QStringLiteral("%1 modems need about %2 open files; the hard limit is %3")
                     .arg(m_options.count)
                     .arg(needed)
                     .arg(limit.rlim_max);
        return false;
    }
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? 4 * needed : limit.rlim_max;
    if (::setrlimit(RLIMIT_NOFILE, &limit) != 0) {
        *error = QStringLiteral("cannot raise the open-file limit to %1").arg(limit.rlim_cur);
        return false;
    }
    return true;
}

int SimFleet::freeBase(int span) const
{
    // The system's pick for one port, moved down where the range would run
    // past the last port number.
    QTcpServer probe;
    probe.listen(QHostAddress::AnyIPv4, 0);
    return qMax(1024, qMin(int(probe.serverPort()), 65536 - span));
}

bool SimFleet::startModems(int first, QString* error)
{
    for (int index = 0; index < m_options.count; ++index) {
        SimOptions options = m_options;
        if (first >= 0) {
            const int port = first + index * portsPerModem();
            options.configPort = quint16(port);
            options.port485 = quint16(port);
            options.port232 = quint16(port + 1);
        }
        auto* modem
            = new SimServer(options, index, m_journal.isOpen() ? &m_journal : nullptr, this);
        m_modems.append(modem);
        if (!modem->start(error)) {
            if (m_options.fleet)
                error->prepend(QStringLiteral("modem %1: ").arg(index));
            return false;
        }
    }
    return true;
}

void SimFleet::stopModems()
{
    qDeleteAll(m_modems);
    m_modems.clear();
}

QString SimFleet::readyLine() const
{
    const SimServer* first = m_modems.first();
    return QStringLiteral("%1 count=%2 first=%3")
        .arg(first->readyLine())
        .arg(m_options.count)
        .arg(first->firstPort());
}

} // namespace modemsim
