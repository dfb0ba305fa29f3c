#include "commsettings.h"
#include "testsettings.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

Q_DECLARE_METATYPE(QSerialPortInfo)

namespace {

const QString Green = "background-color:green";
const QString Red = "background-color:red";

QString imageLook(const QString& icon)
{
    return "QPushButton{background-color:transparent;border-image: url(:/Button/Icons/" + icon
        + ");border:none;background-repeat: none;}QPushButton:pressed{background-color:black;}";
}

// The control sets, written out here on their own so a slip in the panel's
// sets shows up as a difference.
const QStringList UsbSet = { "pushButton_RefreshCOM", "comboBox_COMPorts", "pushButton_UsbConnect",
    "label_USB_Settings", "label_COMPort" };
const QStringList EthernetSet = { "lineEdit_ServerIp", "lineEdit_ServerPort",
    "pushButton_TcpConnect", "label_ServerPort", "label_ServverIp", "label_TcpSettings" };
const QStringList IpQuerySet = { "pushButton_GetIpAddr", "lineEdit_CurrentIpAddr" };
const QStringList TunnelSet = { "label_ServerPort232", "label_ServerPort485", "label_TcpServerIp",
    "pushButton_232Connect", "pushButton_485Connect", "lineEdit_ServerPort232",
    "lineEdit_ServerPort485", "lineEdit_TcpServerIp" };
const QStringList Loose
    = { "label_TCP2Settings", "pushButton_Abort232", "pushButton_Abort485", "label", "label_2" };
const QStringList AllControls = UsbSet + EthernetSet + IpQuerySet + TunnelSet + Loose;
const QStringList Lamps = { "label_TcpSettings", "label_USB_Settings", "label_TCP2Settings" };

template <class T = QWidget> T* control(CommSettings& p, const QString& name)
{
    T* w = p.findChild<T*>(name);
    if (!w)
        qFatal("no control %s", qPrintable(name));
    return w;
}

void finishEdit(CommSettings& p, const QString& field, const QString& text)
{
    auto* edit = control<QLineEdit>(p, field);
    edit->setText(text);
    QMetaObject::invokeMethod(edit, "editingFinished");
}

// Records every signal of the panel, so a test sees what fired and also
// that nothing else did.
class SignalLog
{
public:
    explicit SignalLog(CommSettings& p)
    {
        const QMetaObject* mo = p.metaObject();
        for (int i = mo->methodOffset(); i < mo->methodCount(); ++i) {
            const QMetaMethod m = mo->method(i);
            if (m.methodType() != QMetaMethod::Signal)
                continue;
            spies.emplace_back(new QSignalSpy(&p, QByteArray("2") + m.methodSignature()));
            names << QString::fromLatin1(m.name());
        }
    }
    QStringList fired() const
    {
        QStringList out;
        for (size_t i = 0; i < spies.size(); ++i)
            for (int n = 0; n < spies[i]->count(); ++n)
                out << names[int(i)];
        return out;
    }
    QList<QVariant> args(const QString& name) const
    {
        const int i = names.indexOf(name);
        return spies[size_t(i)]->isEmpty() ? QList<QVariant>() : spies[size_t(i)]->first();
    }

private:
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    QStringList names;
};

// Names of the controls whose enabled state is not what a rule says: the
// ones it disables, the ones it enables, and every other keeping `prior`.
QStringList enablementMismatches(
    CommSettings& p, const QStringList& disabled, const QStringList& enabled, bool prior)
{
    QStringList wrong;
    for (const QString& name : AllControls) {
        const bool expected = disabled.contains(name) ? false
            : enabled.contains(name)                  ? true
                                                      : prior;
        if (control(p, name)->isEnabled() != expected)
            wrong << name;
    }
    return wrong;
}

void setAllEnabled(CommSettings& p, bool enabled)
{
    for (const QString& name : AllControls)
        control(p, name)->setEnabled(enabled);
}

using Steps = QList<QPair<int, bool>>;

void apply(CommSettings& p, const Steps& steps)
{
    for (const auto& s : steps)
        p.SetUiConnectionStatus(CommSettings::eRoute_t(s.first), s.second);
}

} // namespace

class TestCommSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void firstRunShowsPlaceholders();
    void saveLoadRoundTrip_data();
    void saveLoadRoundTrip();
    void storedValueShownUnchecked();
    void unusableStore_data();
    void unusableStore();

    void ipRule_data();
    void ipRule();
    void portRule_data();
    void portRule();
    void newPanelShowsLastSaved();

    void buttonRequests_data();
    void buttonRequests();
    void connectArguments_data();
    void connectArguments();
    void currentIpQuery();
    void serialPortList();

    void connectionStatusTable_data();
    void connectionStatusTable();
    void tunnelUpThenDown();
    void deviceKind_data();
    void deviceKind();
    void connectButtonStatus();
    void initialLook();

private:
    QString m_storeDir;
};

void TestCommSettings::initTestCase()
{
    m_storeDir = isolateSettings();
    qRegisterMetaType<QSerialPortInfo>();
}

void TestCommSettings::init()
{
    isolateSettings(); // a test that points the store elsewhere may have failed half-way
    QSettings s("Kolvex", "Configurator");
    s.clear();
    s.sync();
    QVERIFY2(s.fileName().startsWith(m_storeDir), qPrintable(s.fileName()));
}

void TestCommSettings::firstRunShowsPlaceholders()
{
    CommSettings p;
    const QList<QPair<QString, QString>> fields = { { "lineEdit_ServerIp", "192.168.0.20" },
        { "lineEdit_ServerPort", "502" }, { "lineEdit_TcpServerIp", "" },
        { "lineEdit_ServerPort232", "501" }, { "lineEdit_ServerPort485", "500" } };
    for (const auto& f : fields) {
        auto* edit = control<QLineEdit>(p, f.first);
        QCOMPARE(edit->text(), QString());
        QCOMPARE(edit->placeholderText(), f.second);
    }
}

void TestCommSettings::saveLoadRoundTrip_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QString big;
    for (int i = 0; big.size() < 10 * 1024; ++i)
        big += QString("%1=ç\\;,\"#[x] ").arg(i);
    QTest::newRow("plain") << "Ip"
                           << "10.0.0.5";
    QTest::newRow("spaces") << "Port"
                            << "  5 0 2  ";
    QTest::newRow("unicode") << "IpTcp"
                             << "İptal ğüşöç 中文 ✓";
    QTest::newRow("equals") << "Port232"
                            << "a=b==c";
    QTest::newRow("backslash") << "Port485"
                               << "C:\\dir\\\\x\\";
    QTest::newRow("ini syntax") << "Ip"
                                << "[Commsettings]\nIp=1;#x, \"q\"";
    QTest::newRow("10 KB") << "IpTcp" << big;
    QTest::newRow("empty") << "Port"
                           << "";
}

void TestCommSettings::saveLoadRoundTrip()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    {
        CommSettings writer;
        writer.Save(key, "earlier value");
        writer.Save(key, value);
        QCOMPARE(writer.Load(key), value);
    }
    CommSettings reader;
    QCOMPARE(reader.Load(key), value);
    QSettings raw("Kolvex", "Configurator");
    QCOMPARE(raw.value("Commsettings/" + key).toString(), value);
}

void TestCommSettings::storedValueShownUnchecked()
{
    {
        QSettings raw("Kolvex", "Configurator");
        raw.setValue("Commsettings/Ip", "not an address");
        raw.setValue("Commsettings/Port485", "99999");
    }
    CommSettings p;
    QCOMPARE(control<QLineEdit>(p, "lineEdit_ServerIp")->text(), QString("not an address"));
    QCOMPARE(control<QLineEdit>(p, "lineEdit_ServerPort485")->text(), QString("99999"));
}

void TestCommSettings::unusableStore_data()
{
    QTest::addColumn<QString>("breakage");
    QTest::newRow("folder path runs through a file") << "file";
    QTest::newRow("store file is a folder") << "folder";
    QTest::newRow("store file is garbage") << "garbage";
}

void TestCommSettings::unusableStore()
{
    QFETCH(QString, breakage);
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString root = tmp.path();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
        breakage == "file" ? root + "/plainfile/sub" : root);
    const QString storeFile = QSettings("Kolvex", "Configurator").fileName();
    if (breakage == "file") {
        QFile f(root + "/plainfile");
        QVERIFY(f.open(QIODevice::WriteOnly));
    } else if (breakage == "folder") {
        QVERIFY(QDir().mkpath(storeFile));
    } else {
        QVERIFY(QDir().mkpath(QFileInfo(storeFile).path()));
        QFile f(storeFile);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QByteArray junk;
        for (int i = 0; i < 4096; ++i)
            junk += char((i * 37) % 256);
        f.write(junk);
    }

    QElapsedTimer clock;
    clock.start();
    {
        CommSettings p;
        finishEdit(p, "lineEdit_ServerIp", "10.0.0.5");
        finishEdit(p, "lineEdit_ServerPort", "70000");
        p.Save("Port232", "501");
        // A corrupt file is written over; a store that cannot be reached at
        // all just remembers nothing.
        const bool reachable = breakage == "garbage";
        QCOMPARE(p.Load("Ip"), reachable ? QString("10.0.0.5") : QString());
        QCOMPARE(p.Load("Port232"), reachable ? QString("501") : QString());
        if (!reachable)
            QCOMPARE(control<QLineEdit>(p, "lineEdit_ServerPort")->text(), QString());
        QCOMPARE(control<QLineEdit>(p, "lineEdit_ServerIp")->text(), QString("10.0.0.5"));
    }
    QVERIFY2(clock.elapsed() < 5000, "an unusable store held the panel up");
}

void TestCommSettings::ipRule_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    const QList<QPair<QString, QString>> fields
        = { { "lineEdit_ServerIp", "Ip" }, { "lineEdit_TcpServerIp", "IpTcp" } };
    const QList<QPair<QString, bool>> cases = {
        { "192.168.0.20", true },
        { "10.0.0.256", true },
        { "1.2.3.4.5", true },
        { "0.0.0.0", true },
        { "192.168.1", false },
        { "1..2.3", false },
        { "192.168.00.1", false },
        { "a.b.c.d", false },
        { "", false },
        { "1.2.3.", false },
        { "1.2.3.x4", false },
    };
    for (const auto& f : fields) {
        for (const auto& c : cases)
            QTest::addRow("%s %s", qPrintable(f.second), qPrintable(c.first))
                << f.first << f.second << "10.9.8.7" << c.first << c.second;
        QTest::addRow("%s nothing remembered", qPrintable(f.second))
            << f.first << f.second << QString() << "a.b.c.d" << false;
    }
}

void TestCommSettings::ipRule()
{
    QFETCH(QString, field);
    QFETCH(QString, key);
    QFETCH(QString, remembered);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    CommSettings p;
    if (!remembered.isNull())
        p.Save(key, remembered);
    finishEdit(p, field, typed);
    const QString expected = accepted ? typed : remembered;
    QCOMPARE(control<QLineEdit>(p, field)->text(), expected);
    QCOMPARE(p.Load(key), expected);
}

void TestCommSettings::portRule_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    const QList<QPair<QString, QString>> fields = { { "lineEdit_ServerPort", "Port" },
        { "lineEdit_ServerPort232", "Port232" }, { "lineEdit_ServerPort485", "Port485" } };
    const QList<QPair<QString, bool>> cases = {
        { "1", true },
        { "65534", true },
        { "0502", true },
        { "65535", false },
        { "0", false },
        { "-5", false },
        { "abc", false },
        { "", false },
        { "70000", false },
        { "502x", false },
    };
    for (const auto& f : fields)
        for (const auto& c : cases)
            QTest::addRow("%s '%s'", qPrintable(f.second), qPrintable(c.first))
                << f.first << f.second << c.first << c.second;
}

void TestCommSettings::portRule()
{
    QFETCH(QString, field);
    QFETCH(QString, key);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    CommSettings p;
    p.Save(key, "4001");
    finishEdit(p, field, typed);
    const QString expected = accepted ? typed : QString("4001");
    QCOMPARE(control<QLineEdit>(p, field)->text(), expected);
    QCOMPARE(p.Load(key), expected);
}

void TestCommSettings::newPanelShowsLastSaved()
{
    const QList<QPair<QString, QString>> typed = { { "lineEdit_ServerIp", "10.0.0.5" },
        { "lineEdit_ServerPort", "0502" }, { "lineEdit_TcpServerIp", "5.6.7.8" },
        { "lineEdit_ServerPort232", "501" }, { "lineEdit_ServerPort485", "65534" } };
    {
        CommSettings first;
        for (const auto& t : typed)
            finishEdit(first, t.first, t.second);
        finishEdit(first, "lineEdit_ServerPort485", "65535"); // rejected, keeps 65534
    }
    CommSettings second;
    for (const auto& t : typed)
        QCOMPARE(control<QLineEdit>(second, t.first)->text(), t.second);
}

// Which request a button makes, by the routes the main window has reported
// up. The tunnel buttons disable themselves whatever they ask for.
void TestCommSettings::buttonRequests_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("fired");

    const QList<QPair<QString, Steps>> states = {
        { "idle", {} },
        { "tcp up", { { CommSettings::TCP, true } } },
        { "usb up", { { CommSettings::USB, true } } },
        { "232 up", { { CommSettings::TCP232, true } } },
        { "485 up", { { CommSettings::TCP485, true } } },
        { "tcp down again", { { CommSettings::TCP, true }, { CommSettings::TCP, false } } },
        { "232 down again", { { CommSettings::TCP232, true }, { CommSettings::TCP232, false } } },
    };
    const QList<QPair<QString, QStringList>> expectations[] = {
        // pushButton_TcpConnect: the tunnel flags are not consulted
        { { "idle", { "ConnectTcp" } }, { "tcp up", { "DisconnectTcp" } }, { "usb up", {} },
            { "232 up", { "ConnectTcp" } }, { "485 up", { "ConnectTcp" } },
            { "tcp down again", { "ConnectTcp" } }, { "232 down again", { "ConnectTcp" } } },
        // pushButton_UsbConnect
        { { "idle", { "ConnectComPort" } }, { "tcp up", {} }, { "usb up", { "DisconnectComPort" } },
            { "232 up", { "ConnectComPort" } }, { "485 up", { "ConnectComPort" } },
            { "tcp down again", { "ConnectComPort" } },
            { "232 down again", { "ConnectComPort" } } },
        // pushButton_232Connect
        { { "idle", { "ConnectTcp232" } }, { "tcp up", {} }, { "usb up", {} },
            { "232 up", { "DisconnectTcp232" } }, { "485 up", {} },
            { "tcp down again", { "ConnectTcp232" } }, { "232 down again", { "ConnectTcp232" } } },
        // pushButton_485Connect
        { { "idle", { "ConnectTcp485" } }, { "tcp up", {} }, { "usb up", {} }, { "232 up", {} },
            { "485 up", { "DisconnectTcp485" } }, { "tcp down again", { "ConnectTcp485" } },
            { "232 down again", { "ConnectTcp485" } } },
    };
    const QStringList buttons = { "pushButton_TcpConnect", "pushButton_UsbConnect",
        "pushButton_232Connect", "pushButton_485Connect" };
    for (int b = 0; b < buttons.size(); ++b) {
        for (const auto& e : expectations[b]) {
            Steps steps;
            for (const auto& s : states)
                if (s.first == e.first)
                    steps = s.second;
            QTest::addRow("%s, %s", qPrintable(buttons[b]), qPrintable(e.first))
                << steps << buttons[b] << e.second;
        }
    }
    for (const auto& s : states) {
        QTest::addRow("abort 232, %s", qPrintable(s.first))
            << s.second << "pushButton_Abort232" << QStringList { "AbortTcp232" };
        QTest::addRow("abort 485, %s", qPrintable(s.first))
            << s.second << "pushButton_Abort485" << QStringList { "AbortTcp485" };
        QTest::addRow("current ip, %s", qPrintable(s.first))
            << s.second << "pushButton_GetIpAddr" << QStringList { "WriteData" };
    }
}

void TestCommSettings::buttonRequests()
{
    QFETCH(Steps, steps);
    QFETCH(QString, button);
    QFETCH(QStringList, fired);
    CommSettings p;
    apply(p, steps);
    auto* b = control<QPushButton>(p, button);
    b->setEnabled(true);
    SignalLog log(p);
    b->click();
    QCOMPARE(log.fired(), fired);
    const bool tunnelButton
        = button == "pushButton_232Connect" || button == "pushButton_485Connect";
    QCOMPARE(b->isEnabled(), !tunnelButton);
    if (tunnelButton) {
        // Pressing the now disabled button again asks for nothing more.
        b->click();
        QCOMPARE(log.fired(), fired);
    }
}

void TestCommSettings::connectArguments_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("ipField");
    QTest::addColumn<QString>("portField");
    QTest::addColumn<QString>("signal");
    QTest::addColumn<QString>("portText");
    QTest::addColumn<int>("port");
    const struct
    {
        const char* button;
        const char* ipField;
        const char* portField;
        const char* signal;
    } routes[] = {
        { "pushButton_TcpConnect", "lineEdit_ServerIp", "lineEdit_ServerPort", "ConnectTcp" },
        { "pushButton_232Connect", "lineEdit_TcpServerIp", "lineEdit_ServerPort232",
            "ConnectTcp232" },
        { "pushButton_485Connect", "lineEdit_TcpServerIp", "lineEdit_ServerPort485",
            "ConnectTcp485" },
    };
    const QList<QPair<QString, int>> ports
        = { { "502", 502 }, { "0502", 502 }, { "abc", 0 }, { "", 0 } };
    for (const auto& r : routes)
        for (const auto& pt : ports)
            QTest::addRow("%s '%s'", r.signal, qPrintable(pt.first))
                << r.button << r.ipField << r.portField << r.signal << pt.first << pt.second;
}

void TestCommSettings::connectArguments()
{
    QFETCH(QString, button);
    QFETCH(QString, ipField);
    QFETCH(QString, portField);
    QFETCH(QString, signal);
    QFETCH(QString, portText);
    QFETCH(int, port);
    CommSettings p;
    // Both address fields differ, so taking the wrong one shows.
    control<QLineEdit>(p, "lineEdit_ServerIp")->setText("192.168.0.20");
    control<QLineEdit>(p, "lineEdit_TcpServerIp")->setText("10.1.2.3");
    for (const char* f :
        { "lineEdit_ServerPort", "lineEdit_ServerPort232", "lineEdit_ServerPort485" })
        control<QLineEdit>(p, f)->setText("9");
    control<QLineEdit>(p, portField)->setText(portText);
    SignalLog log(p);
    control<QPushButton>(p, button)->click();
    QCOMPARE(log.fired(), QStringList { signal });
    const QList<QVariant> args = log.args(signal);
    QCOMPARE(args.at(0).toString(), control<QLineEdit>(p, ipField)->text());
    QCOMPARE(args.at(1).toInt(), port);
}

void TestCommSettings::currentIpQuery()
{
    CommSettings p;
    SignalLog log(p);
    control<QPushButton>(p, "pushButton_GetIpAddr")->setEnabled(true);
    control<QPushButton>(p, "pushButton_GetIpAddr")->click();
    QCOMPARE(log.args("WriteData").value(0).toByteArray(), QByteArray("AT+CURRENT_IP\r\n"));

    p.SetCurrentIp(QByteArray("192.168.1.7"));
    QCOMPARE(control<QLineEdit>(p, "lineEdit_CurrentIpAddr")->text(), QString("192.168.1.7"));
    p.SetCurrentIp(QString("ağ ✓").toUtf8());
    QCOMPARE(control<QLineEdit>(p, "lineEdit_CurrentIpAddr")->text(), QString("ağ ✓"));
}

void TestCommSettings::serialPortList()
{
    CommSettings p;
    auto* combo = control<QComboBox>(p, "comboBox_COMPorts");
    const auto ports = QSerialPortInfo::availablePorts();
    QCOMPARE(combo->count(), ports.size()); // the design-time "COM20" is gone
    for (int i = 0; i < ports.size(); ++i)
        QCOMPARE(combo->itemText(i), ports[i].portName() + "(" + ports[i].description() + ")");

    SignalLog log(p);
    control<QPushButton>(p, "pushButton_UsbConnect")->click();
    QCOMPARE(log.fired(), QStringList { "ConnectComPort" });
    const auto first = log.args("ConnectComPort").value(0).value<QSerialPortInfo>();
    QCOMPARE(first.portName(), ports.isEmpty() ? QString() : ports.first().portName());

    if (ports.isEmpty())
        QSKIP("no serial port on this machine to check the name taken from a list item");
    // The port name is what stands before the first "(", even when the
    // description brings brackets of its own.
    combo->clear();
    combo->addItem(ports.first().portName() + "(USB Serial Device (COM9))");
    SignalLog log2(p);
    control<QPushButton>(p, "pushButton_UsbConnect")->click();
    QCOMPARE(log2.args("ConnectComPort").value(0).value<QSerialPortInfo>().portName(),
        ports.first().portName());
}

// What each reported route state does to the panel. Rows name their
// controls by object name; every named control is checked, and every
// control a row does not name must keep whatever state it had.
void TestCommSettings::connectionStatusTable_data()
{
    QTest::addColumn<int>("route");
    QTest::addColumn<bool>("state");
    QTest::addColumn<QString>("lamp");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("look");
    QTest::addColumn<QStringList>("disabled");
    QTest::addColumn<QStringList>("enabled");
    QTest::addColumn<QString>("pressedAsks");

    const QStringList sharedByTunnelsUp = { "label_ServerPort232", "label_ServerPort485",
        "label_TcpServerIp", "lineEdit_TcpServerIp" };
    const QStringList otherRoutes
        = QStringList { "lineEdit_ServerIp", "lineEdit_ServerPort" } + UsbSet + IpQuerySet;
    QTest::newRow("TCP up") << int(CommSettings::TCP) << true << "label_TcpSettings"
                            << "pushButton_TcpConnect" << imageLook("ethernet_disconnect.png")
                            << UsbSet + TunnelSet << IpQuerySet << "DisconnectTcp";
    QTest::newRow("TCP down") << int(CommSettings::TCP) << false << "label_TcpSettings"
                              << "pushButton_TcpConnect" << imageLook("ethernet.png") << IpQuerySet
                              << UsbSet << "ConnectTcp";
    QTest::newRow("USB up") << int(CommSettings::USB) << true << "label_USB_Settings"
                            << "pushButton_UsbConnect" << imageLook("usb_disconnect.png")
                            << EthernetSet + TunnelSet << IpQuerySet << "DisconnectComPort";
    QTest::newRow("USB down") << int(CommSettings::USB) << false << "label_USB_Settings"
                              << "pushButton_UsbConnect" << imageLook("usb_connect.png")
                              << IpQuerySet << EthernetSet << "ConnectComPort";
    QTest::newRow("TCP232 up") << int(CommSettings::TCP232) << true << "label_TCP2Settings"
                               << "pushButton_232Connect"
                               << "Disconnect"
                               << otherRoutes
            + QStringList { "pushButton_485Connect", "lineEdit_ServerPort485",
                  "pushButton_Abort232" }
                               << sharedByTunnelsUp
            + QStringList { "pushButton_232Connect", "lineEdit_ServerPort232",
                  "pushButton_Abort485" }
                               << "DisconnectTcp232";
    QTest::newRow("TCP232 down") << int(CommSettings::TCP232) << false << "label_TCP2Settings"
                                 << "pushButton_232Connect"
                                 << "Connect" << QStringList()
                                 << TunnelSet + QStringList { "pushButton_Abort232" }
                                 << "ConnectTcp232";
    QTest::newRow("TCP485 up") << int(CommSettings::TCP485) << true << "label_TCP2Settings"
                               << "pushButton_485Connect"
                               << "Disconnect"
                               << otherRoutes
            + QStringList { "pushButton_232Connect", "lineEdit_ServerPort232",
                  "pushButton_Abort485" }
                               << sharedByTunnelsUp
            + QStringList { "pushButton_485Connect", "lineEdit_ServerPort485",
                  "pushButton_Abort232" }
                               << "DisconnectTcp485";
    QTest::newRow("TCP485 down") << int(CommSettings::TCP485) << false << "label_TCP2Settings"
                                 << "pushButton_485Connect"
                                 << "Connect" << QStringList()
                                 << TunnelSet + QStringList { "pushButton_Abort485" }
                                 << "ConnectTcp485";
    for (bool state : { true, false }) {
        QTest::addRow("Max %d", state) << int(CommSettings::Max) << state << ""
                                       << ""
                                       << "" << QStringList() << QStringList() << "";
        QTest::addRow("out of range %d", state) << 7 << state << ""
                                                << ""
                                                << "" << QStringList() << QStringList() << "";
    }
}

void TestCommSettings::connectionStatusTable()
{
    QFETCH(int, route);
    QFETCH(bool, state);
    QFETCH(QString, lamp);
    QFETCH(QString, button);
    QFETCH(QString, look);
    QFETCH(QStringList, disabled);
    QFETCH(QStringList, enabled);
    QFETCH(QString, pressedAsks);

    for (const QString& name : disabled)
        QVERIFY2(!enabled.contains(name), qPrintable(name));
    const QStringList lookButtons = { "pushButton_TcpConnect", "pushButton_UsbConnect",
        "pushButton_232Connect", "pushButton_485Connect" };
    const auto e = CommSettings::eRoute_t(route);

    // Run once from all enabled and once from all disabled, so that both
    // "set" and "left alone" are seen to differ.
    for (bool prior : { true, false }) {
        CommSettings p;
        if (!state)
            p.SetUiConnectionStatus(e, true); // the flag must really drop
        setAllEnabled(p, prior);
        for (const QString& name : Lamps)
            control(p, name)->setStyleSheet("prior");
        control(p, "pushButton_TcpConnect")->setStyleSheet("prior");
        control(p, "pushButton_UsbConnect")->setStyleSheet("prior");
        control<QPushButton>(p, "pushButton_232Connect")->setText("prior");
        control<QPushButton>(p, "pushButton_485Connect")->setText("prior");

        p.SetUiConnectionStatus(e, state);

        const QStringList wrong = enablementMismatches(p, disabled, enabled, prior);
        QVERIFY2(
            wrong.isEmpty(), qPrintable(QString("prior %1: %2").arg(prior).arg(wrong.join(' '))));
        for (const QString& name : Lamps)
            QCOMPARE(control(p, name)->styleSheet(),
                name == lamp ? (state ? Green : Red) : QString("prior"));
        for (const QString& name : lookButtons) {
            auto* b = control<QPushButton>(p, name);
            const bool byText = name == "pushButton_232Connect" || name == "pushButton_485Connect";
            const QString shown = byText ? b->text() : b->styleSheet();
            QCOMPARE(shown, name == button ? look : QString("prior"));
            if (!byText)
                QCOMPARE(b->text(), QString());
        }

        // The route's flag shows in what its own button asks for next.
        if (!button.isEmpty()) {
            auto* b = control<QPushButton>(p, button);
            b->setEnabled(true);
            SignalLog log(p);
            b->click();
            QCOMPARE(log.fired(), QStringList { pressedAsks });
        }
    }
}

void TestCommSettings::tunnelUpThenDown()
{
    CommSettings p;
    p.SetUiSelectedDeviceStatus(CommSettings::eGSMModem);
    auto* lamp = control(p, "label_TCP2Settings");
    p.SetUiConnectionStatus(CommSettings::TCP232, true);
    QCOMPARE(lamp->styleSheet(), Green);
    p.SetUiConnectionStatus(CommSettings::TCP232, false);
    QCOMPARE(lamp->styleSheet(), Red);
    for (const QString& name :
        TunnelSet + QStringList { "pushButton_Abort232", "pushButton_Abort485" })
        QVERIFY2(control(p, name)->isEnabled(), qPrintable(name));
    for (const QString& name :
        UsbSet + IpQuerySet + QStringList { "lineEdit_ServerIp", "lineEdit_ServerPort" })
        QVERIFY2(!control(p, name)->isEnabled(), qPrintable(name));
}

void TestCommSettings::deviceKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("enabled");
    QTest::addColumn<QStringList>("disabled");
    const QStringList ethernetKind = UsbSet + IpQuerySet + EthernetSet + QStringList { "label" };
    const QStringList gsmKind = TunnelSet
        + QStringList { "label_TCP2Settings", "pushButton_Abort232", "pushButton_Abort485" };
    QTest::newRow("Ethernet modem") << 1 << ethernetKind << gsmKind;
    QTest::newRow("GSM modem") << 2 << gsmKind << ethernetKind;
    QTest::newRow("eMax") << 3 << QStringList() << QStringList();
    QTest::newRow("none") << 0 << QStringList() << QStringList();
}

void TestCommSettings::deviceKind()
{
    QFETCH(int, kind);
    QFETCH(QStringList, enabled);
    QFETCH(QStringList, disabled);
    for (bool prior : { true, false }) {
        CommSettings p;
        setAllEnabled(p, prior);
        p.SetUiSelectedDeviceStatus(kind);
        const QStringList wrong = enablementMismatches(p, disabled, enabled, prior);
        QVERIFY2(
            wrong.isEmpty(), qPrintable(QString("prior %1: %2").arg(prior).arg(wrong.join(' '))));
    }

    // A tunnel button left disabled by a press comes back with the GSM kind.
    if (kind == CommSettings::eGSMModem) {
        CommSettings p;
        p.SetUiConnectionStatus(CommSettings::TCP, true);
        control(p, "pushButton_485Connect")->setEnabled(true);
        control<QPushButton>(p, "pushButton_485Connect")->click();
        QVERIFY(!control(p, "pushButton_485Connect")->isEnabled());
        p.SetUiSelectedDeviceStatus(kind);
        QVERIFY(control(p, "pushButton_485Connect")->isEnabled());
    }
}

void TestCommSettings::connectButtonStatus()
{
    CommSettings p;
    const QList<QPair<void (CommSettings::*)(bool), QString>> setters = {
        { &CommSettings::SetTcpConnectButtonStatus, "pushButton_TcpConnect" },
        { &CommSettings::SetTcp232ConnectButtonStatus, "pushButton_232Connect" },
        { &CommSettings::SetTcp485ConnectButtonStatus, "pushButton_485Connect" },
    };
    for (const auto& s : setters) {
        (p.*s.first)(false);
        QVERIFY(!control(p, s.second)->isEnabled());
        (p.*s.first)(true);
        QVERIFY(control(p, s.second)->isEnabled());
    }
}

// The built panel must already carry the not-connected looks that the
// route-state table gives back later.
void TestCommSettings::initialLook()
{
    CommSettings p;
    QCOMPARE(p.windowTitle(), QString("Communication Settings"));
    QCOMPARE(control(p, "pushButton_TcpConnect")->styleSheet(), imageLook("ethernet.png"));
    QCOMPARE(control(p, "pushButton_UsbConnect")->styleSheet(), imageLook("usb_connect.png"));
    QCOMPARE(control<QPushButton>(p, "pushButton_232Connect")->text(), QString("Connect"));
    QCOMPARE(control<QPushButton>(p, "pushButton_485Connect")->text(), QString("Connect"));
    QCOMPARE(control<QPushButton>(p, "pushButton_Abort485")->text(), QString("Abort "));
    QCOMPARE(control<QPushButton>(p, "pushButton_Abort232")->text(), QString("Abort"));
    QCOMPARE(control<QPushButton>(p, "pushButton_GetIpAddr")->text(),
        QString("Read Current Ip Address"));
    for (const QString& name : IpQuerySet)
        QVERIFY(!control(p, name)->isEnabled());
    auto* current = control<QLineEdit>(p, "lineEdit_CurrentIpAddr");
    QVERIFY(current->isReadOnly());
    QVERIFY(!current->hasFrame());
    for (const QString& name : Lamps)
        QVERIFY(control(p, name)->styleSheet().contains("background-color: red;"));
}

QTEST_MAIN(TestCommSettings)
#include "tst_commsettings.moc"
