#ifndef STATICIPCONFIG_H
#define STATICIPCONFIG_H

#include "commsettings.h"

#include <QByteArray>
#include <QList>
#include <QWidget>

namespace Ui {
class StaticIpConfig;
}
class QCloseEvent;
class QLabel;
class QLineEdit;

// The modem's network settings: read over any route, written only where the
// route does not run over the modem's own network address.
class StaticIpConfig : public QWidget
{
    Q_OBJECT

public:
    StaticIpConfig(CommSettings::eRoute_t const& rRoute, QWidget* parent = nullptr);
    virtual ~StaticIpConfig();

    // Fills the window from the values of a READ_NETWORKCFG answer. A block
    // without exactly the 22 values leaves the window untouched: false.
    bool ReadNetworkCfg(QByteArray const& qba);

signals:
    void WriteData(QByteArray const& qba);
    void Close_StaticIpConfigWindow();

protected:
    void closeEvent(QCloseEvent* e) override;

private slots:
    void on_pushButton_Apply_clicked();
    void on_pushButton_Read_clicked();
    void on_checkBox_Dhcp_stateChanged(int arg1);

private:
    struct AddressRow
    {
        QLabel* label;
        QLineEdit* field;
    };
    // The five address rows in the order of the network block and the write
    // frame (IP, mask, gateway, DNS 1, DNS 2), which is not the order of the
    // rows on screen.
    QList<AddressRow> addressRows() const;
    bool checkAddresses();

    Ui::StaticIpConfig* ui;
};

#endif // STATICIPCONFIG_H
