#include "staticipconfig.h"
#include "atprotocol.h"
#include "logging.h"
#include "networkcfg.h"
#include "ui_staticipconfig.h"

#include <QCloseEvent>
#include <QMessageBox>

namespace {
const QString InvalidFieldStyle = QStringLiteral("border: 1px solid red;");
}

StaticIpConfig::StaticIpConfig(CommSettings::eRoute_t const& rRoute, QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::StaticIpConfig)
{
    ui->setupUi(this);

    Q_ASSERT_X(rRoute < CommSettings::eRoute_t::Max, "StaticIpConfig",
        "rRoute < CommSettings::eRoute_t::Max");
    // Over TCP the modem is reached through the very address these settings
    // change, so the window only shows them there.
    const bool bWritable = rRoute != CommSettings::eRoute_t::TCP;
    for (const AddressRow& row : addressRows())
        row.field->setReadOnly(!bWritable);
    ui->checkBox_Dhcp->setEnabled(bWritable);
    ui->pushButton_Apply->setEnabled(bWritable);
}

StaticIpConfig::~StaticIpConfig()
{
    delete ui;
}

QList<StaticIpConfig::AddressRow> StaticIpConfig::addressRows() const
{
    return { { ui->label_IpAddr, ui->lineEdit_IpAddr },
        { ui->label_SubnetMask, ui->lineEdit_SubnetMask },
        { ui->label_DefaultGateway, ui->lineEdit_DefaultGateway },
        { ui->label_DNS1_Addr, ui->lineEdit_DNS1_Addr },
        { ui->label_DNS2_Addr, ui->lineEdit_DNS2_Addr } };
}

bool StaticIpConfig::ReadNetworkCfg(QByteArray const& qba)
{
    NetworkCfg::Settings settings;
    if (!NetworkCfg::fromValues(qba.split(','), &settings)) {
        qCDebug(lcProto) << "network settings dropped, values:" << qba.split(',').size();
        return false;
    }

    ui->lineEdit_MacAddr->setText(settings.mac);
    // The modem reports "static IP enabled"; the box shows the opposite, DHCP.
    ui->checkBox_Dhcp->setCheckState(settings.staticIp ? Qt::Unchecked : Qt::Checked);

    const QList<AddressRow> rows = addressRows();
    for (int i = 0; i < rows.size(); ++i) {
        qCDebug(lcProto) << settings.addresses.at(i);
        rows.at(i).field->setText(settings.addresses.at(i));
        rows.at(i).field->setStyleSheet(QString());
    }
    return true;
}

void StaticIpConfig::on_checkBox_Dhcp_stateChanged(int arg1)
{
    for (const AddressRow& row : addressRows())
        row.field->setEnabled(arg1 == 0);
}

void StaticIpConfig::on_pushButton_Read_clicked()
{
    emit WriteData(AtProtocol::AT_Command_Formatter(TrpCfgCmdTexts[eIdReadNetworkCfg]));
}

bool StaticIpConfig::checkAddresses()
{
    QStringList badNames;
    QLineEdit* firstBad = nullptr;
    for (const AddressRow& row : addressRows()) {
        const bool bValid = NetworkCfg::isDottedIpv4(row.field->text());
        row.field->setStyleSheet(bValid ? QString() : InvalidFieldStyle);
        if (bValid)
            continue;
        badNames << row.label->text();
        if (!firstBad)
            firstBad = row.field;
    }
    if (!firstBad)
        return true;

    // With DHCP checked the fields are greyed out, yet the frame carries them:
    // the user has to be told where the way to correct them is.
    const bool locked = !firstBad->isEnabled();
    locked ? ui->checkBox_Dhcp->setFocus() : firstBad->setFocus();
    QMessageBox::warning(this, tr("Uyarı !"),
        tr("Geçersiz adres: %1.\nHer adres, noktalarla ayrılmış ve her biri 0 ile "
           "255 arasında olan dört sayıdan oluşmalı (örnek: 192.168.1.50). "
           "Ayarlar modeme gönderilmedi.")
                .arg(badNames.join(QStringLiteral(", ")))
            + (locked ? tr("\nDHCP işaretliyken bu alanlar düzenlenemez: düzeltmek için önce "
                           "DHCP işaretini kaldırın.")
                      : QString()));
    return false;
}

void StaticIpConfig::on_pushButton_Apply_clicked()
{
    // A field that is not an address would shift every value after it in the
    // modem's list, so nothing goes out until all five are addresses.
    if (!checkAddresses())
        return;

    QStringList addresses;
    for (const AddressRow& row : addressRows())
        addresses << row.field->text();
    const QString frame
        = NetworkCfg::writeFrame(ui->checkBox_Dhcp->checkState() == Qt::Unchecked, addresses);

    qCDebug(lcProto) << "Static ip request : " << frame;
    emit WriteData(frame.toUtf8());
    close();
}

void StaticIpConfig::closeEvent(QCloseEvent* e)
{
    QWidget::closeEvent(e);
    emit Close_StaticIpConfigWindow();
}
