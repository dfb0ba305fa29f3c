#include "devinfo.h"
#include "ui_devinfo.h"

#include <QCloseEvent>

DevInfo::DevInfo(QList<QByteArray> const& values, QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::DevInfo)
{
    ui->setupUi(this);

    QLineEdit* const fields[FieldCount] = {
        ui->lineEdit_SerialNum,
        ui->lineEdit_MacAddr,
        ui->lineEdit_ProductType,
        ui->lineEdit_ProductSubType,
        ui->lineEdit_VersionMajorApp,
        ui->lineEdit_VersionMinorApp,
        ui->lineEdit_BoardType,
        ui->lineEdit_VersionMajorBoard,
        ui->lineEdit_VersionMinorBoard,
        ui->lineEdit_VersionParameter,
    };
    // value() keeps a short list from reading past its end: missing fields stay empty.
    for (int i = 0; i < FieldCount; ++i)
        fields[i]->setText(QString::fromUtf8(values.value(i)));
}

DevInfo::~DevInfo()
{
    delete ui;
}

void DevInfo::closeEvent(QCloseEvent* e)
{
    QDialog::closeEvent(e);
    if (e->isAccepted())
        reportClosed();
}

void DevInfo::done(int r)
{
    QDialog::done(r);
    reportClosed();
}

// Closing runs through done() as well; the owner must hear of it once.
void DevInfo::reportClosed()
{
    if (bClosedReported)
        return;
    bClosedReported = true;
    emit Delete_DevInfo_Window();
}
