#include "trafficwindow.h"
#include "trafficlog.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

TrafficWindow::TrafficWindow(TrafficLog& log, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_log(log)
    , m_view(new QTableView)
    , m_count(new QLabel)
{
    setWindowTitle(tr("Traffic"));
    m_view->setObjectName("tableView_Traffic");
    resize(980, 420);

    m_view->setModel(&m_log);
    m_view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setWordWrap(false);
    // Fixed row heights and column widths: measuring thousands of rows to
    // fit them would cost more than the rows themselves.
    const QFontMetrics metrics(m_view->font());
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(metrics.height() + 4);
    const QString widest[] = { QStringLiteral("00:00:00.000"), tr("Received"), tr("RS485 tunnel") };
    for (int column = TrafficLog::TimeColumn; column < TrafficLog::BytesColumn; ++column)
        m_view->setColumnWidth(column, metrics.horizontalAdvance(widest[column]) + 16);
    m_view->horizontalHeader()->setStretchLastSection(true);

    auto* copy = new QPushButton(tr("Copy"));
    auto* saveButton = new QPushButton(tr("Save…"));
    auto* clear = new QPushButton(tr("Clear"));
    copy->setObjectName("pushButton_Copy");
    saveButton->setObjectName("pushButton_Save");
    clear->setObjectName("pushButton_Clear");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_count, 1);
    buttons->addWidget(copy);
    buttons->addWidget(saveButton);
    buttons->addWidget(clear);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addLayout(buttons);

    // The view's own Ctrl+C would copy one cell.
    m_view->installEventFilter(this);
    connect(copy, &QPushButton::clicked, this, &TrafficWindow::copySelection);
    connect(saveButton, &QPushButton::clicked, this, &TrafficWindow::save);
    connect(clear, &QPushButton::clicked, &m_log, &TrafficLog::clear);

    // The newest row stays in view unless the user has scrolled away from it.
    connect(&m_log, &TrafficLog::rowsAboutToBeInserted, this, [this] {
        const QScrollBar* bar = m_view->verticalScrollBar();
        m_following = bar->value() == bar->maximum();
    });
    connect(&m_log, &TrafficLog::rowsInserted, this, [this] {
        if (m_following)
            m_view->scrollToBottom();
        showCount();
    });
    connect(&m_log, &TrafficLog::rowsRemoved, this, &TrafficWindow::showCount);
    connect(&m_log, &TrafficLog::modelReset, this, &TrafficWindow::showCount);
    showCount();
}

bool TrafficWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        copySelection();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TrafficWindow::showCount()
{
    m_count->setText(tr("%1 rows, %2 bytes").arg(m_log.rowCount()).arg(m_log.byteCount()));
}

QString TrafficWindow::selectedText() const
{
    QModelIndexList rows = m_view->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end());
    QString text;
    for (const QModelIndex& row : rows)
        text += m_log.rowText(row.row()) + '\n';
    return text;
}

void TrafficWindow::copySelection()
{
    QApplication::clipboard()->setText(selectedText());
}

void TrafficWindow::save()
{
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Save Traffic As"), QString(), tr("Text files (*.txt)"));
    if (!path.isEmpty())
        saveTo(path);
}

bool TrafficWindow::saveTo(const QString& path)
{
    m_log.flush();
    QString text;
    for (int row = 0; row < m_log.rowCount(); ++row)
        text += m_log.rowText(row) + '\n';
    const QByteArray bytes = text.toUtf8();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        QMessageBox::warning(this, tr("Save Traffic As"),
            tr("%1: not saved: %2").arg(QFileInfo(path).fileName(), file.errorString()));
        return false;
    }
    return true;
}
