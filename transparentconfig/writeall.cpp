#include "logging.h"
#include "transparentconfig.h"
#include "ui_transparentconfig.h"

#include <QMessageBox>

namespace {

// Nothing in a value may read as a separator on the wire.
struct FramingWarning
{
    AtProtocol::eRoute_Serial_t line;
    const char* title;
};

// In this order: with both warnings shown, the RS232 answer decides.
const FramingWarning FramingWarnings[] = {
    { AtProtocol::eRoute_Serial_t::e485,
        QT_TRANSLATE_NOOP("TransparentConfig", "RS485 Config Warning") },
    { AtProtocol::eRoute_Serial_t::e232,
        QT_TRANSLATE_NOOP("TransparentConfig", "RS232 Config Warning") },
};

} // namespace

bool TransparentConfig::readFirst()
{
    // The form's defaults, or the values of the modem before, written over a
    // modem whose own configuration never arrived would replace a working one.
    if (!m_configurationRead)
        emit WriteStatusBar(
            tr("Read the configuration first: nothing has been read from this modem."), 3000);
    return m_configurationRead;
}

void TransparentConfig::on_pushButton_ConfigurationApply_clicked()
{
    const QString* table = keywordTable(CheckConnectionType);
    // Before any route there is no dialect and no modem: a frame without
    // values would mean nothing, so nothing is sent and nothing is asked.
    if (!table) {
        qCDebug(lcForm) << "apply without a route: nothing sent";
        return;
    }
    if (!readFirst())
        return;
    const bool bGsm = isGsmRoute(CheckConnectionType);

    const QStringList values = writeAllValues();
    if (bGsm && ParameterTable::holdsSeparator(values.value(eIdGSMAPN - GSM_AT_CMD_FIRST_ID))) {
        // Each separator would add a field and shift the info response: the
        // modem would store a configuration nobody chose.
        QMessageBox::warning(this, tr("Uyarı !"),
            tr("APN virgül (,) ya da satır sonu içeremez: modem bunları alan ayırıcı olarak "
               "okur ve yapılandırması bozulur. Yapılandırma yazılmadı."));
        return;
    }

    const QString qstrBuffer = QString::fromUtf8(
        valueFrame(table[bGsm ? int(eIdGSMWriteAll) : int(eIdWriteAll)], values));

    bool bWriteControl = true;
    for (const FramingWarning& warning : FramingWarnings) {
        const LineControls& l = line(warning.line);
        if (l.datab->currentIndex() != 0 || l.parityb->currentIndex() != 0)
            continue;
        const QMessageBox::StandardButton reply = QMessageBox::warning(this, tr(warning.title),
            tr("7bit Parity None olarak devam etmek istiyor musunuz ?"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton);
        bWriteControl = reply == QMessageBox::Yes;
    }

    // Compared as the modem will read the frame back, not as the form holds it.
    QString ListBuffer = qstrBuffer;
    ListBuffer.remove(0, ListBuffer.indexOf(AT_SET) + 1);
    ListBuffer.remove(AT_CRLF);
    const QStringList list = ListBuffer.split(",", Qt::KeepEmptyParts, Qt::CaseSensitive);

    qCDebug(lcForm) << "ParamsAll:" << ParamsAll;
    qCDebug(lcForm) << "list:" << list;

    if (list != ParamsAll) {
        const QMessageBox::StandardButton reply = QMessageBox::question(this, tr("Dikkat !"),
            tr("Parametrelerinizde değişiklik var. Devam etmek istiyor musunuz ?"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton);
        if (reply != QMessageBox::Yes) {
            // Refill the form with what the modem really holds.
            sendReadAll();
            return;
        }
    }
    if (bWriteControl)
        emit WriteData(qstrBuffer.toUtf8());
}
