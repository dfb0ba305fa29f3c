#ifndef UITEST_H
#define UITEST_H

#include <QMainWindow>
#include <QStatusBar>
#include <QWidget>

// A named control of a window; a missing one is a broken test, not a failure.
template <typename T = QWidget> T* control(QWidget& w, const char* name)
{
    T* found = w.findChild<T*>(name);
    if (!found)
        qFatal("no control %s", name);
    return found;
}

inline QString status(QMainWindow& w)
{
    return w.statusBar()->currentMessage();
}

#endif // UITEST_H
