#include "devicechoose.h"
#include "kolvexconfigurator.h"
#include "logging.h"
#include "ui_devicechoose.h"
#include "version.h"

#include <QApplication>
#include <QPixmap>

DeviceChoose::DeviceChoose(QWidget* parent) : QMainWindow(parent), ui(new Ui::DeviceChoose)
{
    ui->setupUi(this);

    const QPixmap pic(":/Button/Icons/kolvexloging-.png");
    ui->label_LoginPic->setPixmap(pic.scaled(ui->label_LoginPic->width(),
                                             ui->label_LoginPic->height(),
                                             Qt::KeepAspectRatio, Qt::FastTransformation));

    if (ui->comboBox_ChooseDevice->currentIndex() == 0)
        ui->pushButton_Login->setEnabled(false);
}

DeviceChoose::~DeviceChoose()
{
    delete ui;
}

void DeviceChoose::on_pushButton_Login_clicked()
{
    close();
    qCDebug(lcApp) << " Device Timer ";
    const int deviceChoice = ui->comboBox_ChooseDevice->currentIndex();
    kolvexconfigurator = new KolvexConfigurator(nullptr, deviceChoice);
    kolvexconfigurator->setWindowTitle(windowTitleText());
    kolvexconfigurator->show();
}

void DeviceChoose::on_comboBox_ChooseDevice_currentIndexChanged(int index)
{
    ui->pushButton_Login->setEnabled(index >= 1);
}

void DeviceChoose::on_pushButton_Cancel_clicked()
{
    QApplication::quit();
}
