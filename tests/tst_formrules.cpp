#include "modalanswerer.h"
#include "transparentconfig.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

namespace {

const QString portWarning = "Portunuz açık ise kapatılacak !";
const QString apnWarningText
    = "APN Değiştirildi Değişiklikleri modeme yazarsanız modem yeniden başlatılacak !";

QSpinBox* spin(TransparentConfig& form, const QString& name)
{
    auto* box = form.findChild<QSpinBox*>(name);
    Q_ASSERT(box);
    return box;
}

QComboBox* combo(TransparentConfig& form, const QString& name)
{
    auto* box = form.findChild<QComboBox*>(name);
    Q_ASSERT(box);
    return box;
}

// What the user does: type a value, then leave the box.
void edit(QSpinBox* box, int value)
{
    box->setValue(value);
    QMetaObject::invokeMethod(box, "editingFinished");
}

struct Presentation
{
    QString suffix;
    int minimum;
    int maximum;
    int step;
    int value;
};

Presentation presentation(const QSpinBox* box)
{
    return { box->suffix(), box->minimum(), box->maximum(), box->singleStep(), box->value() };
}

QString describe(const Presentation& p)
{
    return QString("'%1' %2..%3 step %4 value %5")
        .arg(p.suffix)
        .arg(p.minimum)
        .arg(p.maximum)
        .arg(p.step)
        .arg(p.value);
}

const Presentation chars = { "     char", 4, 128, 1, 8 };
const Presentation millis = { "    ms", 10, 5000, 10, 400 };
const Presentation seconds = { "   s", 3, 10, 1, 3 };
const Presentation intervalMs = { "    ms", 0, 5000, 100, 100 };

} // namespace

Q_DECLARE_METATYPE(Presentation)

class TestFormRules : public QObject
{
    Q_OBJECT

private slots:
    void silentIntervalFollowsMode_data();
    void silentIntervalFollowsMode();
    void silentIntervalEdit_data();
    void silentIntervalEdit();
    void snapping_data();
    void snapping();
    void commandIntervalFollowsRetry_data();
    void commandIntervalFollowsRetry();
    void ports_data();
    void ports();
    void enableWarning_data();
    void enableWarning();
    void apnWarning();
    void apnWarningOncePerEdit();
    void readConfiguration_data();
    void readConfiguration();
    void staticIpButton();
};

void TestFormRules::silentIntervalFollowsMode_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QList<int>>("modes");
    QTest::addColumn<Presentation>("expected");
    for (const char* l : { "485", "232" }) {
        QTest::addRow("%s full transparent", l) << l << QList<int> { 4 } << millis;
        QTest::addRow("%s back to rtu", l) << l << QList<int> { 4, 0 } << chars;
        QTest::addRow("%s ascii over tcp", l) << l << QList<int> { 3 } << chars;
        QTest::addRow("%s between modbus modes", l) << l << QList<int> { 1, 2 } << chars;
        QTest::addRow("%s twice full", l) << l << QList<int> { 4, 1, 4 } << millis;
    }
}

void TestFormRules::silentIntervalFollowsMode()
{
    QFETCH(QString, line);
    QFETCH(QList<int>, modes);
    QFETCH(Presentation, expected);
    TransparentConfig form;
    QSpinBox* box = spin(form, "spinBox_SilentInterval_" + line);
    for (int mode : modes)
        combo(form, "comboBox_Mod_" + line)->setCurrentIndex(mode);
    QCOMPARE(describe(presentation(box)), describe(expected));
    // The other line is not touched.
    const QString other = line == "485" ? "232" : "485";
    QCOMPARE(spin(form, "spinBox_SilentInterval_" + other)->suffix(), QString("     Char"));
}

void TestFormRules::silentIntervalEdit_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("typed");
    QTest::addColumn<int>("shown");
    QTest::newRow("15 ms") << 4 << 15 << 10;
    QTest::newRow("4999 ms") << 4 << 4999 << 4990;
    QTest::newRow("5000 ms") << 4 << 5000 << 5000;
    QTest::newRow("10 ms") << 4 << 10 << 10;
    QTest::newRow("13 chars") << 0 << 13 << 13;
    QTest::newRow("128 chars") << 2 << 128 << 128;
}

// The edited value is what the form keeps: it comes back after a trip
// through the other unit and goes out in the write-all values.
void TestFormRules::silentIntervalEdit()
{
    QFETCH(int, mode);
    QFETCH(int, typed);
    QFETCH(int, shown);
    const bool ms = mode == 4;
    for (const QString line : { "485", "232" }) {
        TransparentConfig form;
        form.SetETHSettings(true);
        QComboBox* modCombo = combo(form, "comboBox_Mod_" + line);
        QSpinBox* box = spin(form, "spinBox_SilentInterval_" + line);
        modCombo->setCurrentIndex(mode);
        edit(box, typed);
        QCOMPARE(box->value(), shown);
        modCombo->setCurrentIndex(ms ? 0 : 4);
        QCOMPARE(box->value(), ms ? 8 : 400);
        modCombo->setCurrentIndex(mode);
        QCOMPARE(box->value(), shown);
        // Positions 7/8 (RS485) and 18/19 (RS232) of the Ethernet list.
        const int base = line == "485" ? 7 : 18;
        const QStringList values = form.writeAllValues();
        QCOMPARE(values[base], QString::number(ms ? 8 : shown));
        QCOMPARE(values[base + 1], QString::number(ms ? shown : 400));
    }
}

void TestFormRules::snapping_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("retry"); // -1: leave the retry count alone
    QTest::addColumn<int>("typed");
    QTest::addColumn<int>("shown");
    for (const char* l : { "485", "232" }) {
        const QString s(l);
        QTest::addRow("%s modbus 105", l) << "spinBox_ModbusTimeout_" + s << -1 << 105 << 100;
        QTest::addRow("%s modbus 9999", l) << "spinBox_ModbusTimeout_" + s << -1 << 9999 << 9990;
        QTest::addRow("%s modbus 250", l) << "spinBox_ModbusTimeout_" + s << -1 << 250 << 250;
        QTest::addRow("%s interval untouched 10", l)
            << "spinBox_IntervalTime_" + s << -1 << 10 << 0;
        QTest::addRow("%s interval first step 120", l)
            << "spinBox_IntervalTime_" + s << -1 << 120 << 100;
        QTest::addRow("%s interval ms 250", l) << "spinBox_IntervalTime_" + s << 0 << 250 << 200;
        QTest::addRow("%s interval s 7", l) << "spinBox_IntervalTime_" + s << 2 << 7 << 7;
        QTest::addRow("%s ping 57", l) << "spinBox_" + s + "_Ping_Interval" << -1 << 57 << 57;
    }
}

void TestFormRules::snapping()
{
    QFETCH(QString, name);
    QFETCH(int, retry);
    QFETCH(int, typed);
    QFETCH(int, shown);
    TransparentConfig form;
    if (retry >= 0)
        edit(spin(form, "spinBox_RetryCount_" + name.right(3)), retry);
    QSpinBox* box = spin(form, name);
    if (typed == box->value())
        QMetaObject::invokeMethod(box, "editingFinished");
    else
        edit(box, typed);
    QCOMPARE(box->value(), shown);
}

void TestFormRules::commandIntervalFollowsRetry_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QList<int>>("retries");
    QTest::addColumn<int>("modeAfter"); // -1: no mode change afterwards
    QTest::addColumn<Presentation>("expected");
    for (const char* l : { "485", "232" }) {
        QTest::addRow("%s retry 2", l) << l << QList<int> { 2 } << -1 << seconds;
        QTest::addRow("%s retry 0", l) << l << QList<int> { 0 } << -1 << intervalMs;
        QTest::addRow("%s retry 2 then 0", l) << l << QList<int> { 2, 0 } << -1 << intervalMs;
        QTest::addRow("%s retry 5", l) << l << QList<int> { 5 } << -1 << seconds;
        // A mode change presents the interval again by the retry count.
        QTest::addRow("%s retry 2 then mode", l) << l << QList<int> { 2 } << 4 << seconds;
        QTest::addRow("%s no retry then mode", l) << l << QList<int> {} << 1 << intervalMs;
    }
}

void TestFormRules::commandIntervalFollowsRetry()
{
    QFETCH(QString, line);
    QFETCH(QList<int>, retries);
    QFETCH(int, modeAfter);
    QFETCH(Presentation, expected);
    TransparentConfig form;
    QSpinBox* interval = spin(form, "spinBox_IntervalTime_" + line);
    for (int retry : retries)
        edit(spin(form, "spinBox_RetryCount_" + line), retry);
    if (modeAfter >= 0) {
        edit(interval, interval->maximum()); // changed by hand, then reset by the mode
        combo(form, "comboBox_Mod_" + line)->setCurrentIndex(modeAfter);
    }
    QCOMPARE(describe(presentation(interval)), describe(expected));
}

void TestFormRules::ports_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QList<int>>("typed");
    QTest::addColumn<int>("last"); // what the last box edited shows
    QTest::newRow("485 takes the 232 port") << QStringList { "485" } << QList<int> { 503 } << 502;
    QTest::newRow("232 takes the 485 port") << QStringList { "232" } << QList<int> { 502 } << 503;
    QTest::newRow("485 free port") << QStringList { "485" } << QList<int> { 600 } << 600;
    QTest::newRow("232 then the new 485 port")
        << QStringList { "485", "232" } << QList<int> { 600, 600 } << 503;
    QTest::newRow("old 485 port free again")
        << QStringList { "485", "232" } << QList<int> { 600, 502 } << 502;
    QTest::newRow("refused twice keeps the last accepted")
        << QStringList { "485", "485", "485" } << QList<int> { 700, 503, 503 } << 700;
}

void TestFormRules::ports()
{
    QFETCH(QStringList, lines);
    QFETCH(QList<int>, typed);
    QFETCH(int, last);
    TransparentConfig form;
    for (int i = 0; i < lines.size(); ++i)
        edit(spin(form, "spinBox_Port_" + lines[i]), typed[i]);
    QCOMPARE(spin(form, "spinBox_Port_" + lines.last())->value(), last);
}

void TestFormRules::enableWarning_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QList<int>>("indexes");
    QTest::addColumn<int>("boxes");
    for (const char* l : { "485", "232" }) {
        QTest::addRow("%s enable by hand", l) << l << QList<int> { 1 } << 1;
        QTest::addRow("%s enable and back", l) << l << QList<int> { 1, 0 } << 1;
        QTest::addRow("%s same index", l) << l << QList<int> { 0 } << 0;
    }
}

void TestFormRules::enableWarning()
{
    QFETCH(QString, line);
    QFETCH(QList<int>, indexes);
    QFETCH(int, boxes);
    TransparentConfig form;
    ModalAnswerer answerer;
    for (int index : indexes)
        combo(form, "comboBox_Enable_" + line)->setCurrentIndex(index);
    QCOMPARE(answerer.count(), boxes);
    for (const ModalAnswerer::Box& box : answerer.boxes) {
        QCOMPARE(box.title, QString("Uyarı !"));
        QCOMPARE(box.text, portWarning);
    }
}

void TestFormRules::apnWarning()
{
    TransparentConfig form;
    auto* apn = form.findChild<QLineEdit*>("lineEdit_APN");
    ModalAnswerer answerer;
    apn->setText("internet");
    QMetaObject::invokeMethod(apn, "editingFinished");
    QMetaObject::invokeMethod(apn, "editingFinished");
    QCOMPARE(answerer.count(), 2);
    QCOMPARE(answerer.lastTitle(), QString("Uyarı !"));
    QCOMPARE(answerer.lastText(), apnWarningText);
    QCOMPARE(apn->text(), QString("internet"));

    // Back to the value last read (empty here): nothing to warn about.
    apn->clear();
    QMetaObject::invokeMethod(apn, "editingFinished");
    QCOMPARE(answerer.count(), 2);
}

// Opening the box takes the focus from the line edit, which on its own would
// report the edit finished a second time.
void TestFormRules::apnWarningOncePerEdit()
{
    TransparentConfig form;
    form.setEnabled(true);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto* apn = form.findChild<QLineEdit*>("lineEdit_APN");
    apn->setFocus();
    QTRY_VERIFY(apn->hasFocus());
    ModalAnswerer answerer;
    QTest::keyClicks(apn, "web");
    QTest::keyClick(apn, Qt::Key_Return);
    QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
    QTest::qWait(50);
    QCOMPARE(answerer.count(), 1);
    QCOMPARE(apn->text(), QString("web"));
}

void TestFormRules::readConfiguration_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("no route") << "" << QByteArray();
    QTest::newRow("eth") << "eth" << QByteArray("AT+READALL\r\n");
    QTest::newRow("usb") << "usb" << QByteArray("AT+READALL\r\n");
    QTest::newRow("tcp485") << "485" << QByteArray("AT+READALL\r\n");
    QTest::newRow("tcp232") << "232" << QByteArray("AT+READALL\r\n");
    QTest::newRow("tcp232 link down") << "232 down" << QByteArray("AT+READALL\r\n");
}

void TestFormRules::readConfiguration()
{
    QFETCH(QString, route);
    QFETCH(QByteArray, frame);
    TransparentConfig form;
    if (route == "eth")
        form.SetETHSettings(true);
    else if (route == "usb")
        form.SetUSBSettings(true);
    else if (route == "485")
        form.Set485Settings(true);
    else if (route == "232")
        form.Set232Settings(true);
    else if (route == "232 down")
        form.Set232Settings(false);
    form.setEnabled(true);
    QSignalSpy sent(&form, &TransparentConfig::WriteData);
    QTest::mouseClick(form.findChild<QPushButton*>("pushButton_ReadConfiguration"), Qt::LeftButton);
    if (frame.isEmpty()) {
        QCOMPARE(sent.count(), 0);
    } else {
        QCOMPARE(sent.count(), 1);
        QCOMPARE(sent.first().first().toByteArray(), frame);
    }
}

void TestFormRules::staticIpButton()
{
    TransparentConfig form;
    form.setEnabled(true);
    QSignalSpy open(&form, &TransparentConfig::OpenStaticIpWindow);
    QSignalSpy sent(&form, &TransparentConfig::WriteData);
    QTest::mouseClick(form.findChild<QPushButton*>("pushButton_StaticIPConfig"), Qt::LeftButton);
    QCOMPARE(open.count(), 1);
    QCOMPARE(sent.count(), 0);
}

QTEST_MAIN(TestFormRules)
#include "tst_formrules.moc"
