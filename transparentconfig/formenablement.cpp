#include "transparentconfig.h"
#include "ui_transparentconfig.h"

// Which controls each route leaves editable. Every operation is a list of
// controls in the order they are switched; a control named twice ends as the
// later entry says.

std::array<QWidget*, 9> TransparentConfig::LineControls::parameters() const
{
    return { port, ethTimeout, modbusTimeout, silentInterval, mod, datab, parityb, stopb, baud };
}

void TransparentConfig::applyRules(const QVector<EnableRule>& rules, bool bState)
{
    for (const EnableRule& rule : rules)
        rule.control->setEnabled(rule.onWhenSet == bState);
}

void TransparentConfig::appendGroup(
    QVector<EnableRule>& rules, const std::array<QWidget*, 9>& group, bool onWhenSet)
{
    for (QWidget* control : group)
        rules.append({ control, onWhenSet });
}

QVector<TransparentConfig::EnableRule> TransparentConfig::gsmOnlyRules() const
{
    return {
        { ui->lineEdit_APN, false },
        { ui->label_APN, false },
        { ui->spinBox_IntervalTime_232, false },
        { ui->spinBox_IntervalTime_485, false },
        { ui->spinBox_RetryCount_232, false },
        { ui->spinBox_RetryCount_485, false },
        { ui->spinBox_232_Ping_Interval, false },
        { ui->spinBox_485_Ping_Interval, false },
        { ui->label_Retry_Count, false },
        { ui->label_Cmd_Interval_Tme, false },
        { ui->label_Ping_Interval, false },
    };
}

// Over a tunnel the line in use keeps its Enable combo and port locked (they
// are the way in) and opens its framing and timing; the other line the other
// way round.
QVector<TransparentConfig::EnableRule> TransparentConfig::tunnelRules(
    const LineControls& used, const LineControls& other) const
{
    QVector<EnableRule> rules;
    appendGroup(rules, used.parameters(), true);
    appendGroup(rules, other.parameters(), false);
    rules += QVector<EnableRule> {
        { used.enable, false },
        { used.port, false },
        { other.enable, true },
        { other.port, true },
        { ui->pushButton_StaticIPConfig, false },
        { ui->pushButton_ConfigurationApply, true },
        { ui->checkBox_InfoResponse, true },
        { other.pingInterval, false },
        { used.intervalTime, true },
        { used.retryCount, true },
        { other.intervalTime, false },
        { other.retryCount, false },
        { used.pingInterval, true },
        { ui->lineEdit_APN, true },
        { ui->label_APN, true },
    };
    return rules;
}

void TransparentConfig::setEthernetRoute(bool bState, eConnection_State_t route)
{
    applyRules(gsmOnlyRules(), bState);
    CheckConnectionType = route;
}

void TransparentConfig::setTunnelRoute(bool bState, eRoute_Serial_t used)
{
    const LineControls& l = line(used);
    applyRules(tunnelRules(l, otherLine(l)), bState);
    CheckConnectionType = l.tunnel;
}

void TransparentConfig::SetETHSettings(bool const& bState)
{
    setEthernetRoute(bState, eETH);
}

void TransparentConfig::SetUSBSettings(bool const& bState)
{
    setEthernetRoute(bState, eUSB);
}

void TransparentConfig::Set485Settings(bool const& bState)
{
    setTunnelRoute(bState, eRoute_Serial_t::e485);
}

void TransparentConfig::Set232Settings(bool const& bState)
{
    setTunnelRoute(bState, eRoute_Serial_t::e232);
}

// After a failed automatic read only "Read Configuration" stays usable, so
// the user can retry by hand.
void TransparentConfig::DataReadSettings(bool const& bState)
{
    QVector<EnableRule> rules;
    appendGroup(rules, line(eRoute_Serial_t::e485).parameters(), false);
    appendGroup(rules, line(eRoute_Serial_t::e232).parameters(), false);
    rules += QVector<EnableRule> {
        { ui->comboBox_Enable_485, false },
        { ui->comboBox_Enable_232, false },
        { ui->spinBox_232_Ping_Interval, false },
        { ui->spinBox_IntervalTime_485, false },
        { ui->spinBox_RetryCount_485, false },
        { ui->spinBox_IntervalTime_232, false },
        { ui->spinBox_RetryCount_232, false },
        { ui->spinBox_485_Ping_Interval, false },
        { ui->pushButton_StaticIPConfig, false },
        { ui->pushButton_ConfigurationApply, false },
        { ui->checkBox_InfoResponse, false },
        { ui->lineEdit_APN, false },
        { ui->label_APN, false },
        { ui->pushButton_ReadConfiguration, true },
    };
    applyRules(rules, bState);
}

void TransparentConfig::CheckUI_Enabled(bool const& bState, eRoute_Serial_t const& Route)
{
    const LineControls& l = line(Route);
    for (QWidget* control : l.parameters())
        control->setEnabled(bState);
    // Over either tunnel the ports are the modem's way in: following an
    // Enable combo never unlocks them.
    if (isGsmRoute(CheckConnectionType))
        l.port->setEnabled(false);
}
