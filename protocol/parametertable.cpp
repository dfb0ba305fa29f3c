#include "parametertable.h"

#include <QCoreApplication>

using namespace ParameterLimits;

namespace {

using Scaling = ParamScaling;

// Index-like values are checked from 0 as well: a negative index would leave
// a combo box blank and then go back out as -1.
// clang-format off
const FieldRule lineRules[] = {
    {ParamField::Enable,     false, true,  0,             EnableIndexMax, "ENABLE",          0,          Scaling::Plain},
    {ParamField::Port,       false, false, 0,             0,              nullptr,           0,          Scaling::Plain},
    {ParamField::Mode,       false, true,  0,             TrpModIndexMax, "MOD",             0,          Scaling::Plain},
    {ParamField::Databit,    false, true,  DatabitMin,    DatabitMax,     "DATA BIT",        DatabitMin, Scaling::Plain},
    {ParamField::Paritybit,  false, true,  0,             ParitybitMax,   "PARITY BIT",      0,          Scaling::Plain},
    {ParamField::Stopbit,    false, true,  StopbitMin,    StopbitMax,     "STOP BIT",        StopbitMin, Scaling::Plain},
    {ParamField::Baud,       false, true,  0,             BaudIndexMax,   "BAUDRATE",        0,          Scaling::Plain},
    {ParamField::WaitingChr, false, true,  WaitingChrMin, WaitingChrMax,  "SILENT INTERVAL", 0,          Scaling::Plain},
    {ParamField::WaitingMs,  false, true,  WaitingMsMin,  WaitingMsMax,   "SILENT INTERVAL", 0,          Scaling::Plain},
    {ParamField::Tmout,      false, false, 0,             0,              nullptr,           0,          Scaling::Plain},
    {ParamField::EthTmout,   false, false, 0,             0,              nullptr,           0,          Scaling::Plain},
    {ParamField::RetryCnt,   true,  false, 0,             0,              nullptr,           0,          Scaling::Plain},
    {ParamField::IntVal,     true,  false, 0,             0,              nullptr,           0,          Scaling::SecondsWhenRetried},
    {ParamField::PingIntVal, true,  false, 0,             0,              nullptr,           0,          Scaling::Minutes},
};

const FieldRule generalRules[] = {
    {ParamField::Apn,          true,  false, 0, 0,              nullptr,           0,          Scaling::Text},
    {ParamField::InfoResponse, false, true,  0, EnableIndexMax, "INFO RESPONSE",   0,          Scaling::Flag},
};
// clang-format on

// Both modem kinds list the RS485 line, the RS232 line, then the general
// values; the GSM modem adds its rows in place. Ids follow the positions.
QVector<ParameterSpec> buildTable(AtProtocol::eConnection_State_t route)
{
    QVector<ParameterSpec> table;
    const QString* keywords = AtProtocol::keywordTable(route);
    if (!keywords)
        return table;
    const bool gsm = AtProtocol::isGsmRoute(route);
    const int firstId
        = gsm ? int(AtProtocol::GSM_AT_CMD_FIRST_ID) : int(AtProtocol::AT_CMD_FIRST_ID);
    auto add = [&](AtProtocol::eRoute_Serial_t line, const FieldRule& rule) {
        if (rule.gsmOnly && !gsm)
            return;
        const int position = table.size();
        table.append({ firstId + position, position, line, &rule, &keywords[firstId + position] });
    };
    for (auto line : { AtProtocol::eRoute_Serial_t::e485, AtProtocol::eRoute_Serial_t::e232 })
        for (const FieldRule& rule : lineRules)
            add(line, rule);
    for (const FieldRule& rule : generalRules)
        add(AtProtocol::eRoute_Serial_t::eMax, rule);
    return table;
}

} // namespace

const QVector<ParameterSpec>& ParameterTable::parameters(AtProtocol::eConnection_State_t route)
{
    static const QVector<ParameterSpec> ethernet = buildTable(AtProtocol::eETH);
    static const QVector<ParameterSpec> gsm = buildTable(AtProtocol::eTCP485);
    static const QVector<ParameterSpec> none;
    if (!AtProtocol::keywordTable(route))
        return none;
    return AtProtocol::isGsmRoute(route) ? gsm : ethernet;
}

int ParameterTable::wireNumber(const QByteArray& text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : 0;
}

bool ParameterTable::holdsSeparator(const QString& value)
{
    return value.contains(QLatin1Char(',')) || value.contains(QLatin1Char('\r'))
        || value.contains(QLatin1Char('\n'));
}

ReadAllVerdict ParameterTable::checkReadAll(
    AtProtocol::eConnection_State_t route, const QList<QByteArray>& values)
{
    const QVector<ParameterSpec>& table = parameters(route);
    // The reasons end up in the status bar, so they are the catalogue's.
    if (table.isEmpty())
        return { false,
            QCoreApplication::translate("ParameterTable", "Configuration refused: no route") };
    // Only the block's last CR LF is cut off. A line end among the values
    // means more than one answer came in the block: the next answer's head
    // would stick to a value ("1\r\n+READALL=1") and be read as 0.
    for (const QByteArray& raw : values)
        if (raw.contains('\r') || raw.contains('\n'))
            return { false,
                QCoreApplication::translate(
                    "ParameterTable", "Configuration refused: more than one answer in one block") };
    // The other kind's count is no accident: the route reached the other kind of modem.
    const bool gsm = AtProtocol::isGsmRoute(route);
    if (values.size() == parameters(gsm ? AtProtocol::eETH : AtProtocol::eTCP485).size())
        return { false,
            gsm ? QCoreApplication::translate("ParameterTable",
                "Configuration refused: this looks like an Ethernet modem (%1 values). "
                "Disconnect, then choose Ethernet Modem under Device Select.")
                      .arg(values.size())
                : QCoreApplication::translate("ParameterTable",
                    "Configuration refused: this looks like a 4G modem (%1 values). "
                    "Disconnect, then choose GSM Modem under Device Select.")
                      .arg(values.size()) };
    if (values.size() < table.size())
        return { false,
            QCoreApplication::translate(
                "ParameterTable", "Configuration refused: %1 values, %2 expected")
                .arg(values.size())
                .arg(table.size()) };
    for (const ParameterSpec& param : table) {
        const QByteArray& raw = values.at(param.position);
        if (param.rule->accepts(wireNumber(raw)))
            continue;
        // In the words of the form: its line heading and row label.
        const QString line = param.line == AtProtocol::eRoute_Serial_t::e485 ? QStringLiteral("RS485 ")
            : param.line == AtProtocol::eRoute_Serial_t::e232                ? QStringLiteral("RS232 ")
                                                                             : QString();
        return { false,
            QCoreApplication::translate(
                "ParameterTable", "Configuration refused: %1 = %2 is outside %3–%4")
                .arg(line + QLatin1String(param.rule->label), QString::fromUtf8(raw.left(32)),
                    QString::number(param.rule->min), QString::number(param.rule->max)) };
    }
    return { true, QString() };
}

int ParameterTable::toControl(const FieldRule& rule, int wire, int retryCount)
{
    switch (rule.scaling) {
    case ParamScaling::Plain:
        return wire - rule.offset;
    case ParamScaling::SecondsWhenRetried:
        return retryCount > 0 ? wire / 1000 : wire;
    case ParamScaling::Minutes:
        return wire > 0 ? wire / 60 : wire;
    case ParamScaling::Flag:
        return wire != 0 ? 1 : 0;
    case ParamScaling::Text:
        break;
    }
    return wire;
}

int ParameterTable::toWire(const FieldRule& rule, int control, int retryCount)
{
    switch (rule.scaling) {
    case ParamScaling::Plain:
        return control + rule.offset;
    case ParamScaling::SecondsWhenRetried:
        return retryCount > 0 ? control * 1000 : control;
    case ParamScaling::Minutes:
        return control * 60;
    case ParamScaling::Flag:
        return control != 0 ? 1 : 0;
    case ParamScaling::Text:
        break;
    }
    return control;
}
