#include "trafficlog.h"
#include "answerparser.h"

#include <QDateTime>

TrafficLog::TrafficLog(QObject* parent)
    : QAbstractTableModel(parent)
{
    m_flush.setSingleShot(true);
    m_flush.setInterval(FLUSH_MS);
    connect(&m_flush, &QTimer::timeout, this, &TrafficLog::flush);
}

void TrafficLog::record(Direction direction, Route route, const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    m_queued.push_back({ QDateTime::currentMSecsSinceEpoch(), direction, route,
        bytes.left(MAX_BYTES), bytes.size() });
    m_queuedBytes += m_queued.back().bytes.size();
    // The queue alone stays within the limits, so a burst between two
    // flushes holds no more than the model ever would.
    for (int n = excess(m_queued, m_queuedBytes, 0, 0); n > 0; --n) {
        m_queuedBytes -= m_queued.front().bytes.size();
        m_queued.pop_front();
    }
    if (!m_flush.isActive())
        m_flush.start();
}

int TrafficLog::excess(const Rows& rows, qint64 bytes, int adding, qint64 addingBytes)
{
    int n = 0;
    qint64 kept = bytes + addingBytes;
    while (n < int(rows.size()) && (int(rows.size()) - n + adding > MAX_ROWS || kept > MAX_BYTES))
        kept -= rows[n++].bytes.size();
    return n;
}

void TrafficLog::flush()
{
    m_flush.stop();
    if (m_queued.empty())
        return;
    const int drop = excess(m_rows, m_bytes, int(m_queued.size()), m_queuedBytes);
    if (drop > 0) {
        beginRemoveRows(QModelIndex(), 0, drop - 1);
        for (int i = 0; i < drop; ++i)
            m_bytes -= m_rows[i].bytes.size();
        m_rows.erase(m_rows.begin(), m_rows.begin() + drop);
        endRemoveRows();
    }
    const int first = int(m_rows.size());
    beginInsertRows(QModelIndex(), first, first + int(m_queued.size()) - 1);
    std::move(m_queued.begin(), m_queued.end(), std::back_inserter(m_rows));
    m_bytes += m_queuedBytes;
    m_queued.clear();
    m_queuedBytes = 0;
    endInsertRows();
}

void TrafficLog::clear()
{
    m_flush.stop();
    beginResetModel();
    m_rows.clear();
    m_queued.clear();
    m_bytes = m_queuedBytes = 0;
    endResetModel();
}

QString TrafficLog::cellText(const Row& row, int column) const
{
    switch (column) {
    case TimeColumn:
        return QDateTime::fromMSecsSinceEpoch(row.msecs).toString(QStringLiteral("hh:mm:ss.zzz"));
    case DirectionColumn:
        return row.direction == Sent ? tr("Sent") : tr("Received");
    case RouteColumn: {
        const char* const names[] = { QT_TR_NOOP("USB"), QT_TR_NOOP("TCP"),
            QT_TR_NOOP("RS485 tunnel"), QT_TR_NOOP("RS232 tunnel") };
        return tr(names[row.route]);
    }
    }
    // A cell is one line of a few hundred characters at most.
    return bytesText(row, SHOWN_BYTES);
}

QString TrafficLog::bytesText(const Row& row, int limit)
{
    // The ellipsis marks bytes that are not shown: past the limit, or cut
    // off on arrival.
    const bool cut = row.bytes.size() > limit || row.size > row.bytes.size();
    return AnswerParser::printable(row.bytes.left(limit)) + (cut ? QStringLiteral("…") : QString());
}

QString TrafficLog::rowText(int row) const
{
    const Row& r = m_rows.at(row);
    return QStringList { cellText(r, TimeColumn), cellText(r, DirectionColumn),
        cellText(r, RouteColumn), bytesText(r, MAX_BYTES) }
        .join('\t');
}

int TrafficLog::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TrafficLog::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TrafficLog::data(const QModelIndex& index, int role) const
{
    // The tip shows a cell that the column is too narrow for.
    const bool tip = role == Qt::ToolTipRole && index.column() == BytesColumn;
    if ((role != Qt::DisplayRole && !tip) || !index.isValid() || index.row() >= rowCount())
        return QVariant();
    return cellText(m_rows[index.row()], index.column());
}

QVariant TrafficLog::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    const char* const titles[]
        = { QT_TR_NOOP("Time"), QT_TR_NOOP("Direction"), QT_TR_NOOP("Route"), QT_TR_NOOP("Bytes") };
    return section >= 0 && section < ColumnCount ? tr(titles[section]) : QVariant();
}
