#include "configmodel.h"

const QList<int> ModemConfig::BaudRates = { 300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200 };
const QStringList ModemConfig::Modes
    = { "tcp_to_rtu", "tcp_to_ascii", "rtu_over_tcp", "ascii_over_tcp", "full_transparent" };
const QStringList ModemConfig::Parities = { "none", "odd", "even" };

namespace {

AtProtocol::eConnection_State_t routeOf(bool gsm)
{
    return gsm ? AtProtocol::eTCP485 : AtProtocol::eETH;
}

} // namespace

int LineConfig::*LineConfig::member(ParamField field)
{
    switch (field) {
    case ParamField::Enable: return &LineConfig::enable;
    case ParamField::Port: return &LineConfig::tcpPort;
    case ParamField::Mode: return &LineConfig::mode;
    case ParamField::Databit: return &LineConfig::dataBits;
    case ParamField::Paritybit: return &LineConfig::parity;
    case ParamField::Stopbit: return &LineConfig::stopBits;
    case ParamField::Baud: return &LineConfig::baud;
    case ParamField::WaitingChr: return &LineConfig::silentChars;
    case ParamField::WaitingMs: return &LineConfig::silentMs;
    case ParamField::Tmout: return &LineConfig::modbusTimeoutMs;
    case ParamField::EthTmout: return &LineConfig::connectTimeoutMin;
    case ParamField::RetryCnt: return &LineConfig::retryCount;
    case ParamField::IntVal: return &LineConfig::commandIntervalMs;
    case ParamField::PingIntVal: return &LineConfig::pingIntervalS;
    case ParamField::Apn:
    case ParamField::InfoResponse: break;
    }
    return nullptr;
}

bool LineConfig::operator==(const LineConfig& o) const
{
    for (int f = int(ParamField::Enable); f <= int(ParamField::PingIntVal); ++f)
        if (this->*member(ParamField(f)) != o.*member(ParamField(f)))
            return false;
    return true;
}

bool ModemConfig::operator==(const ModemConfig& o) const
{
    return gsm == o.gsm && rs485 == o.rs485 && rs232 == o.rs232 && apn == o.apn && infoResponse == o.infoResponse;
}

ModemConfig ModemConfig::fromValues(bool gsm, const QList<QByteArray>& values, QString* refusal)
{
    ModemConfig config;
    config.gsm = gsm;
    const ReadAllVerdict verdict = ParameterTable::checkReadAll(routeOf(gsm), values);
    if (refusal)
        *refusal = verdict.reason;
    if (!verdict.accepted)
        return config;
    for (const ParameterSpec& param : ParameterTable::parameters(routeOf(gsm))) {
        const QByteArray& raw = values.at(param.position);
        if (int LineConfig::*m = LineConfig::member(param.rule->field))
            config.line(param.line).*m = ParameterTable::wireNumber(raw);
        else if (param.rule->field == ParamField::Apn)
            config.apn = QString::fromUtf8(raw);
        else
            config.infoResponse = ParameterTable::wireNumber(raw) != 0 ? 1 : 0;
    }
    return config;
}

QStringList ModemConfig::writeAllValues() const
{
    QStringList values;
    for (const ParameterSpec& param : ParameterTable::parameters(routeOf(gsm))) {
        if (int LineConfig::*m = LineConfig::member(param.rule->field))
            values << QString::number(line(param.line).*m);
        else
            values << (param.rule->field == ParamField::Apn ? apn : QString::number(infoResponse));
    }
    return values;
}

QByteArray ModemConfig::writeAllFrame() const
{
    const QString* table = AtProtocol::keywordTable(routeOf(gsm));
    return AtProtocol::valueFrame(table[gsm ? int(eIdGSMWriteAll) : int(eIdWriteAll)], writeAllValues());
}
