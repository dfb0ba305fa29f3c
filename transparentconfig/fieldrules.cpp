#include "logging.h"
#include "transparentconfig.h"
#include "ui_transparentconfig.h"

#include <QMessageBox>

// The rules that keep dependent fields consistent while the user edits. The
// combo handlers also run when a read sets a combo; the editingFinished ones
// only for the user.

namespace {
using Line = AtProtocol::eRoute_Serial_t;

// Qt measures and lays out a spin box's text again on every range or suffix
// call, changed or not, and a read runs these rules for every line: most of
// a read's time went there. Only what differs is set.
void present(QSpinBox* box, const QString& suffix, int min, int max, int step)
{
    if (box->minimum() != min || box->maximum() != max)
        box->setRange(min, max);
    if (box->suffix() != suffix)
        box->setSuffix(suffix);
    if (box->singleStep() != step)
        box->setSingleStep(step);
}
} // namespace

void TransparentConfig::on_comboBox_Enable_485_currentIndexChanged(int index)
{
    onEnableChanged(line(Line::e485), index);
}

void TransparentConfig::on_comboBox_Enable_232_currentIndexChanged(int index)
{
    onEnableChanged(line(Line::e232), index);
}

void TransparentConfig::on_comboBox_Mod_485_currentIndexChanged(int index)
{
    onModChanged(line(Line::e485), index);
}

void TransparentConfig::on_comboBox_Mod_232_currentIndexChanged(int index)
{
    onModChanged(line(Line::e232), index);
}

void TransparentConfig::on_spinBox_SilentInterval_485_editingFinished()
{
    onSilentIntervalEdited(line(Line::e485));
}

void TransparentConfig::on_spinBox_SilentInterval_232_editingFinished()
{
    onSilentIntervalEdited(line(Line::e232));
}

void TransparentConfig::on_spinBox_ModbusTimeout_485_editingFinished()
{
    snapToStep(ui->spinBox_ModbusTimeout_485);
}

void TransparentConfig::on_spinBox_ModbusTimeout_232_editingFinished()
{
    snapToStep(ui->spinBox_ModbusTimeout_232);
}

void TransparentConfig::on_spinBox_Port_485_editingFinished()
{
    onPortEdited(line(Line::e485));
}

void TransparentConfig::on_spinBox_Port_232_editingFinished()
{
    onPortEdited(line(Line::e232));
}

void TransparentConfig::on_spinBox_RetryCount_485_editingFinished()
{
    presentCommandInterval(line(Line::e485));
}

void TransparentConfig::on_spinBox_RetryCount_232_editingFinished()
{
    presentCommandInterval(line(Line::e232));
}

void TransparentConfig::on_spinBox_IntervalTime_485_editingFinished()
{
    snapToStep(ui->spinBox_IntervalTime_485);
}

void TransparentConfig::on_spinBox_IntervalTime_232_editingFinished()
{
    snapToStep(ui->spinBox_IntervalTime_232);
}

void TransparentConfig::on_spinBox_485_Ping_Interval_editingFinished()
{
    snapToStep(ui->spinBox_485_Ping_Interval);
}

void TransparentConfig::on_spinBox_232_Ping_Interval_editingFinished()
{
    snapToStep(ui->spinBox_232_Ping_Interval);
}

void TransparentConfig::on_lineEdit_APN_editingFinished()
{
    const QString apn = ui->lineEdit_APN->text();
    // Opening the box takes the focus from the line edit, which reports the
    // edit as finished a second time; one box per edit is enough.
    if (apn != QString::fromUtf8(APNValue) && !m_apnWarningOpen) {
        m_apnWarningOpen = true;
        QMessageBox::warning(this, tr("Uyarı !"),
            tr("APN Değiştirildi Değişiklikleri modeme yazarsanız modem yeniden başlatılacak !"),
            QMessageBox::Ok);
        m_apnWarningOpen = false;
    }
    ui->lineEdit_APN->setText(apn);
}

void TransparentConfig::onEnableChanged(const LineControls& l, int index)
{
    // A read stores the value before it sets the combo, so only a change by
    // hand differs from it.
    if (index != *l.portCheck)
        QMessageBox::warning(
            this, tr("Uyarı !"), tr("Portunuz açık ise kapatılacak !"), QMessageBox::Ok);
    // Reached through the other line's tunnel, this line's controls stay as
    // the route left them.
    if (CheckConnectionType != otherLine(l).tunnel)
        CheckUI_Enabled(index != 0, l.route);
}

void TransparentConfig::onModChanged(const LineControls& l, int index)
{
    *l.trpMod = eTrp_Mod_t(index);
    qCDebug(lcForm) << "index :" << index << "Mod :" << int(*l.trpMod);
    CheckModChange(l.route);
}

void TransparentConfig::CheckModChange(eRoute_Serial_t const& eMod)
{
    const LineControls& l = line(eMod);
    // The range first: the stored value ends clamped to the new one.
    if (*l.trpMod == eTrp_Mod_t::eFullTransparent) {
        present(l.silentInterval, tr("    ms"), WaitingMsMin, WaitingMsMax, 10);
        showValue(l.silentInterval, *l.waitingMs);
    } else {
        present(l.silentInterval, tr("     char"), WaitingChrMin, WaitingChrMax, 1);
        showValue(l.silentInterval, *l.waitingChr);
    }
    presentCommandInterval(l);
}

// The command interval counts seconds while the line retries, milliseconds
// otherwise; switching resets the value to the unit's default. A read leaves
// the reset to its end: laid out in between, the default would only cost.
void TransparentConfig::presentCommandInterval(const LineControls& l)
{
    const bool retried = l.retryCount->value() > 0;
    if (retried)
        present(l.intervalTime, tr("   s"), CmdIntvervalMinS, CmdIntvervalMaxS, 1);
    else
        present(l.intervalTime, tr("    ms"), CmdIntvervalMinMs, CmdIntvervalMaxMs, 100);
    if (!m_applyingRead)
        showValue(l.intervalTime, retried ? 1 : 100);
}

// Qt reformats and repaints a box on every setValue, even an unchanged one.
// A box with the focus is always set: the user may be typing a value that
// is not committed yet, and the read must replace it.
void TransparentConfig::showValue(QSpinBox* box, int value)
{
    if (box->value() != value || box->hasFocus())
        box->setValue(value);
}

void TransparentConfig::onSilentIntervalEdited(const LineControls& l)
{
    const int value = l.silentInterval->value();
    if (*l.trpMod == eTrp_Mod_t::eFullTransparent) {
        *l.waitingMs = value;
        ModifyBy_Mod(*l.waitingMs, l.silentInterval->singleStep());
        l.silentInterval->setValue(*l.waitingMs);
    } else {
        // The character range 4..128 keeps it within 8 bits.
        *l.waitingChr = quint8(value);
    }
}

// The two lines are two TCP servers on the modem: a port the other line
// already uses is refused and the box falls back to this line's last port.
void TransparentConfig::onPortEdited(const LineControls& l)
{
    const int value = l.port->value();
    if (value != *otherLine(l).tcpPort)
        *l.tcpPort = value;
    l.port->setValue(*l.tcpPort);
    qCDebug(lcForm) << l.portLogLabel << value;
}

void TransparentConfig::snapToStep(QSpinBox* box)
{
    int value = box->value();
    ModifyBy_Mod(value, box->singleStep());
    box->setValue(value);
}

void TransparentConfig::ModifyBy_Mod(int& Value, int Modval)
{
    Q_ASSERT_X(Modval != 0, "ModifyBy_Mod", "Modval != 0");
    const int rest = Value % Modval;
    if (rest != 0)
        Value -= rest;
}
