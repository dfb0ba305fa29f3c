// Small screens: the window keeps its designed fixed size wherever it fits,
// and on a screen too short for it takes the room there is and scrolls.
#include "kolvexconfigurator.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>

namespace {

// While the window scrolls, the wheel scrolls it: a spin box or list under
// the pointer takes the wheel only when it has the focus, or scrolling
// through the form would change every value the pointer passes over.
class WheelScrollsPage : public QObject
{
public:
    explicit WheelScrollsPage(QScrollArea* area)
        : QObject(area)
        , m_area(area)
    {
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        QScrollBar* bar = m_area->verticalScrollBar();
        if (event->type() != QEvent::Wheel || !bar->isVisible()
            || static_cast<QWidget*>(watched)->hasFocus())
            return false;
        QCoreApplication::sendEvent(bar, event);
        return true;
    }

private:
    QScrollArea* m_area;
};

} // namespace

void KolvexConfigurator::makeContentScrollable()
{
    m_designedSize = minimumSize();
    // At the designed size the scroll area shows no bars. Squeezed below
    // that size the panel's rows would overlap, since the panel claims a
    // smaller minimum than its rows need.
    QWidget* content = takeCentralWidget();
    content->setMinimumSize(m_designedSize
        - QSize(0, menuBar()->sizeHint().height() + statusBar()->sizeHint().height()));
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    setCentralWidget(scroll);

    auto* wheel = new WheelScrollsPage(scroll);
    QList<QWidget*> fields;
    for (QWidget* field : content->findChildren<QAbstractSpinBox*>())
        fields << field;
    for (QWidget* field : content->findChildren<QComboBox*>())
        fields << field;
    for (QWidget* field : fields) {
        field->setFocusPolicy(Qt::StrongFocus); // the wheel alone must not give it the focus
        field->installEventFilter(wheel);
    }
}

QSize KolvexConfigurator::fittedSize(const QSize& designed, const QSize& available, int scrollBar)
{
    const bool tooShort = available.height() < designed.height();
    const bool tooNarrow = available.width() < designed.width();
    const QSize bars(tooShort ? scrollBar : 0, tooNarrow ? scrollBar : 0);
    return (designed + bars).boundedTo(available);
}

void KolvexConfigurator::fitToScreen()
{
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    // Until the window manager has framed the window its frame is unknown;
    // a title bar's height stands in for it, and moveEvent fits again once
    // the frame is there.
    QSize frame = frameGeometry().size() - size();
    if (frame.isEmpty())
        frame = QSize(0, style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this));
    const QSize fitted = fittedSize(m_designedSize, screen->availableGeometry().size() - frame,
        style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
    if (fitted != size())
        setFixedSize(fitted);
}

// Fitted before the platform window exists, so that it is created at the
// size it keeps.
void KolvexConfigurator::setVisible(bool visible)
{
    if (visible)
        fitToScreen();
    QMainWindow::setVisible(visible);
}

void KolvexConfigurator::moveEvent(QMoveEvent* event)
{
    // Also where the window lands on another screen.
    if (isVisible())
        fitToScreen();
    QMainWindow::moveEvent(event);
}
