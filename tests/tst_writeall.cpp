#include "modalanswerer.h"
#include "transparentconfig.h"
#include "tst_receive_fixtures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

using Route = AtProtocol::eConnection_State_t;
using Answers = QList<QMessageBox::StandardButton>;
Q_DECLARE_METATYPE(Answers)

namespace {

const QString FramingTitle485 = "RS485 Config Warning";
const QString FramingTitle232 = "RS232 Config Warning";
const QString FramingText = "7bit Parity None olarak devam etmek istiyor musunuz ?";
const QString QuestionTitle = "Dikkat !";
const QString QuestionText = "Parametrelerinizde değişiklik var. Devam etmek istiyor musunuz ?";
const QByteArray ReadAll = "AT+READALL\r\n";

QByteArray withValues(QByteArray values, const QMap<int, QByteArray>& changes)
{
    QList<QByteArray> list = values.split(',');
    for (auto it = changes.begin(); it != changes.end(); ++it)
        list[it.key()] = it.value();
    return list.join(',');
}

QByteArray frame(const QByteArray& values)
{
    return "AT+WRITEALL=" + values + "\r\n";
}

void read(TransparentConfig& form, const QByteArray& values)
{
    QByteArray block = "+READALL=" + values + "\r\n";
    QCOMPARE(form.Receive_Callback(block, nullptr), AtProtocol::err_OK);
    QCOMPARE(form.paramsAll().join(','), QString::fromUtf8(values));
}

// The user's edit of one control, as "objectName=value".
void edit(TransparentConfig& form, const QString& change)
{
    if (change.isEmpty())
        return;
    const QString name = change.section('=', 0, 0);
    const QString value = change.section('=', 1);
    QObject* control = form.findChild<QObject*>(name);
    if (auto* box = qobject_cast<QSpinBox*>(control))
        box->setValue(value.toInt());
    else if (auto* combo = qobject_cast<QComboBox*>(control))
        combo->setCurrentIndex(value.toInt());
    else if (auto* line = qobject_cast<QLineEdit*>(control))
        line->setText(value);
    else if (auto* check = qobject_cast<QCheckBox*>(control))
        check->setChecked(value == "1");
    else
        QFAIL(qPrintable("no control " + name));
}

QList<QByteArray> apply(TransparentConfig& form)
{
    QSignalSpy written(&form, &TransparentConfig::WriteData);
    QMetaObject::invokeMethod(&form, "on_pushButton_ConfigurationApply_clicked");
    QList<QByteArray> frames;
    for (const QList<QVariant>& args : written)
        frames << args.at(0).toByteArray();
    return frames;
}

QStringList titles(const ModalAnswerer& answerer)
{
    QStringList all;
    for (const ModalAnswerer::Box& box : answerer.boxes)
        all << box.title;
    return all;
}

} // namespace

class TestWriteAll : public QObject
{
    Q_OBJECT

private slots:
    void afterRead_data();
    void afterRead();
    void afterEdit_data();
    void afterEdit();
    void framingWarnings_data();
    void framingWarnings();
    void changedWithoutRead();
    void apnWithSeparator_data();
    void apnWithSeparator();
    void noRoute();
};

void TestWriteAll::afterRead_data()
{
    addRouteRows();
}

// Right after a read nothing differs: the frame goes out at once, unasked.
void TestWriteAll::afterRead()
{
    QFETCH(int, route);
    QFETCH(QByteArray, values);
    TransparentConfig form;
    setRoute(form, Route(route));
    read(form, values);
    ModalAnswerer answerer;
    QCOMPARE(apply(form), QList<QByteArray> { frame(values) });
    QCOMPARE(answerer.count(), 0);
}

void TestWriteAll::afterEdit_data()
{
    QTest::addColumn<int>("route");
    QTest::addColumn<QByteArray>("values");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("eth port") << int(AtProtocol::eETH) << EthValues << "spinBox_Port_485=600"
                              << withValues(EthValues, { { 1, "600" } });
    QTest::newRow("eth baud 232") << int(AtProtocol::eUSB) << EthValues << "comboBox_Baud_232=3"
                                  << withValues(EthValues, { { 17, "3" } });
    QTest::newRow("eth info response")
        << int(AtProtocol::eETH) << EthValues << "checkBox_InfoResponse=0"
        << withValues(EthValues, { { 22, "0" } });
    QTest::newRow("gsm ping minutes")
        << int(AtProtocol::eTCP485) << GsmValues << "spinBox_485_Ping_Interval=7"
        << withValues(GsmValues, { { 13, "420" } });
    QTest::newRow("gsm interval seconds")
        << int(AtProtocol::eTCP485) << GsmValues << "spinBox_IntervalTime_485=4"
        << withValues(GsmValues, { { 12, "4000" } });
    QTest::newRow("gsm apn") << int(AtProtocol::eTCP232) << GsmValues << "lineEdit_APN=iot.net"
                             << withValues(GsmValues, { { 28, "iot.net" } });
    // Read values the form cannot show as sent count as changes themselves.
    QTest::newRow("leading zero") << int(AtProtocol::eETH)
                                  << withValues(EthValues, { { 1, "0502" } }) << "" << EthValues;
    QTest::newRow("ping not whole minutes")
        << int(AtProtocol::eTCP485) << withValues(GsmValues, { { 13, "150" } }) << ""
        << withValues(GsmValues, { { 13, "120" } });
}

void TestWriteAll::afterEdit()
{
    QFETCH(int, route);
    QFETCH(QByteArray, values);
    QFETCH(QString, change);
    QFETCH(QByteArray, expected);

    for (const bool yes : { true, false }) {
        TransparentConfig form;
        setRoute(form, Route(route));
        read(form, values);
        edit(form, change);
        ModalAnswerer answerer({ yes ? QMessageBox::Yes : QMessageBox::No });
        // No re-reads the modem instead of writing.
        QCOMPARE(apply(form), QList<QByteArray> { yes ? frame(expected) : ReadAll });
        QCOMPARE(titles(answerer), QStringList { QuestionTitle });
        QCOMPARE(answerer.lastText(), QuestionText);
        // Writing does not count as reading: the comparison stays with the modem's values.
        QCOMPARE(form.paramsAll().join(','), QString::fromUtf8(values));
    }
}

void TestWriteAll::framingWarnings_data()
{
    QTest::addColumn<QByteArray>("values");
    QTest::addColumn<QString>("change");
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<bool>("written");

    // Positions: 485 data bits 3, parity 4; 232 data bits 14, parity 15.
    const QByteArray rs485 = withValues(EthValues, { { 3, "7" }, { 4, "0" } });
    const QByteArray rs232 = withValues(EthValues, { { 14, "7" }, { 15, "0" } });
    const QByteArray both = withValues(rs485, { { 14, "7" }, { 15, "0" } });
    const auto yes = QMessageBox::Yes;
    const auto no = QMessageBox::No;

    QTest::newRow("485 yes") << rs485 << "" << Answers { yes } << QStringList { FramingTitle485 }
                             << true;
    QTest::newRow("485 no") << rs485 << "" << Answers { no } << QStringList { FramingTitle485 }
                            << false;
    QTest::newRow("232 yes") << rs232 << "" << Answers { yes } << QStringList { FramingTitle232 }
                             << true;
    QTest::newRow("232 no") << rs232 << "" << Answers { no } << QStringList { FramingTitle232 }
                            << false;
    QTest::newRow("both, 232 yes decides")
        << both << "" << Answers { no, yes } << QStringList { FramingTitle485, FramingTitle232 }
        << true;
    QTest::newRow("both, 232 no decides")
        << both << "" << Answers { yes, no } << QStringList { FramingTitle485, FramingTitle232 }
        << false;
    QTest::newRow("7 bit even") << EthValues << "" << Answers { yes } << QStringList() << true;
    QTest::newRow("8 bit none") << withValues(EthValues, { { 14, "8" }, { 15, "0" } }) << ""
                                << Answers { yes } << QStringList() << true;
    QTest::newRow("disabled line warns too")
        << withValues(rs485, { { 0, "0" } }) << "" << Answers { no }
        << QStringList { FramingTitle485 } << false;
    QTest::newRow("declined, changed, question yes")
        << rs485 << "spinBox_Port_485=600" << Answers { no, yes }
        << QStringList { FramingTitle485, QuestionTitle } << false;
}

void TestWriteAll::framingWarnings()
{
    QFETCH(QByteArray, values);
    QFETCH(QString, change);
    QFETCH(Answers, answers);
    QFETCH(QStringList, boxes);
    QFETCH(bool, written);

    TransparentConfig form;
    form.SetETHSettings(true);
    read(form, values);
    edit(form, change);
    ModalAnswerer answerer(answers);
    const QList<QByteArray> frames = apply(form);
    QCOMPARE(titles(answerer), boxes);
    for (const ModalAnswerer::Box& box : answerer.boxes)
        if (box.title != QuestionTitle)
            QCOMPARE(box.text, FramingText);
    if (written)
        QCOMPARE(frames, QList<QByteArray> { frame(values) });
    else
        QVERIFY(frames.isEmpty());
}

// Before any read there is nothing to compare with, so the user is always asked.
void TestWriteAll::changedWithoutRead()
{
    const QByteArray defaults = "0,0,0,8,0,1,0,8,400,100,0,0,0,0,8,0,1,0,8,400,100,0,0";
    for (const bool yes : { true, false }) {
        TransparentConfig form;
        form.SetETHSettings(true);
        ModalAnswerer answerer({ yes ? QMessageBox::Yes : QMessageBox::No });
        QCOMPARE(apply(form), QList<QByteArray> { yes ? frame(defaults) : ReadAll });
        QCOMPARE(titles(answerer), QStringList { QuestionTitle });
    }
}

void TestWriteAll::apnWithSeparator_data()
{
    QTest::addColumn<int>("route");
    QTest::addColumn<QString>("apn");
    QTest::newRow("comma") << int(AtProtocol::eTCP485) << "internet,x";
    QTest::newRow("CR") << int(AtProtocol::eTCP232) << "internet\rx";
    QTest::newRow("LF") << int(AtProtocol::eTCP485) << "internet\n";
}

void TestWriteAll::apnWithSeparator()
{
    QFETCH(int, route);
    QFETCH(QString, apn);
    TransparentConfig form;
    setRoute(form, Route(route));
    read(form, GsmValues);
    form.findChild<QLineEdit*>("lineEdit_APN")->setText(apn);
    ModalAnswerer answerer({ QMessageBox::Yes });
    QVERIFY(apply(form).isEmpty());
    QCOMPARE(titles(answerer), QStringList { "Uyarı !" });
    QVERIFY(answerer.lastText().contains("APN"));
}

void TestWriteAll::noRoute()
{
    TransparentConfig form;
    ModalAnswerer answerer({ QMessageBox::Yes });
    QVERIFY(apply(form).isEmpty());
    QCOMPARE(answerer.count(), 0);
}

QTEST_MAIN(TestWriteAll)
#include "tst_writeall.moc"
