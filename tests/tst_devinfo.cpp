#include "devinfo.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

class TestDevInfo : public QObject
{
    Q_OBJECT

private slots:
    void fields_data();
    void fields();
    void window();
    void closingReportsOnce_data();
    void closingReportsOnce();
};

static const char* const FieldNames[DevInfo::FieldCount] = {
    "lineEdit_SerialNum",
    "lineEdit_MacAddr",
    "lineEdit_ProductType",
    "lineEdit_ProductSubType",
    "lineEdit_VersionMajorApp",
    "lineEdit_VersionMinorApp",
    "lineEdit_BoardType",
    "lineEdit_VersionMajorBoard",
    "lineEdit_VersionMinorBoard",
    "lineEdit_VersionParameter",
};

static QList<QByteArray> values(int count)
{
    QList<QByteArray> list;
    for (int i = 0; i < count; ++i)
        list << "v" + QByteArray::number(i);
    return list;
}

void TestDevInfo::fields_data()
{
    QTest::addColumn<QList<QByteArray>>("input");
    QTest::addColumn<QStringList>("shown");

    QStringList ten;
    for (int i = 0; i < DevInfo::FieldCount; ++i)
        ten << QString("v%1").arg(i);
    QTest::newRow("ten") << values(10) << ten;
    QTest::newRow("twelve: first ten") << values(12) << ten;
    QStringList three = ten.mid(0, 3);
    while (three.size() < DevInfo::FieldCount)
        three << QString();
    QTest::newRow("three: rest empty") << values(3) << three;
    QTest::newRow("none") << QList<QByteArray>()
                          << QStringList(QVector<QString>(ten.size()).toList());
    QList<QByteArray> utf8 = values(10);
    utf8[2] = "Ağ Geçidi";
    QStringList utf8Shown = ten;
    utf8Shown[2] = QString::fromUtf8("Ağ Geçidi");
    QTest::newRow("utf-8") << utf8 << utf8Shown;
}

void TestDevInfo::fields()
{
    QFETCH(QList<QByteArray>, input);
    QFETCH(QStringList, shown);
    DevInfo dialog(input);
    for (int i = 0; i < DevInfo::FieldCount; ++i) {
        auto* field = dialog.findChild<QLineEdit*>(FieldNames[i]);
        QVERIFY2(field, FieldNames[i]);
        QCOMPARE(field->text(), shown.at(i));
        QVERIFY(field->isReadOnly());
        QVERIFY(!field->hasFrame());
    }
}

void TestDevInfo::window()
{
    DevInfo dialog(values(10));
    QCOMPARE(dialog.windowTitle(), QString("Device Infos"));
    QCOMPARE(dialog.minimumSize(), QSize(375, 365));
    QCOMPARE(dialog.maximumSize(), QSize(510, 365));
    QVERIFY(!dialog.windowIcon().isNull());
    QVERIFY(!dialog.isModal());
    QCOMPARE(dialog.findChild<QLabel*>("label_2")->text(), QString("Mac/IMEI :"));
    QCOMPARE(dialog.findChild<QLabel*>("label_10")->text(), QString("VERSION PARAMETER :"));
}

void TestDevInfo::closingReportsOnce_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("close") << false;
    QTest::newRow("escape") << true;
}

void TestDevInfo::closingReportsOnce()
{
    QFETCH(bool, escape);
    DevInfo dialog(values(10));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy spy(&dialog, &DevInfo::Delete_DevInfo_Window);
    if (escape)
        QTest::keyClick(&dialog, Qt::Key_Escape);
    else
        dialog.close();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(spy.count(), 1);
}

QTEST_MAIN(TestDevInfo)
#include "tst_devinfo.moc"
