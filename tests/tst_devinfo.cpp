#include "devinfo.h"
#include "testmain.h"

#include <QLineEdit>
#include <QtTest>

class TestDevInfo : public QObject
{
    Q_OBJECT

private slots:
    // Field i shows value i as UTF-8; values past the tenth are ignored and a
    // short list leaves the rest empty. Closed, or hidden by Escape, the
    // dialog tells its owner once.
    void fieldsAndClosing()
    {
        const char* const names[] = { "SerialNum", "MacAddr", "ProductType", "ProductSubType",
            "VersionMajorApp", "VersionMinorApp", "BoardType", "VersionMajorBoard",
            "VersionMinorBoard", "VersionParameter" };
        for (int count : { 12, 10, 3, 0 }) {
            QList<QByteArray> values;
            for (int i = 0; i < count; ++i)
                values << "ğ" + QByteArray::number(i);
            DevInfo dialog(values);
            for (int i = 0; i < DevInfo::FieldCount; ++i)
                QCOMPARE(dialog.findChild<QLineEdit*>(QString("lineEdit_") + names[i])->text(),
                    i < count ? QString("ğ%1").arg(i) : QString());
            dialog.show();
            QSignalSpy closed(&dialog, &DevInfo::Delete_DevInfo_Window);
            count % 2 ? QTest::keyClick(&dialog, Qt::Key_Escape) : void(dialog.close());
            QVERIFY(!dialog.isVisible());
            QCOMPARE(closed.count(), 1);
        }
    }
};

QUORVANE_TEST_MAIN(TestDevInfo)
#include "tst_devinfo.moc"
