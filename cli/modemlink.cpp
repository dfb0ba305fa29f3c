#include "modemlink.h"
#include "answerparser.h"

#include <QLoggingCategory>
#include <QSerialPort>
#include <QTcpSocket>

Q_LOGGING_CATEGORY(lcCliLink, "quorvane.cli.link", QtInfoMsg)

namespace {

// The route's own words for what went wrong with a socket.
QString socketReason(QAbstractSocket::SocketError error, const QString& fallback)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: return "connection refused";
    case QAbstractSocket::RemoteHostClosedError: return "the modem closed the connection";
    case QAbstractSocket::HostNotFoundError: return "host not found";
    case QAbstractSocket::NetworkError: return "network unreachable";
    default: return fallback.toLower();
    }
}

} // namespace

ModemLink::ModemLink(const Route& route, int timeoutMs, QObject* parent)
    : QObject(parent), m_route(route), m_timeoutMs(timeoutMs), m_pending(this)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &ModemLink::onTimeout);
    connect(&m_pending, &PendingBuffer::blockReady, this, &ModemLink::onBlock);
}

ModemLink::~ModemLink()
{
    close();
}

void ModemLink::open()
{
    close();
    m_state = State::Opening;
    if (m_route.type == Route::Type::Serial) {
        // As the window program opens the USB virtual COM port.
        m_serial = new QSerialPort(m_route.device, this);
        m_serial->setBaudRate(QSerialPort::Baud115200, QSerialPort::AllDirections);
        if (!m_serial->open(QIODevice::ReadWrite)) {
            // Reported after the caller has returned, as a socket's would be.
            const QString reason = QString("cannot open %1: %2").arg(m_route.device, m_serial->errorString().toLower());
            QMetaObject::invokeMethod(this, [this, reason] { fail(reason); }, Qt::QueuedConnection);
            return;
        }
        connect(m_serial, &QSerialPort::readyRead, this, [this] { m_pending.append(m_serial->readAll()); });
        connect(m_serial, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
            if (e != QSerialPort::NoError && e != QSerialPort::TimeoutError)
                fail(m_serial->errorString().toLower());
        });
        m_state = State::Idle;
        QMetaObject::invokeMethod(this, &ModemLink::opened, Qt::QueuedConnection);
        return;
    }
    m_socket = new QTcpSocket(this);
    connect(m_socket, &QTcpSocket::connected, this, [this] {
        m_timer.stop();
        m_state = State::Idle;
        emit opened();
    });
    connect(m_socket, &QTcpSocket::readyRead, this, [this] { m_pending.append(m_socket->readAll()); });
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
        // A modem that restarts drops the line once it has answered; that is
        // only a failure while something is still awaited.
        if (m_state == State::Opening || m_state == State::Waiting)
            fail(socketReason(e, m_socket->errorString()) + lastGarbled());
    });
    m_timer.start(m_timeoutMs);
    m_socket->connectToHost(m_route.host, m_route.port);
}

void ModemLink::request(const QByteArray& frame, int expected)
{
    qCDebug(lcCliLink) << m_route.name() << "->" << frame;
    m_expected = expected;
    m_state = State::Waiting;
    m_garbled.clear();
    m_timer.start(m_timeoutMs);
    QIODevice* device = m_socket ? static_cast<QIODevice*>(m_socket) : m_serial;
    if (!device || device->write(frame) != frame.size())
        fail("cannot write to the modem");
}

void ModemLink::close()
{
    m_timer.stop();
    m_pending.clear();
    m_state = State::Closed;
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket->deleteLater();
        m_socket = nullptr;
    }
    if (m_serial) {
        m_serial->disconnect(this);
        m_serial->close();
        m_serial->deleteLater();
        m_serial = nullptr;
    }
}

void ModemLink::onBlock(const QByteArray& block)
{
    qCDebug(lcCliLink) << m_route.name() << "<-" << block;
    if (m_state != State::Waiting)
        return;
    QByteArray answer = block;
    const AtProtocol::eConnection_State_t dialect = m_route.dialect();
    const AnswerParser::Answer a = AnswerParser::classify(answer, AtProtocol::keywordTable(dialect), AtProtocol::keywordCount(dialect));
    if (a.err != AtProtocol::err_OK) {
        m_garbled = AnswerParser::printable(block.left(60));
        return;
    }
    const int errId = m_route.gsm() ? int(eIdGSMRetERR) : int(eIdRetERR);
    if (a.id == errId) {
        fail(QString("the modem refused: %1").arg(QString::fromUtf8(AnswerParser::valuePart(answer))));
        return;
    }
    // Anything else (a late answer to an earlier request, a report the modem
    // sends on its own) does not complete this exchange.
    if (a.id != m_expected)
        return;
    m_timer.stop();
    m_state = State::Idle;
    emit answered(AnswerParser::valuePart(answer));
}

void ModemLink::onTimeout()
{
    const QString seconds = QString::number(m_timeoutMs / 1000.0);
    if (m_state == State::Opening)
        fail(QString("no connection within %1 s").arg(seconds));
    else
        fail(QString("no %1answer within %2 s").arg(m_garbled.isEmpty() ? "" : "readable ", seconds) + lastGarbled());
}

QString ModemLink::lastGarbled() const
{
    return m_garbled.isEmpty() ? QString() : QString(" (last answer: \"%1\")").arg(m_garbled);
}

void ModemLink::fail(const QString& reason)
{
    if (m_state == State::Closed)
        return;
    close();
    emit failed(reason);
}
