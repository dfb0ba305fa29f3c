#ifndef DEVICECHOOSE_H
#define DEVICECHOOSE_H

#include <QMainWindow>

namespace Ui {
class DeviceChoose;
}
class KolvexConfigurator;

class DeviceChoose : public QMainWindow
{
    Q_OBJECT

public:
    explicit DeviceChoose(QWidget* parent = nullptr);
    virtual ~DeviceChoose();

    // The main window opened by "Devam Et"; it has no parent and outlives
    // this window, which never deletes it.
    KolvexConfigurator* kolvexconfigurator = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void on_pushButton_Login_clicked();
    void on_comboBox_ChooseDevice_currentIndexChanged(int index);
    void on_pushButton_Cancel_clicked();

private:
    Ui::DeviceChoose* ui;
};

#endif // DEVICECHOOSE_H
