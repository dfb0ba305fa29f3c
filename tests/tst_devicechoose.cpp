#include "devicechoose.h"
#include "testmain.h"
#include "kolvexconfigurator.h"
#include "testsettings.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QtTest>

class TestDeviceChoose : public QObject
{
    Q_OBJECT

    static QComboBox* combo(QWidget& w) { return w.findChild<QComboBox*>("comboBox_ChooseDevice"); }
    static QPushButton* button(QWidget& w, const char* n) { return w.findChild<QPushButton*>(n); }

private slots:
    void initTestCase() { isolateSettings(); }

    void loginFollowsChoice_data()
    {
        QTest::addColumn<QList<int>>("indexes");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("nothing chosen") << QList<int> {} << false;
        QTest::newRow("ethernet") << QList<int> { 1 } << true;
        QTest::newRow("4g") << QList<int> { 2 } << true;
        QTest::newRow("back to placeholder") << QList<int> { 2, 0 } << false;
    }

    void loginFollowsChoice()
    {
        QFETCH(QList<int>, indexes);
        QFETCH(bool, enabled);
        DeviceChoose w;
        QStringList items;
        for (int i = 0; i < combo(w)->count(); ++i)
            items << combo(w)->itemText(i);
        QCOMPARE(items.join('|'), QString("-Seçiniz-|Ethernet Modem|4G Modem"));
        for (int i : indexes)
            combo(w)->setCurrentIndex(i);
        QCOMPARE(button(w, "pushButton_Login")->isEnabled(), enabled);
    }

    // The chosen kind shows as the apply icon on its "Device Select" action.
    void continueOpensMainWindow_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("Ethernet Modem") << 1;
        QTest::newRow("4G Modem") << 2;
    }

    void continueOpensMainWindow()
    {
        QFETCH(int, index);
        DeviceChoose w;
        w.show();
        combo(w)->setCurrentIndex(index);
        button(w, "pushButton_Login")->click();
        QVERIFY(!w.isVisible());
        QScopedPointer<KolvexConfigurator> main(w.kolvexconfigurator);
        QVERIFY(main && main->isVisible());
        QCOMPARE(main->windowTitle(), QString("Quorvane v2.01"));
        QCOMPARE(!main->findChild<QAction*>("actionEthernet_Modem")->icon().isNull(), index == 1);
        QCOMPARE(!main->findChild<QAction*>("actionGSM_Modem")->icon().isNull(), index == 2);
    }

    void cancelEndsEventLoop()
    {
        DeviceChoose w;
        w.show();
        QTimer::singleShot(0, [&] { button(w, "pushButton_Cancel")->click(); });
        QCOMPARE(qApp->exec(), 0);
        QVERIFY(!w.kolvexconfigurator);
    }
};

QUORVANE_TEST_MAIN(TestDeviceChoose)
#include "tst_devicechoose.moc"
