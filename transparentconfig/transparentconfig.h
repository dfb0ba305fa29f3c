#ifndef TRANSPARENTCONFIG_H
#define TRANSPARENTCONFIG_H

#include "answerwindows.h"
#include "atprotocol.h"
#include "configmodel.h"
#include "parametertable.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

#include <array>

namespace Ui {
class TransparentConfig;
}
class QComboBox;
class QSpinBox;
class StaticIpConfig;

// The configuration form. It carries the AT vocabulary as its own static
// members (inherited from AtProtocol) so that callers spell them through it.
class TransparentConfig : public QWidget, public AtProtocol
{
    Q_OBJECT

public:
    explicit TransparentConfig(QWidget* parent = nullptr);
    virtual ~TransparentConfig();

    void SetETHSettings(bool const& bState);
    void SetUSBSettings(bool const& bState);
    void Set485Settings(bool const& bState);
    void Set232Settings(bool const& bState);
    void DataReadSettings(bool const& bState);

    eConnection_State_t connectionType() const { return CheckConnectionType; }

    // valuePart: what follows the first "=" of a read-all answer, without
    // CR LF. The answer is judged as a whole first; a short answer or one
    // value out of its limit leaves the form and ParamsAll as they were,
    // reports why on the status bar and returns false.
    bool applyReadAll(const QByteArray& valuePart);
    // The values of the write-all frame of the table in force, in wire order.
    QStringList writeAllValues() const;
    const QStringList& paramsAll() const { return ParamsAll; }
    // A route has come up: until a read-all answer from this modem is
    // accepted, Apply writes nothing.
    void forgetReadConfiguration() { m_configurationRead = false; }
    // False, and says so on the status bar, until a configuration has been
    // read from this modem: nothing else may be written to it or saved.
    bool readFirst();
    // What Apply would send, by name; and a configuration shown as a read
    // shows one, without taking it for the modem's (returns how many values
    // now differ from the modem's last answer).
    ModemConfig configuration() const;
    int showConfiguration(const ModemConfig& config);

    // Checks and carries out one block as it was read from the route. The
    // static IP window may be absent (none open), hence a pointer.
    TrpErr_t Receive_Callback(QByteArray& qba, StaticIpConfig* stStaticIpConfig);

signals:
    void OpenStaticIpWindow();
    void WriteData(const QByteArray& qba);
    void WriteStatusBar(const QString& tstErrMsg, int timeout = 0);
    void SetCurrentIpAddr(const QByteArray& tstIpaddr);
    void DisconnectTcp();

public slots:
    void DestroyDevInfo();

private slots:
    void on_pushButton_ConfigurationApply_clicked();
    void on_pushButton_StaticIPConfig_clicked();
    void on_pushButton_ReadConfiguration_clicked();
    void on_comboBox_Enable_485_currentIndexChanged(int index);
    void on_comboBox_Enable_232_currentIndexChanged(int index);
    void on_comboBox_Mod_485_currentIndexChanged(int index);
    void on_comboBox_Mod_232_currentIndexChanged(int index);
    void on_spinBox_SilentInterval_485_editingFinished();
    void on_spinBox_SilentInterval_232_editingFinished();
    void on_spinBox_ModbusTimeout_485_editingFinished();
    void on_spinBox_ModbusTimeout_232_editingFinished();
    void on_spinBox_Port_485_editingFinished();
    void on_spinBox_Port_232_editingFinished();
    void on_spinBox_RetryCount_485_editingFinished();
    void on_spinBox_RetryCount_232_editingFinished();
    void on_spinBox_IntervalTime_485_editingFinished();
    void on_spinBox_IntervalTime_232_editingFinished();
    void on_spinBox_485_Ping_Interval_editingFinished();
    void on_spinBox_232_Ping_Interval_editingFinished();
    void on_lineEdit_APN_editingFinished();

private:
    // Everything that differs between the RS485 and the RS232 column.
    struct LineControls
    {
        eRoute_Serial_t route;
        eConnection_State_t tunnel; // the GSM port that reaches the modem through this line
        QComboBox* enable;
        QSpinBox* port;
        QSpinBox* ethTimeout;
        QSpinBox* modbusTimeout;
        QSpinBox* silentInterval;
        QComboBox* mod;
        QComboBox* datab;
        QComboBox* parityb;
        QComboBox* stopb;
        QComboBox* baud;
        QSpinBox* retryCount;
        QSpinBox* intervalTime;
        QSpinBox* pingInterval;
        int* portCheck;
        int* tcpPort;
        eTrp_Mod_t* trpMod;
        quint8* waitingChr;
        int* waitingMs;
        const char* portLogLabel;
        const char* pingLogLabel;

        // The line's parameters that follow its Enable combo, in enabling order.
        std::array<QWidget*, 9> parameters() const;
    };

    // One control and whether it ends enabled when the operation's flag is true.
    struct EnableRule
    {
        QWidget* control;
        bool onWhenSet;
    };

    void CheckUI_Enabled(bool const& bState, eRoute_Serial_t const& Route);
    void CheckModChange(eRoute_Serial_t const& eMod);
    static void ModifyBy_Mod(int& Value, int Modval);

    LineControls& line(eRoute_Serial_t route) { return m_lines[int(route)]; }
    const LineControls& line(eRoute_Serial_t route) const { return m_lines[int(route)]; }
    const LineControls& otherLine(const LineControls& l) const;

    static void applyRules(const QVector<EnableRule>& rules, bool bState);
    static void appendGroup(
        QVector<EnableRule>& rules, const std::array<QWidget*, 9>& group, bool onWhenSet);
    QVector<EnableRule> gsmOnlyRules() const;
    QVector<EnableRule> tunnelRules(const LineControls& used, const LineControls& other) const;
    void setEthernetRoute(bool bState, eConnection_State_t route);
    void setTunnelRoute(bool bState, eRoute_Serial_t used);

    void onEnableChanged(const LineControls& l, int index);
    void onModChanged(const LineControls& l, int index);
    void onSilentIntervalEdited(const LineControls& l);
    void onPortEdited(const LineControls& l);
    void presentCommandInterval(const LineControls& l);
    static void showValue(QSpinBox* box, int value);
    static void snapToStep(QSpinBox* box);
    void sendReadAll();

    void showValues(const QVector<ParameterSpec>& table, const QList<QByteArray>& list);

    void applyParameter(const ParameterSpec& param, const QByteArray& raw);
    int controlValue(const ParameterSpec& param) const;

    void receiveNetworkCfg(const QByteArray& values, StaticIpConfig* window);
    void openDevInfo(const QList<QByteArray>& values);

    Ui::TransparentConfig* ui = nullptr;

    int WaitingMs_485 = 400;
    int WaitingMs_232 = 400;
    int TcpPort_485 = 502;
    int TcpPort_232 = 503;
    eConnection_State_t CheckConnectionType = eMax;
    quint8 WaitingChr_485 = 8;
    quint8 WaitingChr_232 = 8;
    eTrp_Mod_t TrpMod_485 = eTrp_Mod_t::eTCPtoRTU;
    eTrp_Mod_t TrpMod_232 = eTrp_Mod_t::eTCPtoRTU;

    const int DatabitMax = ParameterLimits::DatabitMax;
    const int DatabitMin = ParameterLimits::DatabitMin;
    const int StopbitMax = ParameterLimits::StopbitMax;
    const int StopbitMin = ParameterLimits::StopbitMin;
    const int WaitingChrMax = ParameterLimits::WaitingChrMax;
    const int WaitingChrMin = ParameterLimits::WaitingChrMin;
    const int WaitingMsMax = ParameterLimits::WaitingMsMax;
    const int WaitingMsMin = ParameterLimits::WaitingMsMin;
    const int ParitybitMax = ParameterLimits::ParitybitMax;
    const int EnableIndexMax = ParameterLimits::EnableIndexMax;
    const int TrpModIndexMax = ParameterLimits::TrpModIndexMax;
    const int BaudIndexMax = ParameterLimits::BaudIndexMax;
    const int CmdIntvervalMaxS = 10;
    const int CmdIntvervalMinS = 3;
    const int CmdIntvervalMaxMs = 5000;
    const int CmdIntvervalMinMs = 0;

    QByteArray APNValue;
    QStringList ParamsAll;
    // Start at the Enable combos' own index, so the first change by hand warns.
    int PortCheck232 = 0;
    int PortCheck485 = 0;

    LineControls m_lines[2] = {};
    bool m_apnWarningOpen = false;
    bool m_applyingRead = false;
    bool m_configurationRead = false;
    DevInfoWindows devInfoWindows;
};

#endif // TRANSPARENTCONFIG_H
