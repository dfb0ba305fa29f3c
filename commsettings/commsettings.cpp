#include "commsettings.h"
#include "atprotocol.h"
#include "logging.h"
#include "ui_commsettings.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>

namespace {

// The COM PORT entry of the device named on the command line carries this.
const QString ExtraDeviceEntry = QStringLiteral("command line device");

const QString OrganisationName = QStringLiteral("Kolvex");
const QString ApplicationName = QStringLiteral("Configurator");
const QString SettingsGroup = QStringLiteral("Commsettings");
// How long a save waits for the store's lock before the value is given up.
constexpr int StoreLockWaitMs = 500;

const QString KeyIp = QStringLiteral("Ip");
const QString KeyPort = QStringLiteral("Port");
const QString KeyIpTcp = QStringLiteral("IpTcp");
const QString KeyPort232 = QStringLiteral("Port232");
const QString KeyPort485 = QStringLiteral("Port485");

const QString LampConnected = QStringLiteral("background-color:green");
const QString LampDisconnected = QStringLiteral("background-color:red");

// The picture buttons carry their state in a whole style sheet, one per
// picture, so that nothing of the previous look survives a change.
QString imageButtonLook(const char* picture)
{
    return QStringLiteral("QPushButton{background-color:transparent;border-image: "
                          "url(:/Button/Icons/%1);border:none;background-repeat: "
                          "none;}QPushButton:pressed{background-color:black;}")
        .arg(QLatin1String(picture));
}

const QString EthernetIdleLook = imageButtonLook("ethernet.png");
const QString EthernetConnectedLook = imageButtonLook("ethernet_disconnect.png");
const QString UsbIdleLook = imageButtonLook("usb_connect.png");
const QString UsbConnectedLook = imageButtonLook("usb_disconnect.png");

const char* const TunnelIdleText = QT_TRANSLATE_NOOP("CommSettings", "Connect");
const char* const TunnelConnectedText = QT_TRANSLATE_NOOP("CommSettings", "Disconnect");

// Catches typing slips only (a missing part, a letter, a doubled dot): a part
// out of range is left to the connection attempt, which reports it.
bool isAcceptedIp(const QString& text)
{
    const QStringList parts = text.split('.', Qt::KeepEmptyParts);
    if (parts.size() < 4)
        return false;
    for (const QString& part : parts) {
        if (part != QLatin1String("0") && part.toInt(nullptr, 10) == 0)
            return false;
    }
    return true;
}

// Only a file has a lock beside it. The Windows registry, the native store
// there, has neither: its fileName() is a key path, and a folder made after
// it would land at the root of the drive.
bool storeIsFile(const QSettings& settings)
{
#ifdef Q_OS_WIN
    return settings.format() == QSettings::IniFormat;
#else
    Q_UNUSED(settings);
    return true;
#endif
}

bool isAcceptedPort(const QString& text)
{
    const int port = text.toInt(nullptr, 10);
    return port >= 1 && port <= 65534;
}

void setEnabledAll(const QList<QWidget*>& controls, bool enabled)
{
    for (QWidget* w : controls)
        w->setEnabled(enabled);
}

const char* boolText(bool b)
{
    return b ? "true" : "false";
}

} // namespace

CommSettings::CommSettings(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::CommSettings)
{
    ui->setupUi(this);
    buildControlSets();

    on_pushButton_RefreshCOM_clicked();

    const struct
    {
        const QString& key;
        QLineEdit* field;
    } remembered[] = {
        { KeyIp, ui->lineEdit_ServerIp },
        { KeyPort, ui->lineEdit_ServerPort },
        { KeyIpTcp, ui->lineEdit_TcpServerIp },
        { KeyPort232, ui->lineEdit_ServerPort232 },
        { KeyPort485, ui->lineEdit_ServerPort485 },
    };
    for (const auto& r : remembered)
        r.field->setText(Load(r.key));
}

CommSettings::~CommSettings()
{
    delete ui;
}

void CommSettings::buildControlSets()
{
    m_tunnel232 = { TCP232, ui->pushButton_232Connect, ui->lineEdit_ServerPort232,
        ui->pushButton_Abort232, &CommSettings::Tcp232ConnectionStatus,
        &CommSettings::ConnectTcp232, &CommSettings::DisconnectTcp232, " Tcp 232 state :" };
    m_tunnel485 = { TCP485, ui->pushButton_485Connect, ui->lineEdit_ServerPort485,
        ui->pushButton_Abort485, &CommSettings::Tcp485ConnectionStatus,
        &CommSettings::ConnectTcp485, &CommSettings::DisconnectTcp485, " Tcp 485 state :" };

    m_usbSet = { ui->pushButton_RefreshCOM, ui->comboBox_COMPorts, ui->pushButton_UsbConnect,
        ui->label_USB_Settings, ui->label_COMPort };
    m_ethernetSet = { ui->lineEdit_ServerIp, ui->lineEdit_ServerPort, ui->pushButton_TcpConnect,
        ui->label_ServerPort, ui->label_ServverIp, ui->label_TcpSettings };
    m_ipQuerySet = { ui->pushButton_GetIpAddr, ui->lineEdit_CurrentIpAddr };
    m_tunnelSet = { ui->label_ServerPort232, ui->label_ServerPort485, ui->label_TcpServerIp,
        ui->pushButton_232Connect, ui->pushButton_485Connect, ui->lineEdit_ServerPort232,
        ui->lineEdit_ServerPort485, ui->lineEdit_TcpServerIp };

    // A route that comes up locks out the other kind of route; one that goes
    // down gives back only its own group, so it never undoes what the modem
    // kind disabled.
    m_statusRows = {
        { TCP, true, ui->label_TcpSettings, ui->pushButton_TcpConnect, false, EthernetConnectedLook,
            &CommSettings::TcpConnectionStatus, m_usbSet + m_tunnelSet, m_ipQuerySet },
        { TCP, false, ui->label_TcpSettings, ui->pushButton_TcpConnect, false, EthernetIdleLook,
            &CommSettings::TcpConnectionStatus, m_ipQuerySet, m_usbSet },
        { USB, true, ui->label_USB_Settings, ui->pushButton_UsbConnect, false, UsbConnectedLook,
            &CommSettings::UsbConnectionStatus, m_ethernetSet + m_tunnelSet, m_ipQuerySet },
        { USB, false, ui->label_USB_Settings, ui->pushButton_UsbConnect, false, UsbIdleLook,
            &CommSettings::UsbConnectionStatus, m_ipQuerySet, m_ethernetSet },
    };
    m_statusRows += tunnelRows(m_tunnel232, m_tunnel485);
    m_statusRows += tunnelRows(m_tunnel485, m_tunnel232);
}

// While one tunnel is up the other one's port is locked, but its Abort stays
// usable: that is how the user frees the other port on the modem.
QVector<CommSettings::StatusRow> CommSettings::tunnelRows(
    const Tunnel& self, const Tunnel& other) const
{
    const QList<QWidget*> lockedWhileUp
        = QList<QWidget*> { ui->lineEdit_ServerIp, ui->lineEdit_ServerPort } + m_usbSet
        + m_ipQuerySet + QList<QWidget*> { other.connectButton, other.portField, self.abortButton };
    const QList<QWidget*> usableWhileUp
        = { ui->label_ServerPort232, ui->label_ServerPort485, ui->label_TcpServerIp,
              self.connectButton, self.portField, ui->lineEdit_TcpServerIp, other.abortButton };
    return {
        { self.route, true, ui->label_TCP2Settings, self.connectButton, true,
            tr(TunnelConnectedText), self.flag, lockedWhileUp, usableWhileUp },
        { self.route, false, ui->label_TCP2Settings, self.connectButton, true, tr(TunnelIdleText),
            self.flag, {}, m_tunnelSet + QList<QWidget*> { self.abortButton } },
    };
}

void CommSettings::SetUiConnectionStatus(eRoute_t eRoute, bool ConnectionState)
{
    for (const StatusRow& row : qAsConst(m_statusRows)) {
        if (row.route != eRoute || row.connected != ConnectionState)
            continue;
        row.lamp->setStyleSheet(row.connected ? LampConnected : LampDisconnected);
        if (row.lookIsText)
            row.button->setText(row.look);
        else
            row.button->setStyleSheet(row.look);
        this->*row.flag = row.connected;
        setEnabledAll(row.disable, false);
        setEnabledAll(row.enable, true);
        return;
    }
}

void CommSettings::SetUiSelectedDeviceStatus(int kind)
{
    qCDebug(lcPanel).nospace() << "State: " << kind;
    if (kind != eETHModem && kind != eGSMModem)
        return;
    if (kind == eGSMModem)
        qCDebug(lcPanel).nospace() << "State3: " << kind;

    const QList<QWidget*> ethernetKind
        = m_usbSet + m_ipQuerySet + m_ethernetSet + QList<QWidget*> { ui->label };
    const QList<QWidget*> gsmKind = m_tunnelSet
        + QList<QWidget*> { ui->label_TCP2Settings, ui->pushButton_Abort232,
              ui->pushButton_Abort485 };
    setEnabledAll(ethernetKind, kind == eETHModem);
    setEnabledAll(gsmKind, kind == eGSMModem);
}

void CommSettings::SetCurrentIp(const QByteArray& tstIpAddr)
{
    ui->lineEdit_CurrentIpAddr->setText(QString::fromUtf8(tstIpAddr));
}

void CommSettings::SetTcpConnectButtonStatus(bool bStatus)
{
    ui->pushButton_TcpConnect->setEnabled(bStatus);
}

void CommSettings::SetTcp232ConnectButtonStatus(bool bStatus)
{
    ui->pushButton_232Connect->setEnabled(bStatus);
}

void CommSettings::SetTcp485ConnectButtonStatus(bool bStatus)
{
    ui->pushButton_485Connect->setEnabled(bStatus);
}

// Each call opens and releases its own settings object, so a value saved by
// one field is what the next Load of that key sees. A store that cannot be
// read or written only costs the remembered text: the panel goes on.
QString CommSettings::Load(const QString& Key)
{
    QSettings settings(OrganisationName, ApplicationName);
    settings.beginGroup(SettingsGroup);
    const QString value = settings.value(Key, QVariant()).toString();
    settings.endGroup();
    if (settings.status() != QSettings::NoError)
        qCDebug(lcPanel) << "Settings store:" << settings.fileName() << settings.status();
    return value;
}

void CommSettings::Save(const QString& Key, const QString& Data)
{
    QSettings settings(OrganisationName, ApplicationName);
    // QSettings waits for its lock file without end, and a lock it cannot
    // take or remove (a stale one in a read-only folder) would freeze the
    // panel. A bounded try first; failing it only loses this value.
    if (storeIsFile(settings)) {
        QDir().mkpath(QFileInfo(settings.fileName()).absolutePath());
        QLockFile probe(settings.fileName() + QStringLiteral(".lock"));
        if (!probe.tryLock(StoreLockWaitMs)) {
            qCDebug(lcPanel) << "Settings store locked, not saved:" << settings.fileName()
                             << probe.error();
            return;
        }
        probe.unlock();
    }
    settings.beginGroup(SettingsGroup);
    settings.setValue(Key, Data);
    settings.endGroup();
    settings.sync();
    if (settings.status() != QSettings::NoError)
        qCDebug(lcPanel) << "Settings store:" << settings.fileName() << settings.status();
}

void CommSettings::on_pushButton_RefreshCOM_clicked()
{
    qCDebug(lcPanel, "Refreshed Com ports ");
    // A re-scan after plugging a cable in keeps the port the user picked.
    const QString chosen = portName(ui->comboBox_COMPorts->currentText());
    ui->comboBox_COMPorts->clear();
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : ports)
        ui->comboBox_COMPorts->addItem(tr("%1(%2)").arg(info.portName(), info.description()));
    if (!s_extraSerialDevice.isEmpty())
        ui->comboBox_COMPorts->addItem(
            tr("%1(%2)").arg(s_extraSerialDevice, tr("command line")), ExtraDeviceEntry);
    for (int i = 0; i < ui->comboBox_COMPorts->count(); ++i)
        if (portName(ui->comboBox_COMPorts->itemText(i)) == chosen)
            ui->comboBox_COMPorts->setCurrentIndex(i);
}

// An entry of the port list reads "name(description)".
QString CommSettings::portName(const QString& entry)
{
    return entry.split('(', Qt::KeepEmptyParts).first();
}

QString CommSettings::s_extraSerialDevice;

bool CommSettings::extraSerialDeviceChosen() const
{
    return ui->comboBox_COMPorts->currentData() == ExtraDeviceEntry;
}

void CommSettings::setExtraSerialDevice(const QString& path)
{
    s_extraSerialDevice = path;
}

void CommSettings::on_pushButton_TcpConnect_clicked()
{
    qCDebug(lcPanel, " Tcp state :%s", boolText(TcpConnectionStatus));
    if (!TcpConnectionStatus && !UsbConnectionStatus) {
        if (portToConnect(ui->lineEdit_ServerPort))
            emit ConnectTcp(
                ui->lineEdit_ServerIp->text(), ui->lineEdit_ServerPort->text().toInt(nullptr, 10));
    } else if (TcpConnectionStatus)
        emit DisconnectTcp();
}

void CommSettings::on_pushButton_UsbConnect_clicked()
{
    if (!TcpConnectionStatus && !UsbConnectionStatus) {
        emit ConnectComPort(QSerialPortInfo(portName(ui->comboBox_COMPorts->currentText())));
    } else if (UsbConnectionStatus) {
        emit DisconnectComPort();
    }
}

void CommSettings::on_pushButton_GetIpAddr_clicked()
{
    emit WriteData(AtProtocol::AT_Command_Formatter(TrpCfgCmdTexts[eIdCurrentIPAddr]));
}

void CommSettings::finishIpEdit(QLineEdit* field, const QString& key)
{
    if (isAcceptedIp(field->text()))
        Save(key, field->text());
    else
        field->setText(Load(key));
}

void CommSettings::finishPortEdit(QLineEdit* field, const QString& key)
{
    if (!isAcceptedPort(field->text())) {
        field->setText(Load(key));
        return;
    }
    qCDebug(lcPanel).noquote() << "Port Editing finished" << field->text();
    Save(key, field->text());
}

// A stored port is shown as stored, whatever it holds; read as a number and
// narrowed to 16 bits, "70000" would reach port 4464 without a word.
bool CommSettings::portToConnect(const QLineEdit* field)
{
    if (isAcceptedPort(field->text()))
        return true;
    emit WriteStatusBar(tr("Port %1 is not a port of 1–65534").arg(field->text()), 3000);
    return false;
}

void CommSettings::on_lineEdit_ServerIp_editingFinished()
{
    finishIpEdit(ui->lineEdit_ServerIp, KeyIp);
}

void CommSettings::on_lineEdit_TcpServerIp_editingFinished()
{
    finishIpEdit(ui->lineEdit_TcpServerIp, KeyIpTcp);
}

void CommSettings::on_lineEdit_ServerPort_editingFinished()
{
    finishPortEdit(ui->lineEdit_ServerPort, KeyPort);
}

void CommSettings::on_lineEdit_ServerPort232_editingFinished()
{
    finishPortEdit(ui->lineEdit_ServerPort232, KeyPort232);
}

void CommSettings::on_lineEdit_ServerPort485_editingFinished()
{
    finishPortEdit(ui->lineEdit_ServerPort485, KeyPort485);
}

// The pressed button stays disabled until the main window reports the
// tunnel's outcome, so a slow connect cannot be requested twice.
void CommSettings::pressTunnelButton(const Tunnel& self, const Tunnel* alsoReported)
{
    qCDebug(lcPanel, "%s%s", self.stateText, boolText(this->*self.flag));
    if (alsoReported)
        qCDebug(lcPanel, "%s%s", alsoReported->stateText, boolText(this->*alsoReported->flag));
    const bool anyRouteUp = TcpConnectionStatus || UsbConnectionStatus || Tcp232ConnectionStatus
        || Tcp485ConnectionStatus;
    if (!anyRouteUp && !portToConnect(self.portField))
        return;
    self.connectButton->setEnabled(false);
    if (!anyRouteUp)
        emit(this->*self.connectRequest)(
            ui->lineEdit_TcpServerIp->text(), self.portField->text().toInt(nullptr, 10));
    else if (this->*self.flag)
        emit(this->*self.disconnectRequest)();
}

void CommSettings::on_pushButton_232Connect_clicked()
{
    pressTunnelButton(m_tunnel232);
}

void CommSettings::on_pushButton_485Connect_clicked()
{
    pressTunnelButton(m_tunnel485, &m_tunnel232);
}

void CommSettings::on_pushButton_Abort485_clicked()
{
    emit AbortTcp485();
}

void CommSettings::on_pushButton_Abort232_clicked()
{
    emit AbortTcp232();
}
