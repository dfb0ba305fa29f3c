#include "commsettings.h"
#include "testmain.h"
#include "testsettings.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

Q_DECLARE_METATYPE(QSerialPortInfo)

constexpr int Tcp = CommSettings::TCP, Usb = CommSettings::USB, T232 = CommSettings::TCP232,
              T485 = CommSettings::TCP485, None = CommSettings::Max;

// The control sets, written out here on their own so a slip in the panel's
// sets shows up as a difference. A set's key stands for its controls.
const QMap<QString, QString> Sets = {
    { "U",
        "pushButton_RefreshCOM comboBox_COMPorts pushButton_UsbConnect label_USB_Settings "
        "label_COMPort" },
    { "E", "L pushButton_TcpConnect label_ServerPort label_ServverIp label_TcpSettings" },
    { "Q", "pushButton_GetIpAddr lineEdit_CurrentIpAddr" },
    { "T",
        "S pushButton_232Connect pushButton_485Connect lineEdit_ServerPort232 "
        "lineEdit_ServerPort485" },
    { "rest", "label_TCP2Settings pushButton_Abort232 pushButton_Abort485 label" },
    { "L", "lineEdit_ServerIp lineEdit_ServerPort" },
    { "S", "label_ServerPort232 label_ServerPort485 label_TcpServerIp lineEdit_TcpServerIp" },
    { "G", "T label_TCP2Settings pushButton_Abort232 pushButton_Abort485" }, // the GSM kind's
};
// Indexed by route.
const QStringList Lamps
    = { "label_TcpSettings", "label_USB_Settings", "label_TCP2Settings", "label_TCP2Settings" };
const QStringList RouteButtons = { "pushButton_TcpConnect", "pushButton_UsbConnect",
    "pushButton_232Connect", "pushButton_485Connect" };
const QMap<QString, QString> FieldOf = { { "Ip", "lineEdit_ServerIp" },
    { "IpTcp", "lineEdit_TcpServerIp" }, { "Port", "lineEdit_ServerPort" },
    { "Port232", "lineEdit_ServerPort232" }, { "Port485", "lineEdit_ServerPort485" } };

class TestCommSettings : public QObject
{
    Q_OBJECT

    template <class T = QWidget> static T* control(CommSettings& p, const QString& name)
    {
        return p.findChild<T*>(name);
    }

    static QStringList expand(const QString& names)
    {
        QStringList out;
        for (const QString& w : names.split(' ', Qt::SkipEmptyParts))
            out += Sets.contains(w) ? expand(Sets[w]) : QStringList { w };
        return out;
    }

    // Clicks a button, enabled first as only then could the user click it, and
    // returns every signal the panel emitted, as "Name arg arg".
    static QStringList press(CommSettings& p, const QString& button)
    {
        QList<QSharedPointer<QSignalSpy>> spies;
        const QMetaObject* mo = p.metaObject();
        for (int i = mo->methodOffset(); i < mo->methodCount(); ++i)
            if (mo->method(i).methodType() == QMetaMethod::Signal)
                spies << QSharedPointer<QSignalSpy>::create(
                    &p, "2" + mo->method(i).methodSignature());
        control(p, button)->setEnabled(true);
        control<QPushButton>(p, button)->click();
        QStringList fired;
        for (const auto& spy : spies)
            for (QVariantList args : *spy) {
                args.prepend(QString(spy->signal()).section('(', 0, 0));
                fired << QVariant(args).toStringList().join(' ');
            }
        return fired;
    }

private slots:
    void initTestCase()
    {
        const QString store = isolateSettings();
        QVERIFY(QSettings("Kolvex", "Configurator").fileName().startsWith(store));
        QMetaType::registerConverter<QSerialPortInfo, QString>(&QSerialPortInfo::portName);
    }

    void saveLoadRoundTrip_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("unusual")
            << "İptal ğüşöç 中文 ✓ [Commsettings]\nIp=1;#x, \"q\" C:\\d\\\\x\\ a=b==c";
        QTest::newRow("long") << QString("= \\ ş;").repeated(50000);
    }

    void saveLoadRoundTrip()
    {
        QFETCH(QString, value);
        CommSettings().Save("IpTcp", value);
        CommSettings p;
        QCOMPARE(p.Load("IpTcp"), value);
        auto* field = control<QLineEdit>(p, "lineEdit_TcpServerIp");
        QCOMPARE(field->text(), value.left(field->maxLength()));
    }

    void brokenStore_data()
    {
        QTest::addColumn<QString>("breakage");
        QTest::addColumn<bool>("keeps"); // whether an accepted value is remembered
        QTest::newRow("store is a folder") << "store/" << false;
        QTest::newRow("its folder is a file") << "folder" << false;
        QTest::newRow("lock is a folder") << "lock/" << false;
        QTest::newRow("store is binary junk") << "junk" << true;
    }

    // A store that cannot be read or written costs the remembered text and
    // nothing else: the panel comes up, takes edits and still connects.
    void brokenStore()
    {
        QFETCH(QString, breakage);
        QFETCH(bool, keeps);
        QTemporaryDir dir;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
        const auto back = qScopeGuard([] { isolateSettings(); });
        const QString folder = dir.path() + "/Kolvex", store = folder + "/Configurator.conf";
        if (breakage == "folder") {
            QFile file(folder);
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else if (breakage == "junk") {
            QVERIFY(QDir().mkpath(folder));
            QFile file(store);
            QVERIFY(file.open(QIODevice::WriteOnly));
            const char junk[] = "[Commsettings\0\xff]\nIp\0=\\\n[\n";
            file.write(QByteArray(junk, sizeof junk - 1).repeated(4000));
        } else {
            QVERIFY(QDir().mkpath(breakage == "lock/" ? store + ".lock" : store));
        }

        CommSettings p;
        auto* ip = control<QLineEdit>(p, FieldOf["Ip"]);
        auto* port = control<QLineEdit>(p, FieldOf["Port"]);
        const QString shownAtStart = ip->text();
        for (auto* edit : { ip, port }) {
            edit->setText(edit == ip ? "192.168.0.20" : "502");
            QMetaObject::invokeMethod(edit, "editingFinished");
        }
        QCOMPARE(ip->text(), "192.168.0.20");
        QCOMPARE(press(p, "pushButton_TcpConnect"), { "ConnectTcp 192.168.0.20 502" });
        ip->setText("192.168.1");
        QMetaObject::invokeMethod(ip, "editingFinished");
        QCOMPARE(ip->text(), keeps ? "192.168.0.20" : shownAtStart);
    }

    void editRules_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        const QStringList ip[] = { { "192.168.1", "1..2.3", "192.168.00.1", "a.b.c.d" },
            { "192.168.0.20", "10.0.0.256", "1.2.3.4.5", "0.0.0.0" } };
        const QStringList port[] = { { "65535", "0", "-5", "abc", "" }, { "1", "65534", "0502" } };
        for (const QString& key : FieldOf.keys())
            for (bool good : { false, true })
                for (const QString& t : (key.startsWith("Ip") ? ip : port)[good])
                    QTest::addRow("%s '%s'", qPrintable(key), qPrintable(t)) << key << t << good;
    }

    // Accepted text is saved as typed (0502 with its zero) and is what the
    // next panel shows; rejected text gives way to the remembered one.
    void editRules()
    {
        QFETCH(QString, key);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        CommSettings p;
        p.Save(key, "old");
        auto* edit = control<QLineEdit>(p, FieldOf[key]);
        edit->setText(typed);
        QMetaObject::invokeMethod(edit, "editingFinished");
        QCOMPARE(edit->text(), accepted ? typed : "old");
        CommSettings next;
        QCOMPARE(control<QLineEdit>(next, FieldOf[key])->text(), accepted ? typed : "old");
    }

    void buttonRequests_data()
    {
        QTest::addColumn<int>("up"); // route reported connected before the press
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("fired");
        auto row = [](const char* button, const QStringList& byRoute) {
            for (int up = Tcp; up <= None; ++up)
                QTest::addRow("%s, route %d up", button, up)
                    << up << QString("pushButton_") + button << byRoute.value(up, byRoute[0]);
        };
        QString com = "ConnectComPort " + QSerialPortInfo::availablePorts().value(0).portName();
        const QString tcp = "ConnectTcp 192.168.0.20 502";
        // Up: TCP, USB, TCP232, TCP485, none.
        row("TcpConnect", { "DisconnectTcp", "", tcp, tcp, tcp });
        row("UsbConnect", { "", "DisconnectComPort", com, com, com });
        row("232Connect", { "", "", "DisconnectTcp232", "", "ConnectTcp232 10.1.2.3 501" });
        row("485Connect", { "", "", "", "DisconnectTcp485", "ConnectTcp485 10.1.2.3 500" });
        row("Abort232", { "AbortTcp232" });
        row("Abort485", { "AbortTcp485" });
        row("GetIpAddr", { "WriteData AT+CURRENT_IP\r\n" });
    }

    void buttonRequests()
    {
        QFETCH(int, up);
        QFETCH(QString, button);
        QFETCH(QString, fired);
        CommSettings p;
        const QStringList typed = { "192.168.0.20", "10.1.2.3", "0502", "501", "0500" };
        for (int i = 0; i < typed.size(); ++i)
            control<QLineEdit>(p, FieldOf.values().at(i))->setText(typed[i]);
        p.SetUiConnectionStatus(CommSettings::eRoute_t(up), true);
        QCOMPARE(press(p, button), fired.isEmpty() ? QStringList() : QStringList { fired });
        // A tunnel button waits, disabled, for the outcome of what it asked
        // for; only a report or the GSM kind gives it back.
        const bool tunnel = button == RouteButtons[T232] || button == RouteButtons[T485];
        QCOMPARE(control(p, button)->isEnabled(), !tunnel);
        if (tunnel) {
            p.SetUiSelectedDeviceStatus(CommSettings::eGSMModem);
            QVERIFY(control(p, button)->isEnabled());
        }
    }

    // Every row of the route-state table and of the modem kinds, checked on
    // every control: from all enabled and from all disabled, so that both
    // "set" and "left alone" show.
    void enablement_data()
    {
        QTest::addColumn<int>("route"); // negative: the modem kind -route instead
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("look");
        QTest::addColumn<QString>("disabled");
        QTest::addColumn<QString>("enabled");
        auto row
            = [](const char* name, int route, bool up, const QString& look, const QString& off,
                  const QString& on) { QTest::newRow(name) << route << up << look << off << on; };
        const QString img = "QPushButton{background-color:transparent;border-image: url(:/Button/"
                            "Icons/%1.png);border:none;background-repeat: "
                            "none;}QPushButton:pressed{background-color:black;}";
        const QString lock = "L U Q pushButton_%1Connect lineEdit_ServerPort%1 pushButton_Abort%2";
        const QString keep = "S pushButton_%2Connect lineEdit_ServerPort%2 pushButton_Abort%1";
        row("TCP up", Tcp, true, img.arg("ethernet_disconnect"), "U T", "Q");
        row("TCP down", Tcp, false, img.arg("ethernet"), "Q", "U");
        row("USB up", Usb, true, img.arg("usb_disconnect"), "E T", "Q");
        row("USB down", Usb, false, img.arg("usb_connect"), "Q", "E");
        row("232 up", T232, true, "Disconnect", lock.arg("485", "232"), keep.arg("485", "232"));
        row("232 down", T232, false, "Connect", "", "T pushButton_Abort232");
        row("485 up", T485, true, "Disconnect", lock.arg("232", "485"), keep.arg("232", "485"));
        row("485 down", T485, false, "Connect", "", "T pushButton_Abort485");
        row("Max up", None, true, "", "", "");
        row("out of range down", 7, false, "", "", "");
        row("Ethernet modem", -CommSettings::eETHModem, true, "", "G", "U Q E label");
        row("GSM modem", -CommSettings::eGSMModem, true, "", "U Q E label", "G");
        row("eMax kind", -CommSettings::eMax, true, "", "", "");
    }

    void enablement()
    {
        QFETCH(int, route);
        QFETCH(bool, up);
        QFETCH(QString, look);
        QFETCH(QString, disabled);
        QFETCH(QString, enabled);
        const QStringList off = expand(disabled), on = expand(enabled);
        const auto e = CommSettings::eRoute_t(route);
        for (bool prior : { true, false }) {
            CommSettings p;
            p.SetUiConnectionStatus(e, true); // so that a down row must really drop the flag
            for (const QString& name : expand("U E Q T rest"))
                control(p, name)->setEnabled(prior);
            route < 0 ? p.SetUiSelectedDeviceStatus(-route) : p.SetUiConnectionStatus(e, up);
            for (const QString& n : expand("U E Q T rest"))
                QVERIFY2(
                    control(p, n)->isEnabled() == (!off.contains(n) && (prior || on.contains(n))),
                    qPrintable(n));
            if (route >= 0 && route < None) {
                QCOMPARE(control(p, Lamps[route])->styleSheet(),
                    QString(up ? "background-color:green" : "background-color:red"));
                auto* b = control<QPushButton>(p, RouteButtons[route]);
                QCOMPARE(route >= T232 ? b->text() : b->styleSheet(), look);
                // The flag shows in what the route's own button asks for next.
                QCOMPARE(press(p, RouteButtons[route]).value(0).startsWith("Disconnect"), up);
            }
        }
    }
};

QUORVANE_TEST_MAIN(TestCommSettings)
#include "tst_commsettings.moc"
