#include "parametertable.h"

using namespace ParameterLimits;

namespace {

using Scaling = ParamScaling;

// Index-like values are checked from 0 as well: a negative index would leave
// a combo box blank and then go back out as -1.
// clang-format off
const FieldRule lineRules[] = {
    {ParamField::Enable,     false, true,  0,             EnableIndexMax, "ValOfList <= EnableIndexMax", 0, Scaling::Plain},
    {ParamField::Port,       false, false, 0,             0,              nullptr,                       0, Scaling::Plain},
    {ParamField::Mode,       false, true,  0,             TrpModIndexMax, "ValOfList <= TrpModIndexMax", 0, Scaling::Plain},
    {ParamField::Databit,    false, true,  DatabitMin,    DatabitMax,     "( ValOfList >= DatabitMin ) && ( ValOfList <= DatabitMax )", DatabitMin, Scaling::Plain},
    {ParamField::Paritybit,  false, true,  0,             ParitybitMax,   "ValOfList <= ParitybitMax",   0, Scaling::Plain},
    {ParamField::Stopbit,    false, true,  StopbitMin,    StopbitMax,     "( ValOfList >= StopbitMin ) && ( ValOfList <= StopbitMax )", StopbitMin, Scaling::Plain},
    {ParamField::Baud,       false, true,  0,             BaudIndexMax,   "ValOfList <= BaudIndexMax",   0, Scaling::Plain},
    {ParamField::WaitingChr, false, true,  WaitingChrMin, WaitingChrMax,  "( ValOfList >= WaitingChrMin ) && ( ValOfList <= WaitingChrMax )", 0, Scaling::Plain},
    {ParamField::WaitingMs,  false, true,  WaitingMsMin,  WaitingMsMax,   "( ValOfList >= WaitingMsMin ) && ( ValOfList <= WaitingMsMax )", 0, Scaling::Plain},
    {ParamField::Tmout,      false, false, 0,             0,              nullptr,                       0, Scaling::Plain},
    {ParamField::EthTmout,   false, false, 0,             0,              nullptr,                       0, Scaling::Plain},
    {ParamField::RetryCnt,   true,  false, 0,             0,              nullptr,                       0, Scaling::Plain},
    {ParamField::IntVal,     true,  false, 0,             0,              nullptr,                       0, Scaling::SecondsWhenRetried},
    {ParamField::PingIntVal, true,  false, 0,             0,              nullptr,                       0, Scaling::Minutes},
};

const FieldRule generalRules[] = {
    {ParamField::Apn,          true,  false, 0, 0,              nullptr,                       0, Scaling::Text},
    {ParamField::InfoResponse, false, true,  0, EnableIndexMax, "ValOfList <= EnableIndexMax", 0, Scaling::Flag},
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

ReadAllVerdict ParameterTable::checkReadAll(
    AtProtocol::eConnection_State_t route, const QList<QByteArray>& values)
{
    const QVector<ParameterSpec>& table = parameters(route);
    if (table.isEmpty())
        return { false, QStringLiteral("Configuration refused: no route") };
    // Only the block's last CR LF is cut off. A line end among the values
    // means more than one answer came in the block: the next answer's head
    // would stick to a value ("1\r\n+READALL=1") and be read as 0.
    for (const QByteArray& raw : values)
        if (raw.contains('\r') || raw.contains('\n'))
            return { false,
                QStringLiteral("Configuration refused: more than one answer in one block") };
    if (values.size() < table.size())
        return { false,
            QStringLiteral("Configuration refused: %1 values, %2 expected")
                .arg(values.size())
                .arg(table.size()) };
    for (const ParameterSpec& spec : table) {
        const QByteArray& raw = values.at(spec.position);
        if (!spec.rule->accepts(wireNumber(raw)))
            return { false,
                QStringLiteral("Configuration refused: %1 = %2 breaks %3")
                    .arg(*spec.keyword, QString::fromUtf8(raw.left(32)),
                        QString::fromLatin1(spec.rule->condition)) };
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
