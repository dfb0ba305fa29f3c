#ifndef KOLVEXCONFIGURATOR_H
#define KOLVEXCONFIGURATOR_H

#include <QMainWindow>

// The working window. For now it only carries the modem kind chosen at
// start-up; the panel, the form and the link layer move in next.
class KolvexConfigurator : public QMainWindow
{
    Q_OBJECT

public:
    enum DeviceType { eETHModem = 1, eGSMModem = 2, eMax = 3 };

    KolvexConfigurator(QWidget* parent, int DeviceChoice);
    virtual ~KolvexConfigurator();

    int deviceChoice() const { return m_deviceChoice; }

private:
    int m_deviceChoice;
};

#endif // KOLVEXCONFIGURATOR_H
