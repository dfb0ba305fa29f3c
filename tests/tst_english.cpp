// The English interface: which locale gets it, and with the catalogue loaded
// no window, menu, box or status text that bypasses it.
#include "formvalues.h"
#include "trafficwindow.h"
#include "language.h"
#include "simrig.h"
#include "version.h"

// Hands out the catalogue's translations in marks, so that a text shown
// without passing through it stands out even where it reads the same in
// English; a source the catalogue lacks or has unfinished comes back bare.
class MarkingTranslator : public QTranslator
{
public:
    QTranslator english;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char* disambiguation, int n) const override
    {
        const QString text = english.translate(context, source, disambiguation, n);
        return text.isEmpty() ? text : "‹" + text + "›";
    }
};

// Texts set in code or marked untranslatable in a form that read the same
// in both languages: the window title, and numbers and addresses.
const QStringList SameInBoth = { windowTitleText() };
const QRegularExpression Numbers("^[0-9.]+$");

class TestEnglish : public QObject
{
    Q_OBJECT
    MarkingTranslator m_marking;
    QStringList m_bare; // "where: text" of every text shown unmarked

    void expect(const QString& where, const QString& text)
    {
        if (!text.isEmpty() && !SameInBoth.contains(text) && !Numbers.match(text).hasMatch()
            && !(text.startsWith("‹") && text.endsWith("›")))
            m_bare << where + ": " + text;
    }
    void walk(QWidget& top)
    {
        const QList<QWidget*> widgets = top.findChildren<QWidget*>() << &top;
        for (QWidget* w : widgets) {
            QStringList t = { w->windowTitle(), w->toolTip(), w->statusTip(), w->whatsThis() };
            if (auto* x = qobject_cast<QLabel*>(w)) t << x->text();
            if (auto* x = qobject_cast<QAbstractButton*>(w)) t << x->text();
            if (auto* x = qobject_cast<QMenu*>(w)) t << x->title();
            if (auto* x = qobject_cast<QLineEdit*>(w)) t << x->placeholderText();
            if (auto* x = qobject_cast<QSpinBox*>(w)) t << x->prefix() << x->suffix() << x->specialValueText();
            if (auto* x = qobject_cast<QComboBox*>(w)) for (int i = 0; i < x->count(); ++i) t << x->itemText(i);
            for (QAction* a : w->actions())
                t << a->text() << a->toolTip() << a->statusTip();
            for (const QString& text : t)
                expect(top.objectName() + "/" + w->objectName(), text);
        }
    }
    // A serial port's failure is told in the system's words, which are not ours.
    void expectSeen(const QStringList& log, const ModalAnswerer& boxes)
    {
        for (const QString& text : log)
            expect("status", text);
        for (const ModalAnswerer::Box& box : boxes.boxes) {
            expect("box title", box.title);
            if (box.title != "‹Critical Error›")
                expect("box " + box.title, box.text);
        }
    }

private slots:
    void initTestCase()
    {
        // Nothing unfinished or vanished, even where no test below looks.
        QFile ts(QUORVANE_CATALOGUE);
        QVERIFY(ts.open(QIODevice::ReadOnly) && !ts.readAll().contains("<translation type="));
        QVERIFY(installEnglish());
        QCOMPARE(qApp->translate("DeviceChoose", "Devam Et"), QString("Continue"));
        QVERIFY(m_marking.english.load(":/translations/quorvane_en.qm"));
        QVERIFY(qApp->installTranslator(&m_marking));
    }
    void cleanup()
    {
        qDeleteAll(topLevels<DevInfo>());
        const QStringList bare = std::exchange(m_bare, {});
        QVERIFY2(bare.isEmpty(), qPrintable(bare.join('\n')));
    }

    void language_data()
    {
        columns<QString, QString, bool>({ "locale", "quorvaneLang", "english" });
        QTest::newRow("Turkish") << "tr_TR.UTF-8" << "" << false;
        QTest::newRow("Turkish, modifier") << "tr@euro" << "" << false;
        QTest::newRow("C") << "C" << "" << false;
        QTest::newRow("C.UTF-8") << "C.UTF-8" << "" << false;
        QTest::newRow("POSIX") << "POSIX" << "" << false;
        QTest::newRow("unset") << "" << "" << false;
        QTest::newRow("US English") << "en_US.UTF-8" << "" << true;
        QTest::newRow("trv is not Turkish") << "trv_TW" << "" << true;
        QTest::newRow("en over Turkish") << "tr_TR.UTF-8" << "en" << true;
        QTest::newRow("EN over C") << "C" << " EN " << true;
        QTest::newRow("tr over English") << "en_GB.UTF-8" << "tr" << false;
        QTest::newRow("unknown value ignored") << "en_US.UTF-8" << "fr" << true;
    }
    void language()
    {
        const auto [locale, quorvaneLang, english] = fetch<QString, QString, bool>("locale", "quorvaneLang", "english");
        QCOMPARE(chooseLanguage(locale, quorvaneLang) == Language::English, english);
    }

    // The variables in the order POSIX reads them for messages.
    void localeVariables()
    {
        qputenv("LC_ALL", "");
        qputenv("LC_MESSAGES", "tr_TR.UTF-8");
        qputenv("LANG", "en_US.UTF-8");
        QCOMPARE(messagesLocale(), QString("tr_TR.UTF-8"));
        qputenv("LC_ALL", "de_DE.UTF-8");
        QCOMPARE(messagesLocale(), QString("de_DE.UTF-8"));
    }

    void windows_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("Ethernet") << "eth";
        QTest::newRow("4G") << "gsm";
    }

    // As a user meets them: the selection, the main window before and after
    // the first read, the form in its other units, the boxes of an edit and
    // a write, the device information, the traffic, the network settings.
    void windows()
    {
        QFETCH(QString, kind);
        const bool gsm = kind == "gsm";
        DeviceChoose choose;
        walk(choose);
        SimRig rig;
        QVERIFY(rig.start(kind));
        KolvexConfigurator& w = *rig.w;
        walk(w);
        rig.connectRoute(gsm ? "485" : "Usb");
        QTRY_COMPARE_WITH_TIMEOUT(rig.form()->paramsAll().size(), gsm ? 30 : 23, 5000);
        walk(w);
        for (const QString line : { "485", "232" }) {
            control<QComboBox>(w, "comboBox_Mod_" + line)->setCurrentIndex(4);
            control<QSpinBox>(w, "spinBox_RetryCount_" + line)->setValue(1);
        }
        walk(w);
        control<QComboBox>(w, "comboBox_Enable_485")->setCurrentIndex(0);
        control<QComboBox>(w, "comboBox_Datab_485")->setCurrentIndex(0);
        control<QComboBox>(w, "comboBox_Parityb_485")->setCurrentIndex(0);
        if (gsm) {
            control<QLineEdit>(w, "lineEdit_APN")->setText("a,b");
            QMetaObject::invokeMethod(rig.form(), "on_lineEdit_APN_editingFinished");
        }
        control<QPushButton>(w, "pushButton_ConfigurationApply")->click();
        QCOMPARE(rig.boxes.count(), 3);
        control<QAction>(w, "actionGET_INFO")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(topLevels<DevInfo>().size(), 1, 5000);
        walk(*topLevels<DevInfo>().first());
        control<QAction>(w, "actionTraffic")->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(topLevels<TrafficWindow>().size(), 1, 5000);
        walk(*topLevels<TrafficWindow>().first());
        topLevels<TrafficWindow>().first()->close();
        if (!gsm) {
            control<QPushButton>(w, "pushButton_StaticIPConfig")->click();
            StaticIpConfig& ip = *w.staticIpWindow();
            QTRY_VERIFY_WITH_TIMEOUT(!control<QLineEdit>(ip, "lineEdit_MacAddr")->text().isEmpty(), 5000);
            walk(ip);
            control<QLineEdit>(ip, "lineEdit_IpAddr")->setText("1.2.3");
            control<QPushButton>(ip, "pushButton_Apply")->click();
            QVERIFY(rig.boxes.lastText().contains("‹IP Address›"));
            ip.close();
        }
        control<QAction>(w, "actionRESTART_DEVICE")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(rig.logged("Device Restarted!"), 5000);
        control<QPushButton>(w, gsm ? "pushButton_485Connect" : "pushButton_UsbConnect")->click();
        QTRY_VERIFY_WITH_TIMEOUT(w.connectionStatus() == CommSettings::Max, 5000);
        walk(w);
        expectSeen(rig.log, rig.boxes);
    }

    // The tables of status texts through the window's own slots and the
    // form's answer handling, with no modem behind them.
    void statusTexts()
    {
        KolvexConfigurator w(nullptr, 2);
        QStringList log;
        connect(w.statusBar(), &QStatusBar::messageChanged, [&](const QString& m) { log << m; });
        ModalAnswerer boxes;
        for (int e = QAbstractSocket::UnknownSocketError; e <= QAbstractSocket::TemporaryError + 1; ++e)
            w.Tcp232Error(QAbstractSocket::SocketError(e));
        w.TcpError(QAbstractSocket::NetworkError);
        for (int e = QSerialPort::NoError; e <= QSerialPort::NotOpenError; ++e)
            w.SerialErrorHandle(QSerialPort::SerialPortError(e));
        // Both tunnels up and down; the fourth read poll gives up on the modem.
        using K = KolvexConfigurator;
        for (void (K::*slot)() : { &K::Tcp485Connected, &K::TimerServerFull, &K::TimerTcpReading, &K::TimerTcpReading,
                 &K::TimerTcpReading, &K::TimerTcpReading, &K::AbortTcp232Communication, &K::Tcp485Disconnected,
                 &K::Tcp232Connected, &K::AbortTcp485Communication, &K::Tcp232Disconnected, &K::TimerServerFull,
                 &K::TimerTimeoutUsbState, &K::CloseComPort, &K::TcpDisconnected })
            (w.*slot)();
        w.Tcp232StateChanged(QAbstractSocket::UnconnectedState);
        w.Transmit_Callback("AT+PING\r\n");
        control<QLineEdit>(w, "lineEdit_ServerPort485")->setText("70000");
        control<QPushButton>(w, "pushButton_485Connect")->click();

        TransparentConfig& form = *w.findChild<TransparentConfig*>();
        setRoute(form, "485");
        QVERIFY(QMetaObject::invokeMethod(&form, "on_pushButton_ConfigurationApply_clicked"));
        StaticIpConfig ip(CommSettings::USB);
        const QByteArray devInfo = "+DEVINFO=1,2,3,4,5,6,7,8,9,10\r\n";
        for (QByteArray block : QList<QByteArray> { "+PING\r\n", "+OK\r\n", "+RESTART\r\n", "+232CLOSE\r\n",
                 "+485CLOSE\r\n", "+ERR=x\r\n", "+DEVINFO=1\r\n", "+READ_NETWORKCFG=1\r\n", "+READALL=1\r\n",
                 "+READALL=1\r\n+READALL=1\r\n", "+READALL=" + EthValues + "\r\n",
                 "+READALL=" + with(GsmValues, 0, "2") + "\r\n", "+READALL=" + GsmValues + "\r\n" }
                 + QVector<QByteArray>(DevInfoWindows::MaxOpen + 1, devInfo).toList())
            form.Receive_Callback(block, nullptr);
        QByteArray network = "+READ_NETWORKCFG=1\r\n";
        form.Receive_Callback(network, &ip);
        w.loadConfigurationFile(QUORVANE_EXAMPLES "/ethernet.json");
        w.loadConfigurationFile(QUORVANE_EXAMPLES "/gsm.json");
        w.saveConfigurationFile("/nonexistent/gsm.json");
        QTemporaryDir dir;
        w.saveConfigurationFile(dir.filePath("gsm.json"));
        QTRY_COMPARE(boxes.count(), 19);
        log.removeAll(QString());
        QCOMPARE(log.size(), 73);
        expectSeen(log, boxes);
    }

    // An answer that is no answer, reported in each route's words.
    void garbage_data()
    {
        QTest::addColumn<QString>("route");
        for (const char* route : { "Tcp", "Usb", "485", "232" })
            QTest::newRow(route) << route;
    }
    void garbage()
    {
        QFETCH(QString, route);
        SimRig rig;
        QVERIFY(rig.start(route.front().isDigit() ? "gsm" : "eth", { "--garbage" }));
        rig.connectRoute(route);
        QTRY_VERIFY_WITH_TIMEOUT(rig.logged("Error :"), 5000);
        expectSeen(rig.log, rig.boxes);
    }
};

QUORVANE_TEST_MAIN(TestEnglish)
#include "tst_english.moc"
