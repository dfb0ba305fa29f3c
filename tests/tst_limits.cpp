// What a hostile or broken modem can cost the program.
#include "kolvexconfigurator.h"
#include "scriptedpeer.h"
#include "testsettings.h"
#include "transparentconfig.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

const QByteArray ReadAllAnswer
    = "+READALL=1,502,0,8,0,1,5,8,400,1000,5,1,503,0,8,0,1,5,8,400,1000,5,1\r\n";

template <typename T = QWidget> T* control(QWidget& w, const char* name)
{
    T* found = w.findChild<T*>(name);
    if (!found)
        qFatal("no control %s", name);
    return found;
}

void connectTcp(KolvexConfigurator& w, quint16 port)
{
    control<QLineEdit>(w, "lineEdit_ServerIp")->setText("127.0.0.1");
    control<QLineEdit>(w, "lineEdit_ServerPort")->setText(QString::number(port));
    control<QPushButton>(w, "pushButton_TcpConnect")->click();
}

} // namespace

class TestLimits : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { isolateSettings(); }
    void answersRunTogetherAreRefused_data();
    void answersRunTogetherAreRefused();
};

void TestLimits::answersRunTogetherAreRefused_data()
{
    QTest::addColumn<QByteArray>("block");
    const QByteArray other
        = "+READALL=0,602,1,7,1,2,7,9,500,2000,6,0,603,1,7,1,2,7,9,500,2000,6,0\r\n";
    QTest::newRow("two read-all answers") << ReadAllAnswer + other;
    QTest::newRow("read-all answer and write answer") << ReadAllAnswer + "+OK\r\n";
    QTest::newRow("short answer completed by the next") << "+READALL=1,502\r\n" + other;
}

// A slow first answer and a quick second one can reach the parser as one
// block. Its values would hold the second answer's head, read as 0: the
// form would show, and later write, a value the modem never had.
void TestLimits::answersRunTogetherAreRefused()
{
    QFETCH(QByteArray, block);
    ScriptedPeer peer;
    peer.reply = [](const QByteArray& request) {
        return request == "AT+READALL\r\n" ? ReadAllAnswer : QByteArray();
    };
    KolvexConfigurator w(nullptr, KolvexConfigurator::eETHModem);
    auto* form = w.findChild<TransparentConfig*>();
    QStringList shown;
    connect(form, &TransparentConfig::WriteStatusBar, [&](const QString& m) { shown << m; });
    connectTcp(w, peer.port());
    QTRY_COMPARE_WITH_TIMEOUT(form->paramsAll().size(), 23, 5000);
    const QStringList before = form->writeAllValues();
    QCOMPARE(before, form->paramsAll());

    const QString refused = "Configuration refused: more than one answer in one block";
    peer.send(block);
    QTRY_VERIFY_WITH_TIMEOUT(shown.contains(refused) || form->paramsAll() != before, 5000);
    QCOMPARE(form->writeAllValues(), before);
    QCOMPARE(form->paramsAll(), before);
    QVERIFY(shown.contains(refused));
}

QTEST_MAIN(TestLimits)
#include "tst_limits.moc"
