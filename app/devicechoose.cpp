#include "devicechoose.h"
#include "kolvexconfigurator.h"
#include "logging.h"
#include "ui_devicechoose.h"
#include "version.h"

#include <QApplication>
#include <QKeyEvent>
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
    // As in a dialog, Enter on a focused button presses that button; the
    // window takes Enter anywhere else (keyPressEvent).
    ui->pushButton_Login->setAutoDefault(true);
    ui->pushButton_Cancel->setAutoDefault(true);
}

DeviceChoose::~DeviceChoose()
{
    delete ui;
}

// Enter continues once a kind is chosen; before that it does nothing.
void DeviceChoose::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && ui->pushButton_Login->isEnabled())
        ui->pushButton_Login->click();
    else
        QMainWindow::keyPressEvent(event);
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
