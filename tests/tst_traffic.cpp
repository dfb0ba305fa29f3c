// The traffic log: its limits, how it writes bytes down, and what the main
// window records in it and shows.
#include "scriptedpeer.h"
#include "testmain.h"
#include "trafficlog.h"
#include "trafficwindow.h"

constexpr int Rows = TrafficLog::MAX_ROWS, Bytes = TrafficLog::MAX_BYTES;

class TestTraffic : public QObject
{
    Q_OBJECT

private slots:
    // arrivals: "count x size", in order; flushEvery: how many arrivals the
    // model takes at a time (0: all at the end, as from a burst); kept: the
    // rows and bytes left and the arrival that is now the oldest row.
    void limits_data()
    {
        columns<QStringList, int, int, int, int>({ "arrivals", "flushEvery", "rows", "bytes", "oldest" });
        QTest::newRow("within both") << QStringList { "3x5" } << 1 << 3 << 15 << 0;
        QTest::newRow("rows, in one burst") << QStringList { "2001x6" } << 0 << Rows << 6 * Rows << 1;
        QTest::newRow("rows, flushed as they come") << QStringList { "2005x6" } << 1 << Rows << 6 * Rows << 5;
        QTest::newRow("bytes, in one burst") << QStringList { "3x400000" } << 0 << 2 << 800000 << 1;
        QTest::newRow("bytes, flushed in halves") << QStringList { "1x10", "4x300000" } << 2 << 3 << 900000 << 2;
        QTest::newRow("one arrival over the cap") << QStringList { "2x10", "1x1100000" } << 1 << 1 << Bytes << 2;
    }

    void limits()
    {
        const auto [arrivals, flushEvery, rows, bytes, oldest]
            = fetch<QStringList, int, int, int, int>("arrivals", "flushEvery", "rows", "bytes", "oldest");
        TrafficLog log;
        int n = 0;
        for (const QString& a : arrivals)
            for (int i = 0; i < a.section('x', 0, 0).toInt(); ++i, ++n) {
                // Each arrival starts with its number, so the oldest one kept shows.
                QByteArray bytes = QByteArray::number(n) + ':';
                log.record(TrafficLog::Received, TrafficLog::Tcp, bytes.leftJustified(a.section('x', 1).toInt(), '.', true));
                if (flushEvery && (n + 1) % flushEvery == 0)
                    log.flush();
            }
        log.flush();
        QCOMPARE(log.rowCount(), rows);
        QCOMPARE(log.byteCount(), qint64(bytes));
        QCOMPARE(log.rowText(0).section('\t', 3).section(':', 0, 0), QString::number(oldest));
        QCOMPARE(log.rowText(0).endsWith("…"), bytes == Bytes);
        log.clear();
        QCOMPARE(log.rowCount() + log.byteCount(), 0);
    }

    // As a cell shows them, and as copied: a cell stops at SHOWN_BYTES.
    void escaping_data()
    {
        columns<QByteArray, QString>({ "bytes", "shown" });
        QTest::newRow("CR LF") << QByteArray("AT+PING\r\n") << "AT+PING\\r\\n";
        QTest::newRow("printable as it is") << QByteArray(" +=,~;\"") << " +=,~;\"";
        QTest::newRow("backslash") << QByteArray("a\\rb") << "a\\\\rb";
        QTest::newRow("others in hex") << QByteArray("\0\t\x1b\x7f\x80\xff", 6) << "\\x00\\x09\\x1B\\x7F\\x80\\xFF";
        QTest::newRow("UTF-8 bytes") << QByteArray("ş") << "\\xC5\\x9F";
        QTest::newRow("long") << QByteArray(TrafficLog::SHOWN_BYTES, '\n') + 'x' << QString("\\n").repeated(TrafficLog::SHOWN_BYTES) + "…";
    }

    void escaping()
    {
        const auto [bytes, shown] = fetch<QByteArray, QString>("bytes", "shown");
        TrafficLog log;
        log.record(TrafficLog::Sent, TrafficLog::Tunnel485, bytes);
        log.flush();
        QCOMPARE(log.data(log.index(0, TrafficLog::BytesColumn)).toString(), shown);
        QCOMPARE(log.rowText(0).section('\t', 1), "Sent\tRS485 tunnel\t" + QString(shown).remove("…") + (shown.endsWith("…") ? "x" : ""));
    }

    // Every write and every arrival of a route, recorded while no window
    // shows them; the window copies the selection, saves all and clears.
    void window()
    {
        ScriptedPeer peer;
        peer.reply = [](const QByteArray& r) { return r == "AT+READALL\r\n" ? QByteArray("+PING\r\n") : QByteArray("+ERR=BUSY\r\n"); };
        KolvexConfigurator w(nullptr, 1);
        connectTo(w, peer.port(), "Tcp");
        QTRY_COMPARE_WITH_TIMEOUT(w.connectionStatus(), CommSettings::TCP, 5000);
        w.Ping_Triggered();
        QTRY_COMPARE_WITH_TIMEOUT(w.traffic().rowCount(), 4, 5000);
        control<QAction>(w, "actionTraffic")->trigger();
        auto* window = w.findChild<TrafficWindow*>();
        QVERIFY(window && window->isVisible());
        auto* view = control<QTableView>(*window, "tableView_Traffic");
        view->selectRow(3);
        view->selectionModel()->select(view->model()->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        const QRegularExpression time("\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d\t");
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text().remove(time), "Sent\tTCP\tAT+READALL\\r\\n\nReceived\tTCP\t+ERR=BUSY\\r\\n\n");
        QTemporaryDir dir;
        QVERIFY(window->saveTo(dir.filePath("traffic.txt")));
        QFile saved(dir.filePath("traffic.txt"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(QString(saved.readAll()).remove(time), "Sent\tTCP\tAT+READALL\\r\\n\nReceived\tTCP\t+PING\\r\\n\n"
                                                        "Sent\tTCP\tAT+PING\\r\\n\nReceived\tTCP\t+ERR=BUSY\\r\\n\n");
        control<QPushButton>(*window, "pushButton_Clear")->click();
        QCOMPARE(view->model()->rowCount(), 0);
    }
};

QUORVANE_TEST_MAIN(TestTraffic)
#include "tst_traffic.moc"
