#include "kolvexconfigurator.h"
#include "version.h"

KolvexConfigurator::KolvexConfigurator(QWidget* parent, int DeviceChoice)
    : QMainWindow(parent), m_deviceChoice(DeviceChoice)
{
    setWindowTitle(windowTitleText());
    setFixedSize(585, 940);
}

KolvexConfigurator::~KolvexConfigurator() = default;
