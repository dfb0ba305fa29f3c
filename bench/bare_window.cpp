// The floor that Qt Widgets sets: one empty main window, nothing else. It
// reports like the configurator's harness so the two can be compared.
//   bare_window [label] [memory]
// prints "shown" once the window is on screen and quits; with "memory" it
// prints its memory (see memoryReport) a moment later instead. "label" puts
// one line of text in the window: the same floor plus the first text drawn
// (font files, shaping, glyph cache), which the empty window never pays.
#include "firstpaint.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char** argv)
{
    bool memory = false;
    bool label = false;
    for (int i = 1; i < argc; ++i) {
        memory = memory || qstrcmp(argv[i], "memory") == 0;
        label = label || qstrcmp(argv[i], "label") == 0;
    }
    int qtArgc = 1;
    QApplication a(qtArgc, argv);
    FirstPaintWatcher watcher;
    a.installEventFilter(&watcher);
    watcher.watch("QMainWindow", [memory](QWidget*) {
        if (!memory) {
            reportShown();
            QCoreApplication::exit(0);
            return;
        }
        // Same settling time as the configurator gets after its read.
        QTimer::singleShot(100, [] {
            reportLine(memoryReport());
            QCoreApplication::exit(0);
        });
    });
    QMainWindow w;
    if (label)
        w.setCentralWidget(new QLabel(QStringLiteral("Kullanmak istediğiniz cihazı seçiniz.")));
    w.show();
    return a.exec();
}
