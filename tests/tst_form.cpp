#include "modalanswerer.h"
#include "testmain.h"
#include "transparentconfig.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QtTest>

// The configuration form: which controls each route opens, the rules that run
// while the user edits, and read-all answers in, write-all values out.

namespace {

const QByteArray ethAnswer = "1,502,0,8,0,1,5,8,400,1000,5,0,503,4,7,2,2,9,16,250,200,0,1";
const QByteArray gsmAnswer = "1,502,0,8,0,1,5,8,400,1000,5,2,5000,300,"
                             "0,503,4,7,2,2,9,16,250,200,0,0,500,120,internet,1";

const QString params = "spinBox_EthTimeout_# spinBox_ModbusTimeout_# spinBox_SilentInterval_# "
                       "comboBox_Mod_# comboBox_Datab_# comboBox_Parityb_# comboBox_Stopb_# "
                       "comboBox_Baud_#";
const QString gsmRows = "spinBox_RetryCount_# spinBox_IntervalTime_# spinBox_#_Ping_Interval";

QString forLine(QString names, const QString& line)
{
    return names.replace('#', line);
}

// The groups the enablement rules speak of, in the column order of the state strings.
const QStringList groups = { "comboBox_Enable_485 spinBox_Port_485", forLine(params, "485"),
    "comboBox_Enable_232 spinBox_Port_232", forLine(params, "232"), forLine(gsmRows, "485"),
    forLine(gsmRows, "232"), "lineEdit_APN label_APN",
    "checkBox_InfoResponse pushButton_ConfigurationApply", "pushButton_StaticIPConfig",
    "label_Retry_Count label_Cmd_Interval_Tme label_Ping_Interval",
    "pushButton_ReadConfiguration" };

const QMap<QString, QString> controls
    = { { "Mod", "comboBox_Mod_#" }, { "Silent", "spinBox_SilentInterval_#" },
          { "Timeout", "spinBox_ModbusTimeout_#" }, { "Retry", "spinBox_RetryCount_#" },
          { "Interval", "spinBox_IntervalTime_#" }, { "Port", "spinBox_Port_#" } };

QByteArray withValue(const QByteArray& answer, int position, const QByteArray& value)
{
    QList<QByteArray> values = answer.split(',');
    values[position] = value;
    return values.join(',');
}

// "485", "ETH false", "DataRead true": the calls the main window makes.
void route(TransparentConfig& form, const QString& op)
{
    using Op = void (TransparentConfig::*)(bool const&);
    static const QMap<QString, Op> ops = { { "ETH", &TransparentConfig::SetETHSettings },
        { "USB", &TransparentConfig::SetUSBSettings },
        { "485", &TransparentConfig::Set485Settings },
        { "232", &TransparentConfig::Set232Settings },
        { "DataRead", &TransparentConfig::DataReadSettings } };
    if (!op.isEmpty())
        (form.*ops.value(op.section(' ', 0, 0)))(!op.endsWith("false"));
}

// What the control shows, and whether it can be used within the form.
QString state(TransparentConfig& form, const QString& name, bool withEnabled = true)
{
    QWidget* w = form.findChild<QWidget*>(name);
    if (!w)
        return name + " missing";
    QString shown = w->property(w->inherits("QComboBox") ? "currentText" : "text").toString();
    if (w->inherits("QCheckBox"))
        shown = w->property("checked").toString();
    if (withEnabled)
        shown += w->isEnabledTo(&form) ? " on" : " off";
    return shown;
}

// '1' when every control of the group is enabled, '0' when none is.
QChar groupState(TransparentConfig& form, const QString& names)
{
    QString states;
    for (const QString& name : names.split(' '))
        states += form.findChild<QWidget*>(name)->isEnabledTo(&form) ? '1' : '0';
    return states.count(states.at(0)) == states.size() ? states.at(0) : QChar('?');
}

// Everything the user can see and everything the form would send, to prove
// that a refused answer changed nothing.
QStringList snapshot(TransparentConfig& form)
{
    QStringList all = form.paramsAll() + form.writeAllValues();
    for (QWidget* w : form.findChildren<QWidget*>(QRegularExpression("^(?!qt_).+")))
        all << w->objectName() + "=" + state(form, w->objectName());
    return all;
}

const QByteArray& validAnswer(const TransparentConfig& form)
{
    return AtProtocol::isGsmRoute(form.connectionType()) ? gsmAnswer : ethAnswer;
}

// "Mod=4 Silent=15": a combo takes the index; a spin box the value, then the
// edit is finished as when the user leaves the box.
void edit(TransparentConfig& form, const QString& steps, const QString& line)
{
    for (const QString& step : steps.split(' ')) {
        QWidget* w = form.findChild<QWidget*>(forLine(controls[step.section('=', 0, 0)], line));
        const bool combo = w->inherits("QComboBox");
        w->setProperty(combo ? "currentIndex" : "value", step.section('=', 1).toInt());
        if (!combo)
            QMetaObject::invokeMethod(w, "editingFinished");
    }
}

// The data rows below, one struct per table.
struct EnableRow
{
    const char *name, *op, *line;
    char port, others; // '1' on, '0' off, '-' as the route left it
};
struct RuleRow
{
    const char *name, *steps, *box, *expected; // expected: 'suffix' min..max/step =value
};
struct ReadRow
{
    const char *op, *read, *control, *shown, *written;
    int position;
};

} // namespace

Q_DECLARE_METATYPE(EnableRow)
Q_DECLARE_METATYPE(RuleRow)
Q_DECLARE_METATYPE(ReadRow)

class TestForm : public QObject
{
    Q_OBJECT

private slots:
    void initialState()
    {
        TransparentConfig form;
        QVERIFY(!form.isEnabled());
        QCOMPARE(form.connectionType(), AtProtocol::eMax);
        // The headings are named the other way round from what they show.
        QStringList expected = { "label_232Config=RS485 CONFIG on",
            "label_485Config=RS232 CONFIG on", "lineEdit_APN= on", "checkBox_InfoResponse=false on",
            "pushButton_StaticIPConfig=Static IP Settings on",
            "pushButton_ReadConfiguration=Read Configuration on",
            "pushButton_ConfigurationApply=Apply Configuration on" };
        for (const QString line : { "485", "232" })
            expected += forLine("comboBox_Enable_#=Disable on|spinBox_Port_#=0 off|"
                                "spinBox_EthTimeout_#=0     min off|"
                                "spinBox_ModbusTimeout_#=100     ms off|"
                                "comboBox_Mod_#=TCP to RTU off|comboBox_Datab_#=8 Bit off|"
                                "comboBox_Parityb_#=None off|comboBox_Stopb_#=1    Stop off|"
                                "comboBox_Baud_#=300 off|spinBox_SilentInterval_#=8     Char off|"
                                "spinBox_RetryCount_#=0 on|spinBox_IntervalTime_#=10     ms on|"
                                "spinBox_#_Ping_Interval=2       dk on",
                line)
                            .split('|');
        QStringList actual;
        for (const QString& entry : expected)
            actual << entry.section('=', 0, 0) + "=" + state(form, entry.section('=', 0, 0));
        QCOMPARE(actual, expected);
    }

    void routes_data()
    {
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("states"); // per group: '1' on, '0' off, '-' untouched
        QTest::addColumn<int>("route");
        // clang-format off
        // en+port485 par485 en+port232 par232 gsm485 gsm232 apn info+apply staticIp gsmLabels read
        QTest::newRow("ETH true")       << "ETH true"       << "- - - - 0 0 0 - - 0 -" << int(AtProtocol::eETH);
        QTest::newRow("ETH false")      << "ETH false"      << "- - - - 1 1 1 - - 1 -" << int(AtProtocol::eETH);
        QTest::newRow("USB true")       << "USB true"       << "- - - - 0 0 0 - - 0 -" << int(AtProtocol::eUSB);
        QTest::newRow("485 true")       << "485 true"       << "0 1 1 0 1 0 1 1 0 - -" << int(AtProtocol::eTCP485);
        QTest::newRow("485 false")      << "485 false"      << "1 0 0 1 0 1 0 0 1 - -" << int(AtProtocol::eTCP485);
        QTest::newRow("232 true")       << "232 true"       << "1 0 0 1 0 1 1 1 0 - -" << int(AtProtocol::eTCP232);
        QTest::newRow("232 false")      << "232 false"      << "0 1 1 0 1 0 0 0 1 - -" << int(AtProtocol::eTCP232);
        QTest::newRow("DataRead true")  << "DataRead true"  << "0 0 0 0 0 0 0 0 0 - 1" << int(AtProtocol::eMax);
        QTest::newRow("DataRead false") << "DataRead false" << "1 1 1 1 1 1 1 1 1 - 0" << int(AtProtocol::eMax);
        // clang-format on
    }

    // Each route call switches its controls, records the route, and the read
    // button then asks for READALL (nothing without a route).
    void routes()
    {
        QFETCH(QString, op);
        QFETCH(QString, states);
        QFETCH(int, route);
        for (const QChar before : { '0', '1' }) { // untouched controls keep either state
            TransparentConfig form;
            for (const QString& group : groups)
                for (const QString& name : group.split(' '))
                    form.findChild<QWidget*>(name)->setEnabled(before == '1');
            ::route(form, op);
            QString actual;
            for (const QString& group : groups)
                actual += QString(groupState(form, group)) + ' ';
            QCOMPARE(actual.trimmed(), QString(states).replace('-', before));
            QCOMPARE(int(form.connectionType()), route);
            QVERIFY(!form.isEnabled()); // the form as a whole is the main window's business
            QSignalSpy sent(&form, &TransparentConfig::WriteData);
            QMetaObject::invokeMethod(form.findChild<QWidget*>("pushButton_ReadConfiguration"),
                "clicked", Q_ARG(bool, false));
            QCOMPARE(sent.value(0).value(0).toByteArray(),
                route == AtProtocol::eMax ? QByteArray() : QByteArray("AT+READALL\r\n"));
        }
    }

    void enableCombo_data()
    {
        QTest::addColumn<EnableRow>("row");
        const EnableRow rows[] = { { "no route 485", "", "485", '1', '1' },
            { "eth 232", "ETH", "232", '1', '1' }, { "tcp485 485", "485", "485", '0', '1' },
            { "tcp232 485", "232", "485", '-', '-' }, { "tcp485 232", "485", "232", '-', '-' } };
        for (const EnableRow& r : rows)
            QTest::newRow(r.name) << r;
    }

    // The line's parameters follow its Enable combo, except over the other
    // line's tunnel; over any tunnel the port stays locked.
    void enableCombo()
    {
        QFETCH(EnableRow, row);
        TransparentConfig form;
        route(form, row.op);
        const QString port = QString("spinBox_Port_") + row.line, eight = forLine(params, row.line);
        const QChar portBefore = groupState(form, port), othersBefore = groupState(form, eight);
        ModalAnswerer answerer;
        auto* enable = form.findChild<QComboBox*>(QString("comboBox_Enable_") + row.line);
        enable->setCurrentIndex(1);
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.lastTitle() + " | " + answerer.lastText(),
            QString("Uyarı ! | Portunuz açık ise kapatılacak !"));
        QCOMPARE(groupState(form, port), row.port == '-' ? portBefore : QChar(row.port));
        QCOMPARE(groupState(form, eight), row.others == '-' ? othersBefore : QChar(row.others));
        enable->setCurrentIndex(0);
        QCOMPARE(groupState(form, eight), row.others == '-' ? othersBefore : QChar('0'));
    }

    void rules_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<RuleRow>("row");
        // clang-format off
        const RuleRow rows[] = {
            {"full transparent", "Mod=4",                       "Silent",   "'    ms' 10..5000/10 =400"},
            {"back to rtu",      "Mod=4 Mod=0",                 "Silent",   "'     char' 4..128/1 =8"},
            {"15 ms",            "Mod=4 Silent=15",             "Silent",   "'    ms' 10..5000/10 =10"},
            {"4999 ms",          "Mod=4 Silent=4999",           "Silent",   "'    ms' 10..5000/10 =4990"},
            {"ms kept",          "Mod=4 Silent=15 Mod=3 Mod=4", "Silent",   "'    ms' 10..5000/10 =10"},
            {"chars kept",       "Silent=13 Mod=4 Mod=0",       "Silent",   "'     char' 4..128/1 =13"},
            {"timeout 105",      "Timeout=105",                 "Timeout",  "'     ms' 100..10000/10 =100"},
            {"interval as built","Interval=10",                 "Interval", "'     ms' 0..1000/50 =0"},
            {"retry 2",          "Retry=2",                     "Interval", "'   s' 3..10/1 =3"},
            {"retry 0, 250",     "Retry=0 Interval=250",        "Interval", "'    ms' 0..5000/100 =200"},
            {"mode resets",      "Retry=2 Interval=8 Mod=1",    "Interval", "'   s' 3..10/1 =3"},
        };
        for (const char* line : { "485", "232" })
            for (const RuleRow& r : rows)
                QTest::addRow("%s %s", line, r.name) << QString(line) << r;
        // The other line holds 502 (RS485) and 503 (RS232) to start with.
        QTest::newRow("485 takes 503") << QString("485") << RuleRow { "", "Port=503", "Port", "'' 0..65535/1 =502" };
        QTest::newRow("232 takes 502") << QString("232") << RuleRow { "", "Port=502", "Port", "'' 0..65535/1 =503" };
        QTest::newRow("485 free port") << QString("485") << RuleRow { "", "Port=600", "Port", "'' 0..65535/1 =600" };
        // clang-format on
    }

    void rules()
    {
        QFETCH(QString, line);
        QFETCH(RuleRow, row);
        TransparentConfig form;
        edit(form, row.steps, line);
        auto* b = form.findChild<QSpinBox*>(forLine(controls[row.box], line));
        QCOMPARE(QString::asprintf("'%s' %d..%d/%d =%d", qPrintable(b->suffix()), b->minimum(),
                     b->maximum(), b->singleStep(), b->value()),
            QString(row.expected));
    }

    // Warned on every edit that leaves the APN read, once per edit although
    // the box takes the focus from the line edit.
    void apnWarning()
    {
        TransparentConfig form;
        ModalAnswerer answerer;
        form.Set485Settings(true);
        QVERIFY(form.applyReadAll(gsmAnswer));
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
        QCOMPARE(answerer.count(), 1);
        QCOMPARE(answerer.lastTitle() + " | " + answerer.lastText(),
            QString("Uyarı ! | APN Değiştirildi Değişiklikleri modeme yazarsanız modem yeniden "
                    "başlatılacak !"));
        QMetaObject::invokeMethod(apn, "editingFinished");
        apn->setText("internet");
        QMetaObject::invokeMethod(apn, "editingFinished");
        QCOMPARE(answerer.count(), 2);
    }

    void readAndWrite_data()
    {
        QTest::addColumn<ReadRow>("row");
        // clang-format off
        const ReadRow rows[] = {
            {"ETH", "7",    "comboBox_Datab_485",         "7 Bit",        "7",    3},
            {"USB", "2",    "comboBox_Stopb_232",         "2    Stop",    "2",    16},
            {"ETH", "9",    "comboBox_Baud_232",          "115200",       "9",    17},
            {"ETH", "100",  "spinBox_SilentInterval_485", "100     char", "100",  7},
            {"USB", "255",  "spinBox_SilentInterval_232", "255    ms",    "255",  19},
            {"ETH", "0",    "checkBox_InfoResponse",      "false",        "0",    22},
            {"USB", "1",    "checkBox_InfoResponse",      "true",         "1",    22},
            {"485", "300",  "spinBox_485_Ping_Interval",  "5       dk",   "300",  13},
            {"232", "150",  "spinBox_232_Ping_Interval",  "2       dk",   "120",  27},
            {"485", "90",   "spinBox_485_Ping_Interval",  "2       dk",   "120",  13},
            {"232", "0",    "spinBox_232_Ping_Interval",  "2       dk",   "120",  27},
            {"485", "5000", "spinBox_IntervalTime_485",   "5   s",        "5000", 12},
            {"232", "7500", "spinBox_IntervalTime_485",   "7   s",        "7000", 12},
            {"485", "2500", "spinBox_IntervalTime_232",   "2500    ms",   "2500", 26},
            {"232", "0123", "lineEdit_APN",               "0123",         "0123", 28},
            {"485", "0",    "checkBox_InfoResponse",      "false",        "0",    29},
            {"232", "7",    "comboBox_Datab_232",         "7 Bit",        "7",    17},
            {"485", "2",    "comboBox_Stopb_485",         "2    Stop",    "2",    5},
        };
        // clang-format on
        for (const ReadRow& r : rows)
            QTest::addRow("%s %s=%s", r.op, r.control, r.read) << r;
    }

    // One value of a valid answer changed: the control shows it, and the
    // write-all values are the answer with that value as the form sends it.
    void readAndWrite()
    {
        QFETCH(ReadRow, row);
        TransparentConfig form;
        route(form, row.op);
        const QByteArray& answer = validAnswer(form);
        const QByteArray read = withValue(answer, row.position, row.read);
        ModalAnswerer answerer;
        QVERIFY(form.applyReadAll(read));
        QCOMPARE(state(form, row.control, false), QString(row.shown));
        QCOMPARE(form.paramsAll(), QString(read).split(','));
        QCOMPARE(form.writeAllValues(),
            QString(withValue(answer, row.position, row.written)).split(','));
        QCOMPARE(answerer.count(), 0); // the read changed the Enable combos without a warning
    }

    void intervalAfterRead_data()
    {
        QTest::addColumn<QString>("op");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("shown");
        // The Ethernet answer carries no interval: the read leaves it at its
        // unit's default, as the mode rules always have.
        QTest::newRow("eth, ms") << "ETH" << "Interval=700" << "100    ms";
        QTest::newRow("eth, retried") << "ETH" << "Retry=2 Interval=8" << "3   s";
        QTest::newRow("gsm, read value") << "485" << "Interval=700" << "5   s";
    }

    void intervalAfterRead()
    {
        QFETCH(QString, op);
        QFETCH(QString, steps);
        QFETCH(QString, shown);
        TransparentConfig form;
        route(form, op);
        edit(form, steps, "485");
        ModalAnswerer answerer;
        QVERIFY(form.applyReadAll(validAnswer(form)));
        QCOMPARE(state(form, "spinBox_IntervalTime_485", false), shown);
    }

    void refused_data()
    {
        QTest::addColumn<QString>("op");
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QString>("reason");
        // clang-format off
        QTest::newRow("eth short") << "ETH" << ethAnswer.left(ethAnswer.lastIndexOf(','))
            << "22 values, 23 expected";
        QTest::newRow("gsm given eth") << "232" << ethAnswer << "23 values, 30 expected";
        QTest::newRow("eth last value") << "USB" << withValue(ethAnswer, 22, "2")
            << "INFORESPONSE = 2 breaks ValOfList <= EnableIndexMax";
        QTest::newRow("gsm data bits") << "485" << withValue(gsmAnswer, 17, "9")
            << "232DATAB = 9 breaks ( ValOfList >= DatabitMin ) && ( ValOfList <= DatabitMax )";
        // clang-format on
    }

    // Nothing of a refused answer is applied; the status bar says why.
    void refused()
    {
        QFETCH(QString, op);
        QFETCH(QByteArray, answer);
        QFETCH(QString, reason);
        TransparentConfig form;
        ModalAnswerer answerer; // a read that warned would block here
        route(form, op);
        QVERIFY(form.applyReadAll(validAnswer(form)));
        // An edit early in the answer's order: applying any of it would undo the edit.
        form.findChild<QSpinBox*>("spinBox_ModbusTimeout_485")->setValue(3330);
        const QStringList before = snapshot(form);
        QSignalSpy status(&form, &TransparentConfig::WriteStatusBar);
        QVERIFY(!form.applyReadAll(answer));
        QCOMPARE(status.count(), 1);
        QCOMPARE(status.first(), QVariantList({ "Configuration refused: " + reason, 3000 }));
        QCOMPARE(snapshot(form), before);
    }
};

QUORVANE_TEST_MAIN(TestForm)
#include "tst_form.moc"
