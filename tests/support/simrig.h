#ifndef SIMRIG_H
#define SIMRIG_H

#include "simprocess.h"
#include "testmain.h"

// The simulator of one modem kind, a main window of that kind, and every
// status text and modal box the window showed, in order.
struct SimRig
{
    SimProcess sim;
    ModalAnswerer boxes { { QMessageBox::Yes } };
    std::unique_ptr<KolvexConfigurator> w;
    QStringList log;

    // The window is of the simulator's kind unless told otherwise.
    bool start(const QString& kind, const QStringList& knobs = {}, QString windowKind = {})
    {
        if (!sim.start(kind, knobs))
            return false;
        CommSettings::setExtraSerialDevice(sim.pty);
        w = std::make_unique<KolvexConfigurator>(nullptr, (windowKind.isEmpty() ? kind : windowKind) == "eth" ? 1 : 2);
        QObject::connect(w->statusBar(), &QStatusBar::messageChanged, [this](const QString& m) {
            if (!m.isEmpty())
                log << m;
        });
        return true;
    }
    ~SimRig() { CommSettings::setExtraSerialDevice(QString()); }

    TransparentConfig* form() const { return w->findChild<TransparentConfig*>(); }
    bool logged(const QString& part) const
    {
        return std::any_of(log.begin(), log.end(), [&](const QString& t) { return t.contains(part); });
    }
    // As the user does: route "Tcp", "Usb" (the simulator's device, listed last), "485" or "232".
    void connectRoute(const QString& route)
    {
        if (route != "Usb")
            return connectTo(*w, route == "Tcp" ? sim.configPort : route == "485" ? sim.port485 : sim.port232, route);
        auto* ports = control<QComboBox>(*w, "comboBox_COMPorts");
        ports->setCurrentIndex(ports->count() - 1);
        control<QPushButton>(*w, "pushButton_UsbConnect")->click();
    }
};

#endif // SIMRIG_H
