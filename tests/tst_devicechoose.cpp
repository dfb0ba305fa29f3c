#include "devicechoose.h"
#include "kolvexconfigurator.h"
#include "testsettings.h"
#include "version.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

class TestDeviceChoose : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { isolateSettings(); }
    void versionText();
    void initialState();
    void loginFollowsChoice_data();
    void loginFollowsChoice();
    void continueOpensMainWindow_data();
    void continueOpensMainWindow();
    void cancelEndsEventLoop();

private:
    static QComboBox* combo(DeviceChoose& w) { return w.findChild<QComboBox*>("comboBox_ChooseDevice"); }
    static QPushButton* button(DeviceChoose& w, const char* name) { return w.findChild<QPushButton*>(name); }
};

void TestDeviceChoose::versionText()
{
    QCOMPARE(::versionText(), QString("v2.01"));
    QCOMPARE(windowTitleText(), QString("Quorvane v2.01"));
}

void TestDeviceChoose::initialState()
{
    DeviceChoose w;
    QCOMPARE(w.size(), QSize(390, 390));
    QCOMPARE(w.minimumSize(), QSize(390, 390));
    QCOMPARE(w.maximumSize(), QSize(390, 390));
    QComboBox* c = combo(w);
    QVERIFY(c);
    QCOMPARE(c->count(), 3);
    QCOMPARE(c->itemText(0), QString("-Seçiniz-"));
    QCOMPARE(c->itemText(1), QString("Ethernet Modem"));
    QCOMPARE(c->itemText(2), QString("4G Modem"));
    QCOMPARE(c->currentIndex(), 0);
    QVERIFY(!button(w, "pushButton_Login")->isEnabled());
    QCOMPARE(button(w, "pushButton_Login")->text(), QString("Devam Et"));
    QCOMPARE(button(w, "pushButton_Cancel")->text(), QString("İptal"));
    auto* label = w.findChild<QLabel*>("label");
    QCOMPARE(label->text(), QString("Kullanmak istediğiniz cihazı seçiniz."));
    auto* pic = w.findChild<QLabel*>("label_LoginPic");
    QVERIFY(!pic->pixmap(Qt::ReturnByValue).isNull());
    QVERIFY(pic->pixmap(Qt::ReturnByValue).width() <= 161);
}

void TestDeviceChoose::loginFollowsChoice_data()
{
    QTest::addColumn<QList<int>>("indexes");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("ethernet") << QList<int>{1} << true;
    QTest::newRow("4g") << QList<int>{2} << true;
    QTest::newRow("back to placeholder") << QList<int>{2, 0} << false;
    QTest::newRow("between kinds") << QList<int>{1, 2} << true;
}

void TestDeviceChoose::loginFollowsChoice()
{
    QFETCH(QList<int>, indexes);
    QFETCH(bool, enabled);
    DeviceChoose w;
    for (int i : indexes)
        combo(w)->setCurrentIndex(i);
    QCOMPARE(button(w, "pushButton_Login")->isEnabled(), enabled);
}

void TestDeviceChoose::continueOpensMainWindow_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("Ethernet Modem") << 1;
    QTest::newRow("4G Modem") << 2;
}

void TestDeviceChoose::continueOpensMainWindow()
{
    QFETCH(int, index);
    DeviceChoose w;
    w.show();
    combo(w)->setCurrentIndex(index);
    QTest::mouseClick(button(w, "pushButton_Login"), Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QVERIFY(w.kolvexconfigurator);
    // The chosen kind is shown by the apply icon on its "Device Select" action.
    auto* eth = w.kolvexconfigurator->findChild<QAction*>("actionEthernet_Modem");
    auto* gsm = w.kolvexconfigurator->findChild<QAction*>("actionGSM_Modem");
    QCOMPARE(!eth->icon().isNull(), index == 1);
    QCOMPARE(!gsm->icon().isNull(), index == 2);
    QCOMPARE(w.kolvexconfigurator->windowTitle(), QString("Quorvane v2.01"));
    QVERIFY(w.kolvexconfigurator->isVisible());
    delete w.kolvexconfigurator;
}

void TestDeviceChoose::cancelEndsEventLoop()
{
    DeviceChoose w;
    w.show();
    QTimer::singleShot(0, [&] { button(w, "pushButton_Cancel")->click(); });
    QCOMPARE(qApp->exec(), 0);
    QVERIFY(!w.kolvexconfigurator);
}

QTEST_MAIN(TestDeviceChoose)
#include "tst_devicechoose.moc"
