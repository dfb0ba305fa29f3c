#include "modalanswerer.h"
#include "testmain.h"
#include "tst_receive_fixtures.h"

#include <QSignalSpy>

using Answers = QList<QMessageBox::StandardButton>;
Q_DECLARE_METATYPE(Answers)

namespace {

const QString Framing = ": 7bit Parity None olarak devam etmek istiyor musunuz ?";
const QString W485 = "RS485 Config Warning" + Framing, W232 = "RS232 Config Warning" + Framing;
const QString Question
    = "Dikkat !: Parametrelerinizde değişiklik var. Devam etmek istiyor musunuz ?";
const QString ApnWarning
    = "Uyarı !: APN virgül (,) ya da satır sonu içeremez: modem bunları "
      "alan ayırıcı olarak okur ve yapılandırması bozulur. Yapılandırma yazılmadı.";
const QString ReRead = "AT+READALL\r\n";

// The values with some replaced, as "position=value position=value".
QByteArray with(const QByteArray& values, const QString& changes)
{
    QList<QByteArray> list = values.split(',');
    for (const QString& change : changes.split(' '))
        list[change.section('=', 0, 0).toInt()] = change.section('=', 1).toUtf8();
    return list.join(',');
}

QString frame(const QByteArray& values)
{
    return "AT+WRITEALL=" + QString::fromUtf8(values) + "\r\n";
}

} // namespace

class TestWriteAll : public QObject
{
    Q_OBJECT

private slots:
    void apply_data();
    void apply();
};

void TestWriteAll::apply_data()
{
    QTest::addColumn<int>("route");
    QTest::addColumn<QByteArray>("values"); // the read-all answer before, if any
    QTest::addColumn<QString>("change"); // the user's edit: "objectName.property=value"
    QTest::addColumn<Answers>("answers");
    QTest::addColumn<QStringList>("seen"); // boxes as "title: text", then the frames sent
    const auto Y = QMessageBox::Yes, N = QMessageBox::No;
    const auto row = [](const char* name, Route r, const QByteArray& values, const char* change,
                         Answers answers, const QStringList& seen) {
        QTest::newRow(name) << int(r) << values << QString(change) << answers << seen;
    };
    // Right after a read nothing differs: the frame goes out at once, unasked.
    for (int r = 0; r < AtProtocol::eMax; ++r)
        QTest::addRow("unchanged %d", r) << r << valuesOf(Route(r)) << QString() << Answers { N }
                                         << QStringList { frame(valuesOf(Route(r))) };
    // Positions: RS485 data bits 3, parity 4; RS232 data bits 14, parity 15 (GSM: 17, 18).
    const QByteArray rs485 = with(EthValues, "3=7 4=0"), both = with(rs485, "14=7 15=0");
    const QByteArray gsm232 = with(GsmValues, "17=7 18=0");
    const QByteArray defaults = "0,0,0,8,0,1,0,8,400,100,0,0,0,0,8,0,1,0,8,400,100,0,0";
    // clang-format off
    row("no route: no dialect, nothing sent", AtProtocol::eMax, "", "", { Y }, {});
    row("eth port", AtProtocol::eETH, EthValues, "spinBox_Port_485.value=600", { Y }, { Question, frame(with(EthValues, "1=600")) });
    row("usb baud 232", AtProtocol::eUSB, EthValues, "comboBox_Baud_232.currentIndex=3", { Y }, { Question, frame(with(EthValues, "17=3")) });
    row("info response", AtProtocol::eETH, EthValues, "checkBox_InfoResponse.checked=0", { Y }, { Question, frame(with(EthValues, "22=0")) });
    row("ping minutes", AtProtocol::eTCP485, GsmValues, "spinBox_485_Ping_Interval.value=7", { Y }, { Question, frame(with(GsmValues, "13=420")) });
    row("interval seconds", AtProtocol::eTCP485, GsmValues, "spinBox_IntervalTime_485.value=4", { Y }, { Question, frame(with(GsmValues, "12=4000")) });
    row("apn", AtProtocol::eTCP232, GsmValues, "lineEdit_APN.text=iot.net", { Y }, { Question, frame(with(GsmValues, "28=iot.net")) });
    row("leading zero read", AtProtocol::eETH, with(EthValues, "1=0502"), "", { Y }, { Question, frame(EthValues) });
    row("ping not whole minutes", AtProtocol::eTCP485, with(GsmValues, "13=150"), "", { Y }, { Question, frame(with(GsmValues, "13=120")) });
    row("nothing read yet", AtProtocol::eETH, "", "", { Y }, { Question, frame(defaults) });
    row("no re-reads, eth", AtProtocol::eETH, EthValues, "spinBox_Port_485.value=600", { N }, { Question, ReRead });
    row("no re-reads, gsm", AtProtocol::eTCP232, GsmValues, "lineEdit_APN.text=x", { N }, { Question, ReRead });
    row("485 7N yes", AtProtocol::eETH, rs485, "", { Y }, { W485, frame(rs485) });
    row("485 7N no", AtProtocol::eETH, rs485, "", { N }, { W485 });
    row("232 7N no, gsm", AtProtocol::eTCP485, gsm232, "", { N }, { W232 });
    row("both, 232 yes decides", AtProtocol::eETH, both, "", { N, Y }, { W485, W232, frame(both) });
    row("both, 232 no decides", AtProtocol::eETH, both, "", { Y, N }, { W485, W232 });
    row("7 bit even", AtProtocol::eETH, EthValues, "", { N }, { frame(EthValues) });
    row("8 bit none", AtProtocol::eETH, with(EthValues, "14=8 15=0"), "", { N }, { frame(with(EthValues, "14=8 15=0")) });
    row("disabled line warns too", AtProtocol::eETH, with(rs485, "0=0"), "", { N }, { W485 });
    row("declined, changed, yes", AtProtocol::eETH, rs485, "spinBox_Port_485.value=600", { N, Y }, { W485, Question });
    row("apn comma", AtProtocol::eTCP485, GsmValues, "lineEdit_APN.text=internet,x", { Y }, { ApnWarning });
    row("apn CR", AtProtocol::eTCP232, GsmValues, "lineEdit_APN.text=internet\rx", { Y }, { ApnWarning });
    row("apn LF", AtProtocol::eTCP485, GsmValues, "lineEdit_APN.text=internet\n", { Y }, { ApnWarning });
    // clang-format on
}

void TestWriteAll::apply()
{
    QFETCH(int, route);
    QFETCH(QByteArray, values);
    QFETCH(QString, change);
    QFETCH(Answers, answers);
    QFETCH(QStringList, seen);
    TransparentConfig form;
    setRoute(form, Route(route));
    QByteArray block = "+READALL=" + values + "\r\n";
    if (!values.isEmpty())
        QCOMPARE(form.Receive_Callback(block, nullptr), AtProtocol::err_OK);
    const QByteArray property = change.section('=', 0, 0).section('.', 1).toUtf8();
    if (!change.isEmpty())
        QVERIFY(form.findChild<QObject*>(change.section('.', 0, 0))
                    ->setProperty(property.constData(), change.section('=', 1)));

    QSignalSpy written(&form, &TransparentConfig::WriteData);
    ModalAnswerer answerer(answers);
    QMetaObject::invokeMethod(&form, "on_pushButton_ConfigurationApply_clicked");
    QStringList events;
    for (const ModalAnswerer::Box& box : answerer.boxes)
        events << box.title + ": " + box.text;
    for (const QList<QVariant>& args : written)
        events << QString::fromUtf8(args.at(0).toByteArray());
    QCOMPARE(events, seen);
    // Writing is not reading: the next comparison is still with the modem's values.
    QCOMPARE(form.paramsAll().join(','), QString::fromUtf8(values));
}

QUORVANE_TEST_MAIN(TestWriteAll)
#include "tst_writeall.moc"
