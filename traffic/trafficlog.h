#ifndef TRAFFICLOG_H
#define TRAFFICLOG_H

#include <QAbstractTableModel>
#include <QTimer>

#include <deque>

// What went over the wire: one row per write and per raw arrival, before
// the pending buffer joins anything, newest last. It records whether or not
// a window shows it, so recording must stay cheap under a flooding modem:
// a row is queued, and the queue reaches the model (and any view of it) in
// one batch per FLUSH_MS.
class TrafficLog : public QAbstractTableModel
{
    Q_OBJECT

public:
    // Past either limit the oldest rows go first; a single arrival longer
    // than MAX_BYTES keeps its first MAX_BYTES.
    static constexpr int MAX_ROWS = 2000;
    static constexpr int MAX_BYTES = 1 << 20;
    static constexpr int FLUSH_MS = 100;
    // A cell shows this many bytes of its row; copying and saving show all.
    static constexpr int SHOWN_BYTES = 512;

    enum Direction { Sent, Received };
    enum Route { Usb, Tcp, Tunnel485, Tunnel232 };
    enum Column { TimeColumn, DirectionColumn, RouteColumn, BytesColumn, ColumnCount };

    explicit TrafficLog(QObject* parent = nullptr);

    void record(Direction direction, Route route, const QByteArray& bytes);
    // Hands the queued rows to the model now instead of at the next tick.
    void flush();
    void clear();
    // The bytes of the rows in the model.
    qint64 byteCount() const { return m_bytes; }
    // A row as one line of text, tab-separated, with every byte it holds.
    QString rowText(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Row
    {
        qint64 msecs;
        Direction direction;
        Route route;
        QByteArray bytes;
        int size; // as it arrived, before a cut to MAX_BYTES
    };
    using Rows = std::deque<Row>;

    // How many of the oldest rows must go for `adding` more rows holding
    // `addingBytes` to fit beside them.
    static int excess(const Rows& rows, qint64 bytes, int adding, qint64 addingBytes);
    QString cellText(const Row& row, int column) const;
    static QString bytesText(const Row& row, int limit);

    Rows m_rows;
    qint64 m_bytes = 0;
    Rows m_queued;
    qint64 m_queuedBytes = 0;
    QTimer m_flush;
};

#endif // TRAFFICLOG_H
