// Runs the configurator's own entry point, qMain, unchanged, and reports on
// stdout when a window of it is on screen. The spawner times from process
// start to that line; the harness adds nothing to the program but a watcher
// of paint events installed when the application object is created.
//   startup_harness selection     "shown" once the selection window is painted
//   startup_harness eth|gsm       chooses the kind at once ("Devam Et"), then
//                                 "shown" once the main window is painted
//   startup_harness memory PORT   Ethernet main window, connects over TCP to
//                                 127.0.0.1:PORT, waits for the read-all answer
//                                 to fill the form, then prints its memory
#include "firstpaint.h"
#include "qmain.h"
#include "transparentconfig.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

enum class Goal { Selection, Ethernet, Gsm, Memory };

Goal goal = Goal::Selection;
QByteArray simPort;

template <typename T> T* control(QWidget* window, const char* name)
{
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

void finish(const QByteArray& line)
{
    reportLine(line);
    QCoreApplication::exit(0);
}

void finishShown()
{
    reportShown();
    QCoreApplication::exit(0);
}

void waitForRead(QWidget* mainWindow)
{
    auto* form = mainWindow->findChild<TransparentConfig*>();
    auto* poll = new QTimer(mainWindow);
    QObject::connect(poll, &QTimer::timeout, poll, [form, poll] {
        if (form->paramsAll().size()
            != TransparentConfig::AT_CMD_LAST_ID - TransparentConfig::AT_CMD_FIRST_ID + 1)
            return;
        poll->stop();
        // Let the filled form repaint before the peak is taken.
        QTimer::singleShot(100, [] { finish(memoryReport()); });
    });
    poll->start(2);
}

void onSelectionShown(QWidget* selection)
{
    if (goal == Goal::Selection)
        return finishShown();
    // What the user does, without the user's pause.
    control<QComboBox>(selection, "comboBox_ChooseDevice")
        ->setCurrentIndex(goal == Goal::Gsm ? 2 : 1);
    control<QPushButton>(selection, "pushButton_Login")->click();
}

void onMainWindowShown(QWidget* mainWindow)
{
    if (goal != Goal::Memory)
        return finishShown();
    control<QLineEdit>(mainWindow, "lineEdit_ServerIp")->setText(QStringLiteral("127.0.0.1"));
    control<QLineEdit>(mainWindow, "lineEdit_ServerPort")->setText(QString::fromLatin1(simPort));
    control<QPushButton>(mainWindow, "pushButton_TcpConnect")->click();
    waitForRead(mainWindow);
}

void installWatcher()
{
    auto* watcher = new FirstPaintWatcher(qApp);
    qApp->installEventFilter(watcher);
    watcher->watch("DeviceChoose", onSelectionShown);
    watcher->watch("KolvexConfigurator", onMainWindowShown);
    // A harness that hangs would stall the whole run.
    QTimer::singleShot(20000, [] {
        std::fprintf(stderr, "startup_harness: goal not reached in 20 s\n");
        QCoreApplication::exit(3);
    });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installWatcher)

int main(int argc, char** argv)
{
    const QByteArray mode = argc > 1 ? argv[1] : "selection";
    if (mode == "selection")
        goal = Goal::Selection;
    else if (mode == "eth")
        goal = Goal::Ethernet;
    else if (mode == "gsm")
        goal = Goal::Gsm;
    else if (mode == "memory" && argc > 2)
        goal = Goal::Memory, simPort = argv[2];
    else {
        std::fprintf(stderr, "usage: startup_harness selection|eth|gsm|memory PORT\n");
        return 2;
    }
    // qMain reads its own command line; it gets the program name alone.
    char* programOnly[] = { argv[0], nullptr };
    int programArgc = 1;
    return qMain(programArgc, programOnly);
}
