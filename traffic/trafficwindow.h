#ifndef TRAFFICWINDOW_H
#define TRAFFICWINDOW_H

#include <QWidget>

class QLabel;
class QTableView;
class TrafficLog;

// Shows the main window's traffic log; closing it only hides it, the log
// goes on recording.
class TrafficWindow : public QWidget
{
    Q_OBJECT

public:
    TrafficWindow(TrafficLog& log, QWidget* parent = nullptr);

    // Every row, to a text file; says what went wrong in a box.
    bool saveTo(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The selected rows as lines of text, oldest first.
    QString selectedText() const;
    void copySelection();
    void save();
    void showCount();

    TrafficLog& m_log;
    QTableView* m_view;
    QLabel* m_count;
    bool m_following = true;
};

#endif // TRAFFICWINDOW_H
