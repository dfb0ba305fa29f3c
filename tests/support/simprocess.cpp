#include "simprocess.h"

#include <QtCore>

bool SimProcess::start(const QString& kind, const QStringList& extra)
{
#ifdef QUORVANE_MODEMSIM
    journal = QDir::temp().filePath("quorvane-journal-" + QUuid::createUuid().toString(QUuid::WithoutBraces));
    QStringList args { "--kind", kind, "--config-port", "0", "--port485", "0", "--journal", journal };
    if (!extra.contains("--count")) // one modem: an RS232 port of its own and, for eth, its USB port
        args << "--port232" << "0" << (kind == "eth" ? QStringList("--pty") : QStringList());
    m_process.start(QStringLiteral(QUORVANE_MODEMSIM), args + extra);
    QElapsedTimer clock;
    clock.start();
    while (m_process.waitForStarted(5000) && clock.elapsed() < 10000) {
        if (!m_process.canReadLine() && !m_process.waitForReadyRead(500))
            continue;
        const QString line = QString::fromUtf8(m_process.readLine());
        // READY kind=eth config=40123 port485=- port232=- pty=/dev/pts/3 ("-": none)
        const auto field = [&](const char* name) {
            return QRegularExpression(QString(" %1=([^-\\s]\\S*)").arg(name)).match(line).captured(1);
        };
        if (!line.startsWith("READY"))
            continue;
        configPort = quint16(field("config").toUInt());
        port485 = quint16(field("port485").toUInt());
        port232 = quint16(field("port232").toUInt());
        pty = field("pty");
        return true;
    }
#endif
    Q_UNUSED(kind);
    Q_UNUSED(extra);
    return false;
}

void SimProcess::stop()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill(), m_process.waitForFinished(3000);
    }
    if (!journal.isEmpty())
        QFile::remove(journal);
}
