#include "transparentconfig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QtTest>

// The freshly built form: what it shows before any route or read.
class TestFormLayout : public QObject
{
    Q_OBJECT

private slots:
    void wholeForm();
    void combos_data();
    void combos();
    void spinBoxes_data();
    void spinBoxes();
    void labels_data();
    void labels();
    void buttons_data();
    void buttons();
    void general();
    void infoResponseIndicator();
};

namespace {
const QStringList modes
    = { "TCP to RTU", "TCP to ASCII", "RTU over TCP", "ASCII over TCP", "Full Transparent" };
const QStringList bauds
    = { "300", "600", "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200" };
} // namespace

void TestFormLayout::wholeForm()
{
    TransparentConfig form;
    QCOMPARE(form.size(), QSize(600, 510));
    QCOMPARE(form.minimumSize(), QSize(600, 510));
    QVERIFY(!form.isEnabled());
    QCOMPARE(form.connectionType(), AtProtocol::eMax);
    QVERIFY(form.paramsAll().isEmpty());
    QVERIFY(form.writeAllValues().isEmpty());
    // Every row fits the fixed size: nothing is squeezed on top of another.
    const QSize needed = form.layout()->minimumSize();
    QVERIFY2(needed.width() <= 600 && needed.height() <= 510,
        qPrintable(QString("%1x%2").arg(needed.width()).arg(needed.height())));
}

void TestFormLayout::combos_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("enabledWithin");
    for (const char* l : { "485", "232" }) {
        const QString s(l);
        QTest::newRow(qPrintable("Enable_" + s))
            << "comboBox_Enable_" + s << QStringList { "Disable", "Enable" } << 0 << true;
        QTest::newRow(qPrintable("Mod_" + s)) << "comboBox_Mod_" + s << modes << 0 << false;
        QTest::newRow(qPrintable("Datab_" + s))
            << "comboBox_Datab_" + s << QStringList { "7 Bit", "8 Bit" } << 1 << false;
        QTest::newRow(qPrintable("Parityb_" + s))
            << "comboBox_Parityb_" + s << QStringList { "None", "Odd", "Even" } << 0 << false;
        QTest::newRow(qPrintable("Stopb_" + s))
            << "comboBox_Stopb_" + s << QStringList { "1    Stop", "2    Stop" } << 0 << false;
        QTest::newRow(qPrintable("Baud_" + s)) << "comboBox_Baud_" + s << bauds << 0 << false;
    }
}

void TestFormLayout::combos()
{
    QFETCH(QString, name);
    QFETCH(QStringList, items);
    QFETCH(int, index);
    QFETCH(bool, enabledWithin);
    TransparentConfig form;
    auto* combo = form.findChild<QComboBox*>(name);
    QVERIFY(combo);
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i)
        shown << combo->itemText(i);
    QCOMPARE(shown, items);
    QCOMPARE(combo->currentIndex(), index);
    QCOMPARE(combo->isEnabledTo(&form), enabledWithin);
    QCOMPARE(combo->minimumSize(), QSize(135, 24));
    QCOMPARE(combo->maximumSize(), QSize(135, 24));
}

void TestFormLayout::spinBoxes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("enabledWithin");
    for (const char* l : { "485", "232" }) {
        const QString s(l);
        QTest::newRow(qPrintable("Port_" + s))
            << "spinBox_Port_" + s << 0 << 65535 << 1 << 0 << "" << false;
        QTest::newRow(qPrintable("EthTimeout_" + s))
            << "spinBox_EthTimeout_" + s << 0 << 255 << 1 << 0 << "     min" << false;
        QTest::newRow(qPrintable("ModbusTimeout_" + s))
            << "spinBox_ModbusTimeout_" + s << 100 << 10000 << 10 << 100 << "     ms" << false;
        QTest::newRow(qPrintable("SilentInterval_" + s))
            << "spinBox_SilentInterval_" + s << 4 << 128 << 1 << 8 << "     Char" << false;
        QTest::newRow(qPrintable("RetryCount_" + s))
            << "spinBox_RetryCount_" + s << 0 << 5 << 1 << 0 << "" << true;
        QTest::newRow(qPrintable("IntervalTime_" + s))
            << "spinBox_IntervalTime_" + s << 0 << 1000 << 50 << 10 << "     ms" << true;
        QTest::newRow(qPrintable("Ping_Interval_" + s))
            << "spinBox_" + s + "_Ping_Interval" << 2 << 120 << 1 << 2 << "       dk" << true;
    }
}

void TestFormLayout::spinBoxes()
{
    QFETCH(QString, name);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, step);
    QFETCH(int, value);
    QFETCH(QString, suffix);
    QFETCH(bool, enabledWithin);
    TransparentConfig form;
    auto* box = form.findChild<QSpinBox*>(name);
    QVERIFY(box);
    QCOMPARE(box->minimum(), minimum);
    QCOMPARE(box->maximum(), maximum);
    QCOMPARE(box->singleStep(), step);
    QCOMPARE(box->value(), value);
    QCOMPARE(box->suffix(), suffix);
    QCOMPARE(box->isEnabledTo(&form), enabledWithin);
    QCOMPARE(box->minimumSize(), QSize(135, 24));
    QCOMPARE(box->maximumSize(), QSize(135, 24));
}

void TestFormLayout::labels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("points");
    QTest::addColumn<bool>("rowLabel");
    // The headings are named the other way round from what they show.
    QTest::newRow("heading RS485") << "label_232Config"
                                   << "RS485 CONFIG" << 9 << false;
    QTest::newRow("heading RS232") << "label_485Config"
                                   << "RS232 CONFIG" << 9 << false;
    QTest::newRow("general") << "label"
                             << "GENERAL CONFIG" << 9 << false;
    const char* rows[][2] = { { "label_Enable", "ENABLE" }, { "label_Port", "PORT" },
        { "label_EthTimeout", "CONNECT TIMEOUT" }, { "label_ModbusTimeout", "MODBUS TIMEOUT" },
        { "label_Mod", "MOD" }, { "label_Datab", "DATA BIT" }, { "label_Parityb", "PARITY BIT" },
        { "label_Stopb", "STOP BIT" }, { "label_Baud", "BAUDRATE" },
        { "label_SilentInterval", "SILENT INTERVAL" }, { "label_Retry_Count", "RETRY COUNT" },
        { "label_Cmd_Interval_Tme", "CMD INTERVAL TIME" },
        { "label_Ping_Interval", "PING INTERVAL TIME" }, { "label_APN", "APN" },
        { "label_InfoResponse", "INFO RESPONSE" } };
    for (auto& row : rows)
        QTest::newRow(row[0]) << row[0] << row[1] << 8 << true;
}

void TestFormLayout::labels()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(int, points);
    QFETCH(bool, rowLabel);
    TransparentConfig form;
    auto* label = form.findChild<QLabel*>(name);
    QVERIFY(label);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->font().pointSize(), points);
    if (rowLabel) {
        QCOMPARE(label->minimumSize(), QSize(120, 24));
        QCOMPARE(label->maximumSize(), QSize(120, 24));
        QCOMPARE(label->styleSheet(), QString("background-color: rgb(199, 255, 253);"));
    } else {
        QVERIFY(label->alignment() & Qt::AlignHCenter);
    }
    // The two headings stand above their columns.
    if (name == "label_232Config" || name == "label_485Config") {
        const char* below
            = name == "label_232Config" ? "comboBox_Enable_485" : "comboBox_Enable_232";
        auto* control = form.findChild<QWidget*>(below);
        form.show();
        QVERIFY(qAbs(label->geometry().center().x() - control->geometry().center().x()) <= 2);
        QVERIFY(label->geometry().bottom() < control->geometry().top());
    }
}

void TestFormLayout::buttons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("icon");
    QTest::newRow("static ip") << "pushButton_StaticIPConfig"
                               << "Static IP Settings"
                               << ":/Button/Icons/ip-address.png";
    QTest::newRow("read") << "pushButton_ReadConfiguration"
                          << "Read Configuration"
                          << ":/Button/Icons/reading.png";
    QTest::newRow("apply") << "pushButton_ConfigurationApply"
                           << "Apply Configuration"
                           << ":/Button/Icons/apply.png";
}

void TestFormLayout::buttons()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, icon);
    TransparentConfig form;
    auto* button = form.findChild<QPushButton*>(name);
    QVERIFY(button);
    QCOMPARE(button->text(), text);
    QVERIFY(button->isEnabledTo(&form));
    QVERIFY(!button->autoRepeat());
    QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(button->styleSheet(),
        QString("QPushButton{\nbackground-color:0;\n}\n\n"
                "QPushButton::pressed{\nbackground-color: rgb(199, "
                "255, 253);\n}"));
    const QImage expected = QIcon(icon).pixmap(24, 24).toImage();
    QVERIFY(!expected.isNull());
    QCOMPARE(button->icon().pixmap(24, 24).toImage(), expected);
}

void TestFormLayout::general()
{
    TransparentConfig form;
    auto* apn = form.findChild<QLineEdit*>("lineEdit_APN");
    QVERIFY(apn);
    QVERIFY(apn->text().isEmpty());
    QCOMPARE(apn->maxLength(), 32767);
    QVERIFY(apn->inputMask().isEmpty());
    QCOMPARE(apn->minimumSize(), QSize(135, 24));
    QVERIFY(apn->isEnabledTo(&form));
    auto* info = form.findChild<QCheckBox*>("checkBox_InfoResponse");
    QVERIFY(info);
    QVERIFY(!info->isChecked());
    QVERIFY(info->text().isEmpty());
    QVERIFY(info->isEnabledTo(&form));
}

// The indicator is drawn from the two switch images, large enough to read.
void TestFormLayout::infoResponseIndicator()
{
    TransparentConfig form;
    form.setEnabled(true);
    form.show();
    auto* info = form.findChild<QCheckBox*>("checkBox_InfoResponse");
    QStyleOptionButton option;
    option.initFrom(info);
    const QRect indicator
        = info->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, info);
    QCOMPARE(indicator.size(), QSize(40, 40));
    const QImage off = info->grab(indicator).toImage();
    info->setChecked(true);
    const QImage on = info->grab(indicator).toImage();
    QVERIFY(off != on);
    // The images, not a plain box: the switch pictures are mostly coloured.
    auto colouredShare = [](const QImage& image) {
        int coloured = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                coloured += c.saturation() > 60 ? 1 : 0;
            }
        return double(coloured) / (image.width() * image.height());
    };
    QVERIFY2(colouredShare(on) > 0.2, qPrintable(QString::number(colouredShare(on))));
}

QTEST_MAIN(TestFormLayout)
#include "tst_formlayout.moc"
