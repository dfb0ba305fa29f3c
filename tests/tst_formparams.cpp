#include "modalanswerer.h"
#include "transparentconfig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QtTest>

// Read-all answers applied to the form, and the write-all values read back.

namespace {

const QByteArray ethernetAnswer = "1,502,0,8,0,1,5,8,400,1000,5,0,503,4,7,2,2,9,16,250,200,0,1";
const QByteArray gsmAnswer = "1,502,0,8,0,1,5,8,400,1000,5,2,5000,300,"
                             "0,503,4,7,2,2,9,16,250,200,0,0,500,120,internet,1";

QByteArray withValue(const QByteArray& answer, int position, const QByteArray& value)
{
    QList<QByteArray> values = answer.split(',');
    values[position] = value;
    return values.join(',');
}

void route(TransparentConfig& form, const QString& name)
{
    if (name == "eth")
        form.SetETHSettings(true);
    else if (name == "usb")
        form.SetUSBSettings(true);
    else if (name == "485")
        form.Set485Settings(true);
    else if (name == "232")
        form.Set232Settings(true);
}

QString shown(TransparentConfig& form, const QString& name)
{
    QObject* control = form.findChild<QObject*>(name);
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->currentText();
    if (auto* box = qobject_cast<QSpinBox*>(control))
        return box->text();
    if (auto* line = qobject_cast<QLineEdit*>(control))
        return line->text();
    if (auto* check = qobject_cast<QCheckBox*>(control))
        return check->isChecked() ? "checked" : "unchecked";
    return "no control " + name;
}

// Everything the user can see, to prove that a refused answer changed nothing.
QStringList snapshot(TransparentConfig& form)
{
    QStringList all;
    for (QWidget* w : form.findChildren<QWidget*>())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_"))
            all << w->objectName() + "=" + shown(form, w->objectName()) + " "
                    + (w->isEnabledTo(&form) ? "on" : "off");
    all.sort();
    return all;
}

} // namespace

class TestFormParams : public QObject
{
    Q_OBJECT

private slots:
    void init() { answerer = new ModalAnswerer; }
    void cleanup() { delete answerer; }

    void decode_data();
    void decode();
    void roundTrip_data();
    void roundTrip();
    void readNeverWarns();
    void refused_data();
    void refused();
    void noRoute();
    void retryChangesBetweenReads();
    void extraValuesKept();

private:
    ModalAnswerer* answerer = nullptr;
};

void TestFormParams::decode_data()
{
    QTest::addColumn<QString>("via");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");

    QTest::newRow("eth enable") << "eth" << ethernetAnswer << "comboBox_Enable_485"
                                << "Enable";
    QTest::newRow("eth port") << "usb" << ethernetAnswer << "spinBox_Port_232"
                              << "503";
    QTest::newRow("eth mode") << "eth" << ethernetAnswer << "comboBox_Mod_232"
                              << "Full Transparent";
    QTest::newRow("eth 8 data bits") << "eth" << ethernetAnswer << "comboBox_Datab_485"
                                     << "8 Bit";
    QTest::newRow("eth 7 data bits") << "eth" << ethernetAnswer << "comboBox_Datab_232"
                                     << "7 Bit";
    QTest::newRow("eth 1 stop bit") << "eth" << ethernetAnswer << "comboBox_Stopb_485"
                                    << "1    Stop";
    QTest::newRow("eth 2 stop bits") << "eth" << ethernetAnswer << "comboBox_Stopb_232"
                                     << "2    Stop";
    QTest::newRow("eth parity") << "eth" << ethernetAnswer << "comboBox_Parityb_232"
                                << "Even";
    QTest::newRow("eth baud") << "eth" << ethernetAnswer << "comboBox_Baud_485"
                              << "9600";
    // The mode is applied before the silent interval, which shows the unit of the new mode.
    QTest::newRow("eth silent chars") << "eth" << ethernetAnswer << "spinBox_SilentInterval_485"
                                      << "8     char";
    QTest::newRow("eth silent ms") << "eth" << ethernetAnswer << "spinBox_SilentInterval_232"
                                   << "250    ms";
    QTest::newRow("eth modbus timeout") << "eth" << ethernetAnswer << "spinBox_ModbusTimeout_485"
                                        << "1000     ms";
    QTest::newRow("eth connect timeout") << "eth" << ethernetAnswer << "spinBox_EthTimeout_485"
                                         << "5     min";
    QTest::newRow("eth info on") << "eth" << ethernetAnswer << "checkBox_InfoResponse"
                                 << "checked";
    QTest::newRow("eth info off") << "eth" << withValue(ethernetAnswer, 22, "0")
                                  << "checkBox_InfoResponse"
                                  << "unchecked";

    QTest::newRow("gsm retry") << "485" << gsmAnswer << "spinBox_RetryCount_485"
                               << "2";
    QTest::newRow("gsm interval s") << "485" << gsmAnswer << "spinBox_IntervalTime_485"
                                    << "5   s";
    QTest::newRow("gsm interval ms") << "232" << gsmAnswer << "spinBox_IntervalTime_232"
                                     << "500    ms";
    QTest::newRow("gsm ping 300") << "485" << gsmAnswer << "spinBox_485_Ping_Interval"
                                  << "5       dk";
    QTest::newRow("gsm ping 120") << "232" << gsmAnswer << "spinBox_232_Ping_Interval"
                                  << "2       dk";
    QTest::newRow("gsm apn") << "485" << gsmAnswer << "lineEdit_APN"
                             << "internet";
    QTest::newRow("gsm digit apn") << "485" << withValue(gsmAnswer, 28, "12345") << "lineEdit_APN"
                                   << "12345";
    QTest::newRow("gsm empty apn") << "232" << withValue(gsmAnswer, 28, "") << "lineEdit_APN"
                                   << "";
    QTest::newRow("gsm silent ms") << "232" << gsmAnswer << "spinBox_SilentInterval_232"
                                   << "250    ms";
    QTest::newRow("gsm info") << "232" << gsmAnswer << "checkBox_InfoResponse"
                              << "checked";
}

void TestFormParams::decode()
{
    QFETCH(QString, via);
    QFETCH(QByteArray, answer);
    QFETCH(QString, control);
    QFETCH(QString, text);
    TransparentConfig form;
    route(form, via);
    QVERIFY(form.applyReadAll(answer));
    QCOMPARE(shown(form, control), text);
    QCOMPARE(form.paramsAll(), QString::fromUtf8(answer).split(','));
}

// Each row changes one value of an answer; the values written back are the
// answer with that value as the form sends it.
void TestFormParams::roundTrip_data()
{
    QTest::addColumn<QString>("via");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("position");
    QTest::addColumn<QByteArray>("read");
    QTest::addColumn<QString>("written");

    for (const char* via : { "eth", "usb" }) {
        QTest::addRow("%s as read", via) << via << ethernetAnswer << 0 << QByteArray("1") << "1";
        QTest::addRow("%s 7 data bits", via)
            << via << ethernetAnswer << 3 << QByteArray("7") << "7";
        QTest::addRow("%s 2 stop bits", via)
            << via << ethernetAnswer << 16 << QByteArray("2") << "2";
        QTest::addRow("%s info off", via) << via << ethernetAnswer << 22 << QByteArray("0") << "0";
        QTest::addRow("%s leading zero port", via)
            << via << ethernetAnswer << 1 << QByteArray("0502") << "502";
        QTest::addRow("%s port beyond the box", via)
            << via << ethernetAnswer << 12 << QByteArray("70000") << "65535";
        QTest::addRow("%s ms kept unsnapped", via)
            << via << ethernetAnswer << 19 << QByteArray("255") << "255";
        QTest::addRow("%s hidden chars kept", via)
            << via << ethernetAnswer << 18 << QByteArray("100") << "100";
    }
    for (const char* via : { "485", "232" }) {
        QTest::addRow("%s as read", via) << via << gsmAnswer << 0 << QByteArray("1") << "1";
        QTest::addRow("%s ping 300", via) << via << gsmAnswer << 13 << QByteArray("300") << "300";
        QTest::addRow("%s ping 150", via) << via << gsmAnswer << 27 << QByteArray("150") << "120";
        QTest::addRow("%s ping 90", via) << via << gsmAnswer << 13 << QByteArray("90") << "120";
        QTest::addRow("%s ping 0", via) << via << gsmAnswer << 27 << QByteArray("0") << "120";
        QTest::addRow("%s ping 9000", via)
            << via << gsmAnswer << 13 << QByteArray("9000") << "7200";
        QTest::addRow("%s interval retried", via)
            << via << gsmAnswer << 12 << QByteArray("7000") << "7000";
        QTest::addRow("%s interval retried drops ms", via)
            << via << gsmAnswer << 12 << QByteArray("7500") << "7000";
        QTest::addRow("%s interval not retried", via)
            << via << gsmAnswer << 26 << QByteArray("2500") << "2500";
        QTest::addRow("%s info off", via) << via << gsmAnswer << 29 << QByteArray("0") << "0";
        QTest::addRow("%s digit apn", via)
            << via << gsmAnswer << 28 << QByteArray("0123") << "0123";
        QTest::addRow("%s data bits 7", via) << via << gsmAnswer << 17 << QByteArray("7") << "7";
        QTest::addRow("%s stop bits 2", via) << via << gsmAnswer << 5 << QByteArray("2") << "2";
    }
}

void TestFormParams::roundTrip()
{
    QFETCH(QString, via);
    QFETCH(QByteArray, answer);
    QFETCH(int, position);
    QFETCH(QByteArray, read);
    QFETCH(QString, written);
    TransparentConfig form;
    route(form, via);
    const QByteArray modem = withValue(answer, position, read);
    QVERIFY(form.applyReadAll(modem));
    QStringList expected = QString::fromUtf8(answer).split(',');
    expected[position] = written;
    QCOMPARE(form.writeAllValues(), expected);
}

void TestFormParams::readNeverWarns()
{
    TransparentConfig form;
    form.SetETHSettings(true);
    QVERIFY(form.applyReadAll(ethernetAnswer));
    QVERIFY(form.applyReadAll(withValue(withValue(ethernetAnswer, 0, "0"), 11, "1")));
    QCOMPARE(answerer->count(), 0);
    QCOMPARE(shown(form, "comboBox_Enable_485"), QString("Disable"));
    QCOMPARE(shown(form, "comboBox_Enable_232"), QString("Enable"));
    // The lines follow the Enable values read.
    QVERIFY(!form.findChild<QWidget*>("comboBox_Mod_485")->isEnabledTo(&form));
    QVERIFY(form.findChild<QWidget*>("comboBox_Mod_232")->isEnabledTo(&form));
    // By hand, away from the value read, the user is warned.
    form.findChild<QComboBox*>("comboBox_Enable_232")->setCurrentIndex(0);
    QCOMPARE(answerer->count(), 1);
    QCOMPARE(answerer->lastText(), QString("Portunuz açık ise kapatılacak !"));
}

void TestFormParams::refused_data()
{
    QTest::addColumn<QString>("via");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("reason");
    QTest::newRow("eth data bits") << "eth" << withValue(ethernetAnswer, 14, "9")
                                   << "Configuration refused: 232DATAB = 9 breaks ( ValOfList >= "
                                      "DatabitMin ) && ( ValOfList <= DatabitMax )";
    QTest::newRow("eth last value") << "usb" << withValue(ethernetAnswer, 22, "2")
                                    << "Configuration refused: INFORESPONSE = 2 breaks ValOfList "
                                       "<= EnableIndexMax";
    QTest::newRow("eth short") << "eth" << ethernetAnswer.left(ethernetAnswer.lastIndexOf(','))
                               << "Configuration refused: 22 values, 23 expected";
    QTest::newRow("eth empty") << "eth" << QByteArray()
                               << "Configuration refused: 1 values, 23 expected";
    QTest::newRow("gsm mode") << "485" << withValue(gsmAnswer, 16, "5")
                              << "Configuration refused: 232MOD = 5 breaks ValOfList <= "
                                 "TrpModIndexMax";
    QTest::newRow("gsm silent ms") << "232" << withValue(gsmAnswer, 8, "0")
                                   << "Configuration refused: 485WAITMS = 0 breaks ( ValOfList >= "
                                      "WaitingMsMin ) && ( ValOfList <= WaitingMsMax )";
    QTest::newRow("gsm not a number") << "232" << withValue(gsmAnswer, 21, "x")
                                      << "Configuration refused: 232WAITCHR = x breaks ( ValOfList "
                                         ">= WaitingChrMin ) && ( ValOfList <= WaitingChrMax )";
    QTest::newRow("gsm ethernet answer")
        << "485" << ethernetAnswer << "Configuration refused: 23 values, 30 expected";
    QTest::newRow("gsm negative enable") << "232" << withValue(gsmAnswer, 14, "-1")
                                         << "Configuration refused: 232EN = -1 breaks ValOfList "
                                            "<= EnableIndexMax";
}

void TestFormParams::refused()
{
    QFETCH(QString, via);
    QFETCH(QByteArray, answer);
    QFETCH(QString, reason);
    TransparentConfig form;
    route(form, via);
    const bool gsm = via == "485" || via == "232";
    // A good read first, then the user edits one value: all of it must survive.
    QVERIFY(form.applyReadAll(gsm ? gsmAnswer : ethernetAnswer));
    auto* timeout = form.findChild<QSpinBox*>("spinBox_ModbusTimeout_485");
    timeout->setValue(3330);
    const QStringList params = form.paramsAll();
    const QStringList values = form.writeAllValues();
    const QStringList before = snapshot(form);

    QSignalSpy status(&form, &TransparentConfig::WriteStatusBar);
    QCOMPARE(form.applyReadAll(answer), false);
    QCOMPARE(status.count(), 1);
    QVERIFY2(status.first().at(0).toString().startsWith(reason),
        qPrintable(status.first().at(0).toString()));
    QCOMPARE(status.first().at(1).toInt(), 3000);
    QCOMPARE(form.paramsAll(), params);
    QCOMPARE(form.writeAllValues(), values);
    QCOMPARE(snapshot(form), before);
    QCOMPARE(answerer->count(), 0);
}

void TestFormParams::noRoute()
{
    TransparentConfig form;
    const QStringList before = snapshot(form);
    QSignalSpy status(&form, &TransparentConfig::WriteStatusBar);
    QCOMPARE(form.applyReadAll(ethernetAnswer), false);
    QCOMPARE(form.applyReadAll(gsmAnswer), false);
    QCOMPARE(status.count(), 0);
    QVERIFY(form.paramsAll().isEmpty());
    QVERIFY(form.writeAllValues().isEmpty());
    QCOMPARE(snapshot(form), before);
}

// The interval box changes unit with the retry count of the same answer.
void TestFormParams::retryChangesBetweenReads()
{
    TransparentConfig form;
    form.Set485Settings(true);
    QVERIFY(form.applyReadAll(gsmAnswer)); // RS485 retries 2 times, interval 5000 ms
    QCOMPARE(shown(form, "spinBox_IntervalTime_485"), QString("5   s"));
    QVERIFY(form.applyReadAll(withValue(withValue(gsmAnswer, 11, "0"), 12, "500")));
    QCOMPARE(shown(form, "spinBox_IntervalTime_485"), QString("500    ms"));
    QCOMPARE(form.writeAllValues().at(12), QString("500"));
    QVERIFY(form.applyReadAll(withValue(withValue(gsmAnswer, 25, "3"), 26, "9000")));
    QCOMPARE(shown(form, "spinBox_IntervalTime_232"), QString("9   s"));
    QCOMPARE(form.writeAllValues().at(26), QString("9000"));
}

void TestFormParams::extraValuesKept()
{
    TransparentConfig form;
    form.SetETHSettings(true);
    const QByteArray longer = ethernetAnswer + ",77,";
    QVERIFY(form.applyReadAll(longer));
    QCOMPARE(form.paramsAll().size(), 25);
    QCOMPARE(form.paramsAll().at(23), QString("77"));
    QCOMPARE(form.paramsAll().at(24), QString());
    QCOMPARE(form.writeAllValues().size(), 23);
}

QTEST_MAIN(TestFormParams)
#include "tst_formparams.moc"
