#ifndef ANSWERWINDOWS_H
#define ANSWERWINDOWS_H

#include <QList>
#include <QPointer>

class DevInfo;
class QObject;

// The device information dialogs opened by answers. They are top-level
// windows without parent, so the form keeps track of them: a modem that
// answers DEVINFO in a loop must not bury the screen under dialogs.
class DevInfoWindows
{
public:
    static constexpr int MaxOpen = 10;

    DevInfoWindows() = default;
    DevInfoWindows(const DevInfoWindows&) = delete;
    DevInfoWindows& operator=(const DevInfoWindows&) = delete;
    // Dialogs still open when the form goes are closed with it.
    ~DevInfoWindows();

    int count() const;
    bool full() const { return count() >= MaxOpen; }
    void add(DevInfo* dialog);
    // Forgets a dialog that reported its closing; false if it is not one of ours.
    bool remove(QObject* dialog);

private:
    QList<QPointer<DevInfo>> m_open;
};

#endif // ANSWERWINDOWS_H
