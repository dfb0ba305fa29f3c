#include "logging.h"
#include "transparentconfig.h"
#include "ui_transparentconfig.h"

#include <QScopedValueRollback>
#include <algorithm>

bool TransparentConfig::applyReadAll(const QByteArray& valuePart)
{
    const QVector<ParameterSpec>& table = ParameterTable::parameters(CheckConnectionType);
    if (table.isEmpty())
        return false;
    const QList<QByteArray> list = valuePart.split(',');
    // Judged as a whole: a half-applied answer would later go back to the
    // modem as if it were the modem's own configuration.
    const ReadAllVerdict verdict = ParameterTable::checkReadAll(CheckConnectionType, list);
    if (!verdict.accepted) {
        qCDebug(lcForm) << verdict.reason;
        emit WriteStatusBar(verdict.reason, 3000);
        return false;
    }
    // With its size: fromUtf8 of a bare QByteArray stops at a NUL byte, and a
    // list cut short there would differ from every frame the form builds.
    ParamsAll = QString::fromUtf8(valuePart.constData(), valuePart.size())
                    .split(QLatin1Char(','), Qt::KeepEmptyParts);
    m_configurationRead = true;
    showValues(table, list);
    return true;
}

int TransparentConfig::showConfiguration(const ModemConfig& config)
{
    QList<QByteArray> list;
    for (const QString& value : config.writeAllValues())
        list << value.toUtf8();
    // Shown as a read shows it; the modem's last answer stays what it was,
    // so that Apply asks and the APN warning compares with the modem's.
    const QByteArray apnRead = APNValue;
    showValues(ParameterTable::parameters(CheckConnectionType), list);
    APNValue = apnRead;
    const QStringList shown = writeAllValues();
    int differing = 0;
    for (int i = 0; i < shown.size(); ++i)
        differing += shown.at(i) != ParamsAll.value(i);
    return differing;
}

ModemConfig TransparentConfig::configuration() const
{
    QList<QByteArray> list;
    for (const QString& value : writeAllValues())
        list << value.toUtf8();
    return ModemConfig::fromValues(isGsmRoute(CheckConnectionType), list);
}

void TransparentConfig::showValues(const QVector<ParameterSpec>& table, const QList<QByteArray>& list)
{
    {
        const QScopedValueRollback<bool> reading(m_applyingRead, true);
        for (const ParameterSpec& param : table)
            applyParameter(param, list.at(param.position));
    }
    // The intervals' reset to their unit's default, held back while the
    // values went in; an answer that carries the interval has set it since.
    const bool intervalRead = std::any_of(table.begin(), table.end(),
        [](const ParameterSpec& p) { return p.rule->field == ParamField::IntVal; });
    if (!intervalRead)
        for (const LineControls& l : m_lines)
            presentCommandInterval(l);
}

QStringList TransparentConfig::writeAllValues() const
{
    QStringList values;
    for (const ParameterSpec& param : ParameterTable::parameters(CheckConnectionType)) {
        if (param.rule->field == ParamField::Apn)
            values << ui->lineEdit_APN->text();
        else
            values << QString::number(controlValue(param));
    }
    return values;
}

// Values are applied one at a time in id order, so the combo handlers run
// with what has been applied so far; the orders below rely on that.
void TransparentConfig::applyParameter(const ParameterSpec& param, const QByteArray& raw)
{
    const int ValOfList = ParameterTable::wireNumber(raw);
    LineControls* l = param.line == eRoute_Serial_t::eMax ? nullptr : &line(param.line);
    const int shown
        = ParameterTable::toControl(*param.rule, ValOfList, l ? l->retryCount->value() : 0);

    switch (param.rule->field) {
    case ParamField::Enable:
        // Stored first: the Enable handler warns only when the index differs from it.
        *l->portCheck = shown;
        l->enable->setCurrentIndex(shown);
        break;
    case ParamField::Port:
        showValue(l->port, shown);
        // The box's value, not the raw one: the two lines' ports are compared
        // against what the user sees.
        *l->tcpPort = l->port->value();
        break;
    case ParamField::Mode:
        // Stored first, so it is right even when the index does not change
        // and no handler runs.
        *l->trpMod = eTrp_Mod_t(shown);
        l->mod->setCurrentIndex(shown);
        break;
    case ParamField::Databit:
        l->datab->setCurrentIndex(shown);
        break;
    case ParamField::Paritybit:
        l->parityb->setCurrentIndex(shown);
        break;
    case ParamField::Stopbit:
        l->stopb->setCurrentIndex(shown);
        break;
    case ParamField::Baud:
        l->baud->setCurrentIndex(shown);
        break;
    case ParamField::WaitingChr:
        *l->waitingChr = quint8(shown);
        CheckModChange(l->route);
        break;
    case ParamField::WaitingMs:
        *l->waitingMs = shown;
        CheckModChange(l->route);
        break;
    case ParamField::Tmout:
        showValue(l->modbusTimeout, shown);
        break;
    case ParamField::EthTmout:
        showValue(l->ethTimeout, shown);
        break;
    case ParamField::RetryCnt:
        showValue(l->retryCount, shown);
        // The interval box must change unit with the new retry count before
        // the interval arrives, or a seconds box would clamp 500 ms to 10.
        presentCommandInterval(*l);
        break;
    case ParamField::IntVal:
        showValue(l->intervalTime, shown);
        break;
    case ParamField::PingIntVal:
        qCDebug(lcForm) << l->pingLogLabel << ValOfList;
        showValue(l->pingInterval, shown);
        break;
    case ParamField::Apn:
        APNValue = raw;
        if (ui->lineEdit_APN->text() != QString::fromUtf8(APNValue))
            ui->lineEdit_APN->setText(QString::fromUtf8(APNValue));
        break;
    case ParamField::InfoResponse:
        ui->checkBox_InfoResponse->setChecked(shown != 0);
        break;
    }
}

int TransparentConfig::controlValue(const ParameterSpec& param) const
{
    const LineControls* l = param.line == eRoute_Serial_t::eMax ? nullptr : &line(param.line);
    int shown = 0;
    switch (param.rule->field) {
    case ParamField::Enable:
        shown = l->enable->currentIndex();
        break;
    case ParamField::Port:
        shown = l->port->value();
        break;
    case ParamField::Mode:
        shown = l->mod->currentIndex();
        break;
    case ParamField::Databit:
        shown = l->datab->currentIndex();
        break;
    case ParamField::Paritybit:
        shown = l->parityb->currentIndex();
        break;
    case ParamField::Stopbit:
        shown = l->stopb->currentIndex();
        break;
    case ParamField::Baud:
        shown = l->baud->currentIndex();
        break;
    case ParamField::WaitingChr:
        shown = *l->waitingChr;
        break;
    case ParamField::WaitingMs:
        shown = *l->waitingMs;
        break;
    case ParamField::Tmout:
        shown = l->modbusTimeout->value();
        break;
    case ParamField::EthTmout:
        shown = l->ethTimeout->value();
        break;
    case ParamField::RetryCnt:
        shown = l->retryCount->value();
        break;
    case ParamField::IntVal:
        shown = l->intervalTime->value();
        break;
    case ParamField::PingIntVal:
        shown = l->pingInterval->value();
        break;
    case ParamField::Apn:
        break;
    case ParamField::InfoResponse:
        shown = ui->checkBox_InfoResponse->isChecked() ? 1 : 0;
        break;
    }
    return ParameterTable::toWire(*param.rule, shown, l ? l->retryCount->value() : 0);
}
