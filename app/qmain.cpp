#include "qmain.h"
#include "devicechoose.h"
#include "version.h"

#include <QApplication>

int qMain(int argc, char** argv)
{
    QApplication a(argc, argv);
    DeviceChoose w;
    w.setWindowTitle(windowTitleText());
    w.show();
    return a.exec();
}
