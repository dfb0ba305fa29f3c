// The connection panel: what each route state and modem kind enables, what
// each button asks for, and the typed addresses it checks and remembers.
#include "testmain.h"

Q_DECLARE_METATYPE(QSerialPortInfo)

constexpr int Tcp = CommSettings::TCP, Usb = CommSettings::USB, T232 = CommSettings::TCP232,
              T485 = CommSettings::TCP485, None = CommSettings::Max;
// The controls the panel enables, in the groups of the state strings: USB,
// Ethernet, IP query, tunnel fields, tunnel buttons and ports, the rest.
const QStringList Controls = QString(
    "pushButton_RefreshCOM comboBox_COMPorts pushButton_UsbConnect label_USB_Settings label_COMPort "
    "lineEdit_ServerIp lineEdit_ServerPort pushButton_TcpConnect label_ServerPort label_ServverIp "
    "label_TcpSettings pushButton_GetIpAddr lineEdit_CurrentIpAddr label_ServerPort232 "
    "label_ServerPort485 label_TcpServerIp lineEdit_TcpServerIp pushButton_232Connect "
    "pushButton_485Connect lineEdit_ServerPort232 lineEdit_ServerPort485 label_TCP2Settings "
    "pushButton_Abort232 pushButton_Abort485 label")
    .split(' ');
const QMap<QString, QString> Field = { { "Ip", "lineEdit_ServerIp" },
    { "IpTcp", "lineEdit_TcpServerIp" }, { "Port", "lineEdit_ServerPort" },
    { "Port232", "lineEdit_ServerPort232" }, { "Port485", "lineEdit_ServerPort485" } };
// The route buttons first, by route.
const QStringList Buttons = { "TcpConnect", "UsbConnect", "232Connect", "485Connect", "Abort232",
    "Abort485", "GetIpAddr" };

// A route-state or modem kind row; its states by control: 0 disabled, 1
// enabled, - left alone. Look: the route button's. Asked: by button, what
// each then asks for.
struct Row
{
    int route; // negative: the modem kind -route instead
    bool up;
    QString look, states, asked;
};
Q_DECLARE_METATYPE(Row)

// Clicks a button, enabled first as only then could the user click it, and
// returns the signals the panel emitted, as "Name arg arg", joined by "+".
QString press(CommSettings& p, const QString& button)
{
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    const QMetaObject* mo = p.metaObject();
    for (int i = mo->methodOffset(); i < mo->methodCount(); ++i)
        if (mo->method(i).methodType() == QMetaMethod::Signal)
            spies.emplace_back(new QSignalSpy(&p, "2" + mo->method(i).methodSignature()));
    control(p, "pushButton_" + button)->setEnabled(true);
    control<QPushButton>(p, "pushButton_" + button)->click();
    QStringList fired;
    for (const auto& spy : spies)
        for (QVariantList args : *spy) {
            args.prepend(QString(spy->signal()).section('(', 0, 0));
            fired << QVariant(args).toStringList().join(' ');
        }
    return fired.join('+');
}

class TestCommSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QMetaType::registerConverter<QSerialPortInfo, QString>(&QSerialPortInfo::portName);
    }

    // On a sound store accepted text is saved as typed (0502 with its zero) and
    // is what the next panel shows; refused text gives way to the remembered one,
    // odd as that is (for IpTcp also longer than a line edit holds). A broken store
    // costs the remembered text and nothing else: the panel comes up, takes edits,
    // connects.
    void store_data()
    {
        // broken: made a folder (ending in '/') or a file of junk
        columns<QString, QString, bool, QString>({ "key", "typed", "accepted", "broken" });
        const QStringList ip[] = { { "192.168.1", "1..2.3", "192.168.00.1", "1.2.3.a", "" },
            { "192.168.0.20", "10.0.0.256", "1.2.3.4.5", "0.0.0.0" } };
        const QStringList port[] = { { "65535", "0", "-5", "abc", "" }, { "1", "65534", "0502" } };
        for (const QString& key : Field.keys())
            for (bool ok : { false, true })
                for (const QString& t : (key.startsWith("Ip") ? ip : port)[ok])
                    QTest::addRow("%s '%s'", qPrintable(key), qPrintable(t))
                        << key << t << ok << "";
        for (const QString path : { "Kolvex/Configurator.conf/", "Kolvex/Configurator.conf.lock/",
                 "Kolvex", "Kolvex/Configurator.conf" })
            for (bool ok : { false, true })
                QTest::addRow("%s broken, %s", qPrintable(path), ok ? "accepted" : "refused")
                    << "Ip" << (ok ? "192.168.0.20" : "192.168.1") << ok << path;
    }

    void store()
    {
        const auto [key, typed, accepted, broken] = fetch<QString, QString, bool, QString>("key", "typed", "accepted", "broken");
        QTemporaryDir dir;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
        const auto back = qScopeGuard([] { isolateSettings(); });
        QFile file(dir.filePath(broken));
        const char junk[] = "[Commsettings\0\xff]\nIp\0=\\\n[\n";
        if (broken.endsWith('/'))
            QVERIFY(QDir().mkpath(file.fileName()));
        else if (!broken.isEmpty())
            QVERIFY(QDir().mkpath(QFileInfo(file).path()) && file.open(QIODevice::WriteOnly)
                && file.write(QByteArray(junk, sizeof junk - 1).repeated(4000)) && file.flush());
        const QString odd = "İptal ğüşöç 中文 ✓ [Commsettings]\nIp=1;#x, \"q\" C:\\d\\\\x\\ a=b==c"
            + QString("= \\ ş;").repeated(key == "IpTcp" ? 6000 : 0);
        const bool keeps = broken.isEmpty() || broken.endsWith(".conf"); // junk is overwritten
        CommSettings p;
        p.Save(key, odd);
        const QString shown = accepted ? typed : keeps ? odd : "", kept = keeps ? shown : "";
        auto* edit = control<QLineEdit>(p, Field[key]);
        edit->setText(typed);
        QMetaObject::invokeMethod(edit, "editingFinished"); // as when the user leaves the field
        QCOMPARE(edit->text(), shown.left(32767));
        // A stored text that is no port is shown, but never dialled.
        if (key != "Port")
            control<QLineEdit>(p, Field["Port"])->setText("502");
        const QString ip = control<QLineEdit>(p, Field["Ip"])->text();
        QCOMPARE(press(p, "TcpConnect"), key != "Port" || accepted
                ? QString("ConnectTcp %1 %2").arg(ip).arg(key == "Port" ? typed.toInt() : 502)
                : "WriteStatusBar Port " + shown + " is not a port of 1–65534 3000");
        CommSettings next;
        QCOMPARE(next.Load(key), kept);
        QCOMPARE(control<QLineEdit>(next, Field[key])->text(), kept.left(32767));
    }

    // A re-scan keeps the chosen port while it is listed (here the command
    // line's device, after the system's), else the first is chosen.
    void refreshPorts()
    {
        const auto back = qScopeGuard([] { CommSettings::setExtraSerialDevice(QString()); });
        CommSettings::setExtraSerialDevice("/dev/quorvane-a");
        CommSettings p;
        auto* ports = control<QComboBox>(p, "comboBox_COMPorts");
        ports->setCurrentIndex(ports->count() - 1);
        press(p, "RefreshCOM");
        QCOMPARE(ports->currentText(), QString("/dev/quorvane-a(command line)"));
        CommSettings::setExtraSerialDevice("/dev/quorvane-b");
        press(p, "RefreshCOM");
        QCOMPARE(ports->currentIndex(), 0);
    }

    // Every row of the route-state table and of the modem kinds, from all enabled
    // and from all disabled so that both "set" and "left alone" show.
    void routes_data()
    {
        QTest::addColumn<Row>("row");
        const QString port = QSerialPortInfo::availablePorts().value(0).portName();
        const QString tcp = "ConnectTcp 192.168.0.20 502|", com = "ConnectComPort " + port + "|";
        const QString noneUp = tcp + com + "ConnectTcp232 10.1.2.3 501|ConnectTcp485 10.1.2.3 500";
        const auto row = [&](const char* name, int route, bool up, const char* look,
                             const char* states, const QString& asked) {
            QTest::newRow(name) << Row { route, up, look, QString(states).remove(' '),
                asked + "|AbortTcp232|AbortTcp485|WriteData AT+CURRENT_IP\r\n" };
        };
        const int eth = -CommSettings::eETHModem, gsm = -CommSettings::eGSMModem;
        row("TCP up", Tcp, true, "ethernet_disconnect", "00000 ------ 11 0000 0000 ----",
            "DisconnectTcp|||");
        row("TCP down", Tcp, false, "ethernet", "11111 ------ 00 ---- ---- ----", noneUp);
        row("USB up", Usb, true, "usb_disconnect", "----- 000000 11 0000 0000 ----",
            "|DisconnectComPort||");
        row("USB down", Usb, false, "usb_connect", "----- 111111 00 ---- ---- ----", noneUp);
        row("232 up", T232, true, "Disconnect", "00000 00---- 00 1111 1010 -01-",
            tcp + com + "DisconnectTcp232|");
        row("232 down", T232, false, "Connect", "----- ------ -- 1111 1111 -1--", noneUp);
        row("485 up", T485, true, "Disconnect", "00000 00---- 00 1111 0101 -10-",
            tcp + com + "|DisconnectTcp485");
        row("485 down", T485, false, "Connect", "----- ------ -- 1111 1111 --1-", noneUp);
        row("Max up", None, true, "", "----- ------ -- ---- ---- ----", noneUp);
        row("Ethernet modem", eth, true, "", "11111 111111 11 0000 0000 0001", noneUp);
        row("GSM modem", gsm, true, "", "00000 000000 00 1111 1111 1110", noneUp);
        row("eMax kind", -CommSettings::eMax, true, "", "----- ------ -- ---- ---- ----", noneUp);
    }

    void routes()
    {
        QFETCH(Row, row);
        const auto route = CommSettings::eRoute_t(row.route);
        for (const QChar prior : { '1', '0' }) {
            CommSettings p;
            p.SetUiConnectionStatus(route, true); // so that a down row must really drop the flag
            for (const QString& name : Controls)
                control(p, name)->setEnabled(prior == '1');
            row.route < 0 ? p.SetUiSelectedDeviceStatus(-row.route)
                          : p.SetUiConnectionStatus(route, row.up);
            QString states;
            for (const QString& name : Controls)
                states += control(p, name)->isEnabled() ? '1' : '0';
            QCOMPARE(states, QString(row.states).replace('-', prior));
            if (row.route >= 0 && row.route < None) {
                const QStringList lamps = { "Tcp", "USB_", "TCP2", "TCP2" };
                QCOMPARE(control(p, "label_" + lamps[row.route] + "Settings")->styleSheet(),
                    row.up ? "background-color:green" : "background-color:red");
                auto* b = control<QPushButton>(p, "pushButton_" + Buttons[row.route]);
                const QString picture = b->styleSheet().section("Icons/", 1).section(".png", 0, 0);
                QCOMPARE(row.route >= T232 ? b->text() : picture, row.look);
            }
            const QStringList typed = { "192.168.0.20", "10.1.2.3", "0502", "501", "0500" };
            for (int i = 0; i < typed.size(); ++i) // by key: Ip, IpTcp, Port, Port232, Port485
                control<QLineEdit>(p, Field.values()[i])->setText(typed[i]);
            // A tunnel button waits, disabled, for the outcome of what it asked for;
            // a report or the GSM kind gives it back.
            for (int i = 0; i < Buttons.size(); ++i) {
                QCOMPARE(press(p, Buttons[i]), row.asked.section('|', i, i));
                QCOMPARE(control(p, "pushButton_" + Buttons[i])->isEnabled(), i != T232 && i != T485);
            }
            p.SetUiSelectedDeviceStatus(CommSettings::eGSMModem);
            QVERIFY(control(p, "pushButton_232Connect")->isEnabled());
            QVERIFY(control(p, "pushButton_485Connect")->isEnabled());
        }
    }
};

QUORVANE_TEST_MAIN(TestCommSettings)
#include "tst_commsettings.moc"
