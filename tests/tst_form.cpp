// The configuration form: which controls each route opens, the rules that run
// while the user edits, read-all answers in and write-all frames out.
#include "formvalues.h"
#include "testmain.h"

using Answers = QList<QMessageBox::StandardButton>;
Q_DECLARE_METATYPE(Answers)

namespace {

QString forLine(QString names, const QString& line) { return names.replace('#', line); }
const QString params = "spinBox_EthTimeout_# spinBox_ModbusTimeout_# spinBox_SilentInterval_# comboBox_Mod_# "
                       "comboBox_Datab_# comboBox_Parityb_# comboBox_Stopb_# comboBox_Baud_#";
const QString gsmRows = "spinBox_RetryCount_# spinBox_IntervalTime_# spinBox_#_Ping_Interval";
// The groups the enablement rules speak of, in the column order of the state strings.
const QStringList groups = { "comboBox_Enable_485 spinBox_Port_485", forLine(params, "485"),
    "comboBox_Enable_232 spinBox_Port_232", forLine(params, "232"), forLine(gsmRows, "485"),
    forLine(gsmRows, "232"), "lineEdit_APN label_APN", "checkBox_InfoResponse pushButton_ConfigurationApply",
    "pushButton_StaticIPConfig", "label_Retry_Count label_Cmd_Interval_Tme label_Ping_Interval",
    "pushButton_ReadConfiguration" };
const QMap<QString, QString> controls = { { "Mod", "comboBox_Mod_#" }, { "Silent", "spinBox_SilentInterval_#" },
    { "Timeout", "spinBox_ModbusTimeout_#" }, { "Retry", "spinBox_RetryCount_#" },
    { "Interval", "spinBox_IntervalTime_#" }, { "Port", "spinBox_Port_#" } };

// What the control shows, and whether it can be used within the form.
QString state(TransparentConfig& form, const QString& name)
{
    QWidget* w = form.findChild<QWidget*>(name);
    const char* shown = w->inherits("QComboBox") ? "currentText" : w->inherits("QCheckBox") ? "checked" : "text";
    return w->property(shown).toString() + (w->isEnabledTo(&form) ? " on" : " off");
}

// '1' when every control of the group is enabled, '0' when none is.
QChar groupState(TransparentConfig& form, const QString& names)
{
    QString s;
    for (const QString& name : names.split(' '))
        s += form.findChild<QWidget*>(name)->isEnabledTo(&form) ? '1' : '0';
    return s.count(s.at(0)) == s.size() ? s.at(0) : QChar('?');
}

// Everything the user sees and everything the form would send.
QStringList snapshot(TransparentConfig& form)
{
    QStringList all = form.paramsAll() + form.writeAllValues();
    for (QWidget* w : form.findChildren<QWidget*>(QRegularExpression("^(?!qt_).+")))
        all << w->objectName() + "=" + state(form, w->objectName());
    return all;
}

// "Mod=4 Silent=15 Read": a combo takes the index; a spin box the value, then
// the edit is finished as when the user leaves the box; Read takes a valid answer.
void edit(TransparentConfig& form, const QString& steps, const QString& line)
{
    for (const QString& step : steps.split(' ', Qt::SkipEmptyParts)) {
        if (step == "Read") {
            form.applyReadAll(valuesOf(form.connectionType()));
            continue;
        }
        QWidget* w = form.findChild<QWidget*>(forLine(controls[step.section('=', 0, 0)], line));
        const bool combo = w->inherits("QComboBox");
        w->setProperty(combo ? "currentIndex" : "value", step.section('=', 1).toInt());
        if (!combo)
            QMetaObject::invokeMethod(w, "editingFinished");
    }
}

QString frame(const QByteArray& values) { return "AT+WRITEALL=" + values + "\r\n"; }

} // namespace

class TestForm : public QObject
{
    Q_OBJECT

private slots:
    void routes_data()
    {
        // states: per group: '1' on, '0' off, '-' untouched
        columns<QString, QString>({ "op", "states" });
        // en+port485 par485 en+port232 par232 gsm485 gsm232 apn info+apply staticIp gsmLabels read
        for (const char* row : { "ETH true|- - - - 0 0 0 - - 0 -", "ETH false|- - - - 1 1 1 - - 1 -",
                 "USB true|- - - - 0 0 0 - - 0 -", "485 true|0 1 1 0 1 0 1 1 0 - -",
                 "485 false|1 0 0 1 0 1 0 0 1 - -", "232 true|1 0 0 1 0 1 1 1 0 - -",
                 "232 false|0 1 1 0 1 0 0 0 1 - -", "DataRead true|0 0 0 0 0 0 0 0 0 - 1",
                 "DataRead false|1 1 1 1 1 1 1 1 1 - 0" })
            QTest::newRow(row) << QString(row).section('|', 0, 0) << QString(row).section('|', 1);
    }

    // Each route call switches its controls and records the route; the read
    // button then asks for READALL (nothing without a route).
    void routes()
    {
        const auto [op, states] = fetch<QString, QString>("op", "states");
        for (const QChar before : { '0', '1' }) { // untouched controls keep either state
            TransparentConfig form;
            for (const QString& name : groups.join(' ').split(' '))
                form.findChild<QWidget*>(name)->setEnabled(before == '1');
            setRoute(form, op);
            QString actual;
            for (const QString& group : groups)
                actual += QString(groupState(form, group)) + ' ';
            QCOMPARE(actual.trimmed(), QString(states).replace('-', before));
            const int expected = QStringList { "ETH", "USB", "485", "232" }.indexOf(op.section(' ', 0, 0));
            QCOMPARE(int(form.connectionType()), expected < 0 ? int(AtProtocol::eMax) : expected);
            QVERIFY(!form.isEnabled()); // the form as a whole is the main window's business
            QSignalSpy sent(&form, &TransparentConfig::WriteData);
            QMetaObject::invokeMethod(form.findChild<QWidget*>("pushButton_ReadConfiguration"), "clicked");
            QCOMPARE(sent.value(0).value(0).toByteArray(), expected < 0 ? "" : QByteArray("AT+READALL\r\n"));
        }
    }

    void enableCombo_data()
    {
        // expected: port, others: '1' on, '0' off, '-' as they were
        columns<QString, QString, QString>({ "op", "line", "expected" });
        for (const char* row : { "|485|11", "ETH|232|11", "485|485|01", "232|485|--", "485|232|--" })
            QTest::newRow(row) << QString(row).section('|', 0, 0) << QString(row).section('|', 1, 1)
                               << QString(row).section('|', 2);
    }

    // The line's parameters follow its Enable combo, except over the other
    // line's tunnel; over any tunnel the port stays locked.
    void enableCombo()
    {
        const auto [op, line, expected] = fetch<QString, QString, QString>("op", "line", "expected");
        TransparentConfig form;
        setRoute(form, op);
        const QString port = "spinBox_Port_" + line, eight = forLine(params, line);
        const QString before = QString(groupState(form, port)) + groupState(form, eight);
        ModalAnswerer answerer;
        auto* enable = form.findChild<QComboBox*>("comboBox_Enable_" + line);
        enable->setCurrentIndex(1);
        QCOMPARE(answerer.lastTitle() + " | " + answerer.lastText(), QString("Uyarı ! | Portunuz açık ise kapatılacak !"));
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(QString(groupState(form, port)) + groupState(form, eight), expected == "--" ? before : expected);
        enable->setCurrentIndex(0);
        QCOMPARE(groupState(form, eight), expected == "--" ? before[1] : QChar('0'));
    }

    void rules_data()
    {
        // expected: box: 'suffix' min..max/step =value
        columns<QString, QString, QString, QString>({ "line", "op", "steps", "expected" });
        // clang-format off
        const char* const rows[] = {
            "|Mod=4|Silent '    ms' 10..5000/10 =400",
            "|Mod=4 Mod=0|Silent '     char' 4..128/1 =8",
            "|Mod=4 Silent=15|Silent '    ms' 10..5000/10 =10",
            "|Mod=4 Silent=4999|Silent '    ms' 10..5000/10 =4990",
            "|Mod=4 Silent=15 Mod=3 Mod=4|Silent '    ms' 10..5000/10 =10",
            "|Silent=13 Mod=4 Mod=0|Silent '     char' 4..128/1 =13",
            "|Timeout=105|Timeout '     ms' 100..10000/10 =100",
            "|Interval=10|Interval '     ms' 0..1000/50 =0",
            "|Retry=2|Interval '   s' 3..10/1 =3",
            "|Retry=0 Interval=250|Interval '    ms' 0..5000/100 =200",
            "|Retry=2 Interval=8 Mod=1|Interval '   s' 3..10/1 =3",
            // The Ethernet answer carries no interval: a read leaves it at its unit's default.
            "ETH|Interval=700 Read|Interval '    ms' 0..5000/100 =100",
            "ETH|Retry=2 Interval=8 Read|Interval '   s' 3..10/1 =3",
        };
        // clang-format on
        for (const char* line : { "485", "232" })
            for (const QString row : rows)
                QTest::addRow("%s %s", line, qPrintable(row)) << line << row.section('|', 0, 0)
                                                              << row.section('|', 1, 1) << row.section('|', 2);
        // The other line holds 502 (RS485) and 503 (RS232) to start with.
        QTest::newRow("485 takes 503") << "485" << "" << "Port=503" << "Port '' 0..65535/1 =502";
        QTest::newRow("232 takes 502") << "232" << "" << "Port=502" << "Port '' 0..65535/1 =503";
        QTest::newRow("485 free port") << "485" << "" << "Port=600" << "Port '' 0..65535/1 =600";
        QTest::newRow("gsm read") << "485" << "485" << "Interval=700 Read" << "Interval '   s' 3..10/1 =5";
    }

    void rules()
    {
        const auto [line, op, steps, expected] = fetch<QString, QString, QString, QString>("line", "op", "steps", "expected");
        TransparentConfig form;
        ModalAnswerer answerer;
        setRoute(form, op);
        edit(form, steps, line);
        auto* b = form.findChild<QSpinBox*>(forLine(controls[expected.section(' ', 0, 0)], line));
        QCOMPARE(QString::asprintf("'%s' %d..%d/%d =%d", qPrintable(b->suffix()), b->minimum(),
                     b->maximum(), b->singleStep(), b->value()),
            expected.section(' ', 1));
    }

    // Warned at the end of every edit that leaves the APN other than read,
    // once per edit although the box takes the focus from the line edit.
    void apnWarning()
    {
        TransparentConfig form;
        ModalAnswerer answerer;
        form.Set485Settings(true);
        QVERIFY(form.applyReadAll(GsmValues));
        form.setEnabled(true);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto* apn = form.findChild<QLineEdit*>("lineEdit_APN");
        apn->setFocus();
        apn->clear();
        QTest::keyClicks(apn, "web");
        QTest::keyClick(apn, Qt::Key_Return);
        QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
        QTest::qWait(50);
        QCOMPARE(answerer.lastTitle() + " | " + answerer.lastText(),
            QString("Uyarı ! | APN Değiştirildi Değişiklikleri modeme yazarsanız modem yeniden başlatılacak !"));
        QCOMPARE(answerer.count(), 1);
        for (const char* text : { "web", "internet" }) // unchanged, then back to what was read
            apn->setText(text), QMetaObject::invokeMethod(apn, "editingFinished");
        QCOMPARE(answerer.count(), 2);
    }

    void limits_data()
    {
        // reason: empty: accepted
        columns<QString, int, QString, QString>({ "op", "position", "value", "reason" });
        const auto rows = [](const char* op, int position, const char* name, const char* ok, const char* bad, const char* limits) {
            for (const QString& v : QString(ok).split(' ', Qt::SkipEmptyParts))
                QTest::addRow("%s %s=%s", op, name, qPrintable(v)) << op << position << v << QString();
            for (const QString& v : QString(bad).split(' ', Qt::SkipEmptyParts))
                QTest::addRow("%s %s=%s", op, name, qPrintable(v)) << op << position << v << QString("%1 = %2 is outside %3").arg(name, v, limits);
        };
        // clang-format off
        rows("ETH", 0,  "RS485 ENABLE",          "0 1",        "2 -1",                 "0–1");
        rows("USB", 13, "RS232 MOD",             "0 4",        "5 -1",                 "0–4");
        rows("ETH", 3,  "RS485 DATA BIT",        "7 8 07",     "6 9 x 0x8 4294967304", "7–8");
        rows("ETH", 15, "RS232 PARITY BIT",      "0 2",        "3 -1",                 "0–2");
        rows("ETH", 5,  "RS485 STOP BIT",        "1 2",        "0 3",                  "1–2");
        rows("ETH", 17, "RS232 BAUDRATE",        "0 9",        "10 -1",                "0–9");
        rows("ETH", 7,  "RS485 SILENT INTERVAL", "4 128",      "3 129",                "4–128");
        rows("ETH", 19, "RS232 SILENT INTERVAL", "10 5000",    "9 5001",               "10–5000");
        rows("USB", 22, "INFO RESPONSE",         "0 1",        "2 -1",                 "0–1");
        rows("ETH", 1,  "RS485 PORT",            "70000 junk", "",                     "");
        rows("485", 11, "RS485 RETRY COUNT",     "999 -1",     "",                     "");
        rows("232", 28, "APN",                   "web.apn 12", "",                     "");
        rows("232", 17, "RS232 DATA BIT",        "",           "9",                    "7–8");
        rows("485", 29, "INFO RESPONSE",         "",           "2",                    "0–1");
        // clang-format on
        // A slow answer and a quick one can reach the parser as one block; the
        // second one's head would be read as a value of 0.
        QTest::newRow("two answers") << "ETH" << 22 << "1\r\n+READALL=0" << "more than one answer in one block";
        QTest::newRow("answer and +OK") << "ETH" << 22 << "1\r\n+OK" << "more than one answer in one block";
        QTest::newRow("eth short") << "ETH" << -1 << QString() << "22 values, 23 expected";
        QTest::newRow("eth answer on a tunnel") << "232" << -2 << QString()
            << "this looks like an Ethernet modem (23 values). Disconnect, then choose Ethernet Modem under Device Select.";
        QTest::newRow("4G answer over TCP") << "ETH" << -3 << QString()
            << "this looks like a 4G modem (30 values). Disconnect, then choose GSM Modem under Device Select.";
    }

    // One value put into a valid answer; a refused answer changes nothing
    // and the status bar says why.
    void limits()
    {
        const auto [op, position, value, reason] = fetch<QString, int, QString, QString>("op", "position", "value", "reason");
        TransparentConfig form;
        ModalAnswerer answerer; // a read that warned would block here
        setRoute(form, op);
        const QByteArray valid = valuesOf(form.connectionType());
        QVERIFY(form.applyReadAll(valid));
        // An edit early in the answer's order: applying any of it would undo the edit.
        form.findChild<QSpinBox*>("spinBox_ModbusTimeout_485")->setValue(3330);
        const QStringList before = snapshot(form);
        const QByteArray answer = position >= 0 ? with(valid, position, value.toUtf8())
            : position == -1                    ? valid.left(valid.lastIndexOf(','))
            : position == -2                    ? EthValues
                                                : GsmValues;
        QSignalSpy status(&form, &TransparentConfig::WriteStatusBar);
        QCOMPARE(form.applyReadAll(answer), reason.isEmpty());
        if (reason.isEmpty()) {
            QCOMPARE(form.paramsAll(), QString(answer).split(','));
            return;
        }
        QCOMPARE(status.count(), 1);
        QCOMPARE(status.first(), QVariantList({ "Configuration refused: " + reason, 3000 }));
        QCOMPARE(snapshot(form), before);
    }

    void apply_data()
    {
        // values: the read-all answer before, if any
        // change: the user's edit "objectName.property=value", or a control shown
        // seen: boxes as "title: text", then the frames sent
        columns<int, QByteArray, QString, Answers, QStringList>({ "route", "values", "change", "answers", "seen" });
        const auto Y = QMessageBox::Yes, N = QMessageBox::No;
        const auto row = [](const char* name, Route r, const QByteArray& values, const char* change,
                             Answers answers, const QStringList& seen) {
            QTest::newRow(name) << int(r) << values << QString(change) << answers << seen;
        };
        const QString framing = ": 7bit Parity None olarak devam etmek istiyor musunuz ?";
        const QString w485 = "RS485 Config Warning" + framing, w232 = "RS232 Config Warning" + framing;
        const QString ask = "Dikkat !: Parametrelerinizde değişiklik var. Devam etmek istiyor musunuz ?";
        const QString apnBad = "Uyarı !: APN virgül (,) ya da satır sonu içeremez: modem bunları alan ayırıcı "
                               "olarak okur ve yapılandırması bozulur. Yapılandırma yazılmadı.";
        // Right after a read nothing differs: the frame goes out at once, unasked.
        for (int r = 0; r < AtProtocol::eMax; ++r)
            QTest::addRow("unchanged %d", r) << r << valuesOf(Route(r)) << QString() << Answers { N }
                                             << QStringList { frame(valuesOf(Route(r))) };
        // Positions: RS485 data bits 3, parity 4; RS232 data bits 14, parity 15 (GSM: 17, 18).
        const QByteArray rs485 = with(with(EthValues, 3, "7"), 4, "0"), both = with(with(rs485, 14, "7"), 15, "0");
        const QByteArray e = EthValues, g = GsmValues;
        const Route eth = AtProtocol::eETH, usb = AtProtocol::eUSB, t485 = AtProtocol::eTCP485, t232 = AtProtocol::eTCP232;
        // clang-format off
        row("no route: nothing sent", AtProtocol::eMax, "", "", { Y }, {});
        // Only a configuration read from this modem goes back to it, whatever came after.
        row("nothing read yet", eth, "", "", { Y }, { "3000 Read the configuration first: nothing has been read from this modem." });
        row("refused after a read", eth, e + "|" + with(e, 0, "2"), "", { Y }, { frame(e) });
        row("eth port", eth, e, "spinBox_Port_485.value=600", { Y }, { ask, frame(with(e, 1, "600")) });
        row("usb baud 232", usb, e, "comboBox_Baud_232.currentIndex=3", { Y }, { ask, frame(with(e, 17, "3")) });
        row("info response", eth, e, "checkBox_InfoResponse.checked=0", { Y }, { ask, frame(with(e, 22, "0")) });
        row("ping minutes", t485, g, "spinBox_485_Ping_Interval.value=7", { Y }, { ask, frame(with(g, 13, "420")) });
        row("interval seconds", t485, g, "spinBox_IntervalTime_485.value=4", { Y }, { ask, frame(with(g, 12, "4000")) });
        row("apn", t232, g, "lineEdit_APN.text=iot.net", { Y }, { ask, frame(with(g, 28, "iot.net")) });
        row("no re-reads, eth", eth, e, "spinBox_Port_485.value=600", { N }, { ask, "AT+READALL\r\n" });
        row("no re-reads, gsm", t232, g, "lineEdit_APN.text=x", { N }, { ask, "AT+READALL\r\n" });
        row("485 7N yes", eth, rs485, "", { Y }, { w485, frame(rs485) });
        row("485 7N no", eth, rs485, "", { N }, { w485 });
        row("232 7N no, gsm", t485, with(with(g, 17, "7"), 18, "0"), "", { N }, { w232 });
        row("both, 232 yes decides", eth, both, "", { N, Y }, { w485, w232, frame(both) });
        row("both, 232 no decides", eth, both, "", { Y, N }, { w485, w232 });
        row("8 bit none", eth, with(with(e, 14, "8"), 15, "0"), "", { N }, { frame(with(with(e, 14, "8"), 15, "0")) });
        row("disabled line warns too", eth, with(rs485, 0, "0"), "", { N }, { w485 });
        row("declined, changed, yes", eth, rs485, "spinBox_Port_485.value=600", { N, Y }, { w485, ask });
        row("apn comma", t485, g, "lineEdit_APN.text=internet,x", { Y }, { apnBad });
        row("apn CR", t232, g, "lineEdit_APN.text=internet\rx", { Y }, { apnBad });
        row("apn LF", t485, g, "lineEdit_APN.text=internet\n", { Y }, { apnBad });
        // A value as read and shown: written back as the form holds it, asked first when that differs.
        row("7 bit", eth, with(e, 3, "7"), "comboBox_Datab_485=7 Bit on", { Y }, { w485, frame(with(e, 3, "7")) });
        row("2 stop bits", usb, with(e, 16, "2"), "comboBox_Stopb_232=2    Stop on", { Y }, { frame(with(e, 16, "2")) });
        row("silent chars", eth, with(e, 7, "100"), "spinBox_SilentInterval_485=100     char on", { Y }, { frame(with(e, 7, "100")) });
        row("silent ms", usb, with(e, 19, "255"), "spinBox_SilentInterval_232=255    ms on", { Y }, { frame(with(e, 19, "255")) });
        row("leading zero", eth, with(e, 1, "0502"), "spinBox_Port_485=502 on", { Y }, { ask, frame(e) });
        row("info off", eth, with(e, 22, "0"), "checkBox_InfoResponse=false on", { Y }, { frame(with(e, 22, "0")) });
        row("gsm info off", t485, with(g, 29, "0"), "checkBox_InfoResponse=false on", { Y }, { frame(with(g, 29, "0")) });
        row("ping 5 min", t485, with(g, 13, "300"), "spinBox_485_Ping_Interval=5       dk on", { Y }, { frame(with(g, 13, "300")) });
        row("ping 150 s", t232, with(g, 27, "150"), "spinBox_232_Ping_Interval=2       dk on", { Y }, { ask, frame(with(g, 27, "120")) });
        row("ping 0", t232, with(g, 27, "0"), "spinBox_232_Ping_Interval=2       dk on", { Y }, { ask, frame(with(g, 27, "120")) });
        row("interval 7500", t232, with(g, 12, "7500"), "spinBox_IntervalTime_485=7   s off", { Y }, { ask, frame(with(g, 12, "7000")) });
        row("interval ms", t485, with(g, 26, "2500"), "spinBox_IntervalTime_232=2500    ms off", { Y }, { frame(with(g, 26, "2500")) });
        row("apn digits", t232, with(g, 28, "0123"), "lineEdit_APN=0123 on", { Y }, { frame(with(g, 28, "0123")) });
        row("gsm 232 data bits", t485, with(g, 17, "8"), "comboBox_Datab_232=8 Bit off", { Y }, { frame(with(g, 17, "8")) });
        // clang-format on
    }

    void apply()
    {
        const auto [route, values, change, answers, seen] = fetch<int, QByteArray, QString, Answers, QStringList>("route", "values", "change", "answers", "seen");
        TransparentConfig form;
        setRoute(form, Route(route));
        ModalAnswerer answerer(answers);
        for (const QByteArray& answer : values.split('|')) { // a refused one after an accepted one
            QByteArray block = "+READALL=" + answer + "\r\n";
            QVERIFY(answer.isEmpty() || form.Receive_Callback(block, nullptr) == AtProtocol::err_OK);
        }
        QCOMPARE(answerer.count(), 0); // a read changes the Enable combos without a warning
        const QString name = change.section('.', 0, 0).section('=', 0, 0);
        if (change.contains('.'))
            QVERIFY(form.findChild<QObject*>(name)->setProperty(
                change.section('=', 0, 0).section('.', 1).toUtf8().constData(), change.section('=', 1)));
        else if (!change.isEmpty())
            QCOMPARE(name + "=" + state(form, name), change);
        QSignalSpy written(&form, &TransparentConfig::WriteData), status(&form, &TransparentConfig::WriteStatusBar);
        QMetaObject::invokeMethod(&form, "on_pushButton_ConfigurationApply_clicked");
        QStringList events;
        for (const ModalAnswerer::Box& box : answerer.boxes)
            events << box.title + ": " + box.text;
        for (const QList<QVariant>& args : written)
            events << QString::fromUtf8(args.at(0).toByteArray());
        for (const QList<QVariant>& args : status)
            events << QString("%1 %2").arg(args.at(1).toInt()).arg(args.at(0).toString());
        QCOMPARE(events, seen);
        // Writing is not reading: the next comparison is still with the modem's values.
        QCOMPARE(form.paramsAll().join(','), QString::fromUtf8(values.split('|').first()));
    }
};

QUORVANE_TEST_MAIN(TestForm)
#include "tst_form.moc"
