#include "qmain.h"
#include "commsettings.h"
#include "devicechoose.h"
#include "language.h"
#include "version.h"

#include <QApplication>
#include <QCommandLineParser>

int qMain(int argc, char** argv)
{
    QApplication a(argc, argv);
    installLanguage();

    // The one option: a serial device that the system does not list, such
    // as the pseudo-terminal of the modem simulator.
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption serialDevice("serial-device",
        QCoreApplication::translate(
            "main", "List the serial device at <path> among the COM ports."),
        "path");
    parser.addOption(serialDevice);
    parser.process(a);
    CommSettings::setExtraSerialDevice(parser.value(serialDevice));

    DeviceChoose w;
    w.setWindowTitle(windowTitleText());
    w.show();
    return a.exec();
}
