#include "transparentconfig.h"
#include "logging.h"
#include "ui_transparentconfig.h"

// The invariants read as their own condition, so a failure names itself.
#define FORM_INVARIANT(cond) Q_ASSERT_X(cond, "TransparentConfig", #cond)

TransparentConfig::TransparentConfig(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::TransparentConfig)
{
    ui->setupUi(this);

    m_lines[int(eRoute_Serial_t::e485)] = {
        eRoute_Serial_t::e485,
        eTCP485,
        ui->comboBox_Enable_485,
        ui->spinBox_Port_485,
        ui->spinBox_EthTimeout_485,
        ui->spinBox_ModbusTimeout_485,
        ui->spinBox_SilentInterval_485,
        ui->comboBox_Mod_485,
        ui->comboBox_Datab_485,
        ui->comboBox_Parityb_485,
        ui->comboBox_Stopb_485,
        ui->comboBox_Baud_485,
        ui->spinBox_RetryCount_485,
        ui->spinBox_IntervalTime_485,
        ui->spinBox_485_Ping_Interval,
        &PortCheck485,
        &TcpPort_485,
        &TrpMod_485,
        &WaitingChr_485,
        &WaitingMs_485,
        "TcpPort_485:",
        "Ping İnt ValOfList:",
    };
    m_lines[int(eRoute_Serial_t::e232)] = {
        eRoute_Serial_t::e232,
        eTCP232,
        ui->comboBox_Enable_232,
        ui->spinBox_Port_232,
        ui->spinBox_EthTimeout_232,
        ui->spinBox_ModbusTimeout_232,
        ui->spinBox_SilentInterval_232,
        ui->comboBox_Mod_232,
        ui->comboBox_Datab_232,
        ui->comboBox_Parityb_232,
        ui->comboBox_Stopb_232,
        ui->comboBox_Baud_232,
        ui->spinBox_RetryCount_232,
        ui->spinBox_IntervalTime_232,
        ui->spinBox_232_Ping_Interval,
        &PortCheck232,
        &TcpPort_232,
        &TrpMod_232,
        &WaitingChr_232,
        &WaitingMs_232,
        "TcpPort_232:",
        "Ping İnt232 ValOfList:",
    };

    // clang-format off
    FORM_INVARIANT( ui->comboBox_Enable_485->currentIndex() <= 1 );
    FORM_INVARIANT( ui->comboBox_Enable_232->currentIndex() <= 1 );
    FORM_INVARIANT( ui->comboBox_Baud_232->currentIndex() <= BaudIndexMax );
    FORM_INVARIANT( ui->comboBox_Baud_485->currentIndex() <= BaudIndexMax );
    FORM_INVARIANT( ui->comboBox_Datab_485->currentIndex() <= ( DatabitMax - 7 ) );
    FORM_INVARIANT( ui->comboBox_Datab_232->currentIndex() <= ( DatabitMax - 7 ) );
    FORM_INVARIANT( ui->comboBox_Stopb_485->currentIndex() <= ( StopbitMax - 1 ) );
    FORM_INVARIANT( ui->comboBox_Stopb_232->currentIndex() <= ( StopbitMax - 1 ) );
    FORM_INVARIANT( ui->comboBox_Parityb_485->currentIndex() <= ParitybitMax );
    FORM_INVARIANT( ui->comboBox_Parityb_232->currentIndex() <= ParitybitMax );
    // clang-format on

    CheckUI_Enabled(ui->comboBox_Enable_485->currentIndex() != 0, eRoute_Serial_t::e485);
    CheckUI_Enabled(ui->comboBox_Enable_232->currentIndex() != 0, eRoute_Serial_t::e232);
}

TransparentConfig::~TransparentConfig()
{
    delete ui;
}

const TransparentConfig::LineControls& TransparentConfig::otherLine(const LineControls& l) const
{
    return line(l.route == eRoute_Serial_t::e485 ? eRoute_Serial_t::e232 : eRoute_Serial_t::e485);
}

void TransparentConfig::on_pushButton_StaticIPConfig_clicked()
{
    emit OpenStaticIpWindow();
}

void TransparentConfig::on_pushButton_ReadConfiguration_clicked()
{
    sendReadAll();
}

void TransparentConfig::sendReadAll()
{
    const QString* keywords = keywordTable(CheckConnectionType);
    if (!keywords)
        return;
    const int id = isGsmRoute(CheckConnectionType) ? int(eIdGSMReadAll) : int(eIdReadAll);
    emit WriteData(AT_Command_Formatter(keywords[id]));
}
