#include "modalanswerer.h"
#include "transparentconfig.h"

#include <QComboBox>
#include <QtTest>

using Route = AtProtocol::eConnection_State_t;
Q_DECLARE_METATYPE(AtProtocol::eConnection_State_t)

namespace {

// The groups the enablement rules speak of, as object names.
QStringList lineGroup(const QString& l, bool enableAndPort)
{
    if (enableAndPort)
        return { "comboBox_Enable_" + l, "spinBox_Port_" + l };
    return { "spinBox_EthTimeout_" + l, "spinBox_ModbusTimeout_" + l, "spinBox_SilentInterval_" + l,
        "comboBox_Mod_" + l, "comboBox_Datab_" + l, "comboBox_Parityb_" + l, "comboBox_Stopb_" + l,
        "comboBox_Baud_" + l };
}

QStringList gsmRows(const QString& l)
{
    return { "spinBox_RetryCount_" + l, "spinBox_IntervalTime_" + l,
        "spinBox_" + l + "_Ping_Interval" };
}

// Column order of the expected-state strings below.
const QList<QStringList> groups = {
    lineGroup("485", true),
    lineGroup("485", false),
    lineGroup("232", true),
    lineGroup("232", false),
    gsmRows("485"),
    gsmRows("232"),
    { "lineEdit_APN", "label_APN" },
    { "checkBox_InfoResponse", "pushButton_ConfigurationApply" },
    { "pushButton_StaticIPConfig" },
    { "label_Retry_Count", "label_Cmd_Interval_Tme", "label_Ping_Interval" },
    { "pushButton_ReadConfiguration" },
};

void setAll(TransparentConfig& form, bool enabled)
{
    for (const QStringList& group : groups)
        for (const QString& name : group)
            form.findChild<QWidget*>(name)->setEnabled(enabled);
}

void runOperation(TransparentConfig& form, const QString& op)
{
    const bool flag = op.endsWith("(true)");
    if (op.startsWith("SetETHSettings"))
        form.SetETHSettings(flag);
    else if (op.startsWith("SetUSBSettings"))
        form.SetUSBSettings(flag);
    else if (op.startsWith("Set485Settings"))
        form.Set485Settings(flag);
    else if (op.startsWith("Set232Settings"))
        form.Set232Settings(flag);
    else if (op.startsWith("DataReadSettings"))
        form.DataReadSettings(flag);
    else
        QFAIL(qPrintable("unknown operation " + op));
}

// Expected: one character per group, '1' on, '0' off, '-' untouched.
void compareStates(TransparentConfig& form, const QString& expected, bool startedOn)
{
    const QString states = QString(expected).remove(' ');
    QCOMPARE(states.size(), groups.size());
    for (int g = 0; g < groups.size(); ++g)
        for (const QString& name : groups[g]) {
            const bool want = states[g] == '-' ? startedOn : states[g] == '1';
            QVERIFY2(form.findChild<QWidget*>(name)->isEnabledTo(&form) == want,
                qPrintable(QString("%1 should be %2").arg(name, want ? "on" : "off")));
        }
}

} // namespace

class TestFormEnablement : public QObject
{
    Q_OBJECT

private slots:
    void operations_data();
    void operations();
    void laterCallWins();
    void enableFollowsCombo_data();
    void enableFollowsCombo();
};

void TestFormEnablement::operations_data()
{
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("states");
    QTest::addColumn<int>("route"); // -1: unchanged

    // clang-format off
    //                                                en485 par485 en232 par232 gsm485 gsm232 apn write staticIp gsmLabels read
    const struct { const char* op; const char* states; int route; } rows[] = {
        {"SetETHSettings(true)",   "- - - - 0 0 0 - - 0 -", AtProtocol::eETH},
        {"SetETHSettings(false)",  "- - - - 1 1 1 - - 1 -", AtProtocol::eETH},
        {"SetUSBSettings(true)",   "- - - - 0 0 0 - - 0 -", AtProtocol::eUSB},
        {"SetUSBSettings(false)",  "- - - - 1 1 1 - - 1 -", AtProtocol::eUSB},
        {"Set485Settings(true)",   "0 1 1 0 1 0 1 1 0 - -", AtProtocol::eTCP485},
        {"Set485Settings(false)",  "1 0 0 1 0 1 0 0 1 - -", AtProtocol::eTCP485},
        {"Set232Settings(true)",   "1 0 0 1 0 1 1 1 0 - -", AtProtocol::eTCP232},
        {"Set232Settings(false)",  "0 1 1 0 1 0 0 0 1 - -", AtProtocol::eTCP232},
        {"DataReadSettings(true)", "0 0 0 0 0 0 0 0 0 - 1", -1},
        {"DataReadSettings(false)","1 1 1 1 1 1 1 1 1 - 0", -1},
    };
    // clang-format on
    for (const auto& row : rows)
        QTest::newRow(row.op) << QString(row.op) << QString(row.states) << row.route;
}

void TestFormEnablement::operations()
{
    QFETCH(QString, op);
    QFETCH(QString, states);
    QFETCH(int, route);
    // Untouched controls must keep either state.
    for (bool startedOn : { true, false }) {
        TransparentConfig form;
        setAll(form, startedOn);
        runOperation(form, op);
        compareStates(form, states, startedOn);
        QCOMPARE(int(form.connectionType()), route < 0 ? int(AtProtocol::eMax) : route);
        // The form as a whole is the main window's business.
        QVERIFY(!form.isEnabled());
    }
}

void TestFormEnablement::laterCallWins()
{
    TransparentConfig form;
    form.Set485Settings(true);
    form.SetETHSettings(true);
    // The line columns keep what the tunnel left; the GSM rows are closed.
    compareStates(form, "0 1 1 0 0 0 0 1 0 0 1", true);
    QCOMPARE(form.connectionType(), AtProtocol::eETH);
    form.DataReadSettings(true);
    form.Set232Settings(true);
    compareStates(form, "1 0 0 1 0 1 1 1 0 0 1", true);
}

// The line's parameters follow its Enable combo, except over the other
// line's tunnel; over any tunnel the port stays locked.
void TestFormEnablement::enableFollowsCombo_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("port"); // '1', '0' or '-' (as the setup left it)
    QTest::addColumn<QString>("others"); // the eight other line parameters
    QTest::newRow("no route 485 on") << ""
                                     << "485" << 1 << "1"
                                     << "1";
    QTest::newRow("no route 232 on") << ""
                                     << "232" << 1 << "1"
                                     << "1";
    QTest::newRow("eth 485 on") << "SetETHSettings(true)"
                                << "485" << 1 << "1"
                                << "1";
    QTest::newRow("usb 232 on") << "SetUSBSettings(true)"
                                << "232" << 1 << "1"
                                << "1";
    QTest::newRow("tcp485 485 on") << "Set485Settings(true)"
                                   << "485" << 1 << "0"
                                   << "1";
    QTest::newRow("tcp232 232 on") << "Set232Settings(true)"
                                   << "232" << 1 << "0"
                                   << "1";
    QTest::newRow("tcp232 485 on") << "Set232Settings(true)"
                                   << "485" << 1 << "-"
                                   << "-";
    QTest::newRow("tcp485 232 on") << "Set485Settings(true)"
                                   << "232" << 1 << "-"
                                   << "-";
    QTest::newRow("tcp232 false 485 on") << "Set232Settings(false)"
                                         << "485" << 1 << "-"
                                         << "-";
}

void TestFormEnablement::enableFollowsCombo()
{
    QFETCH(QString, setup);
    QFETCH(QString, line);
    QFETCH(int, index);
    QFETCH(QString, port);
    QFETCH(QString, others);
    TransparentConfig form;
    if (!setup.isEmpty())
        runOperation(form, setup);
    const QStringList eight = lineGroup(line, false);
    auto* portBox = form.findChild<QWidget*>("spinBox_Port_" + line);
    const bool portBefore = portBox->isEnabledTo(&form);
    const bool othersBefore = form.findChild<QWidget*>(eight.first())->isEnabledTo(&form);

    ModalAnswerer answerer;
    form.findChild<QComboBox*>("comboBox_Enable_" + line)->setCurrentIndex(index);
    QCOMPARE(answerer.count(), 1);

    QCOMPARE(portBox->isEnabledTo(&form), port == "-" ? portBefore : port == "1");
    for (const QString& name : eight)
        QVERIFY2(form.findChild<QWidget*>(name)->isEnabledTo(&form)
                == (others == "-" ? othersBefore : others == "1"),
            qPrintable(name));

    // And back to Disable closes the parameters again (where the combo rules).
    form.findChild<QComboBox*>("comboBox_Enable_" + line)->setCurrentIndex(0);
    for (const QString& name : eight)
        QVERIFY2(form.findChild<QWidget*>(name)->isEnabledTo(&form)
                == (others == "-" ? othersBefore : false),
            qPrintable(name));
}

QTEST_MAIN(TestFormEnablement)
#include "tst_formenablement.moc"
