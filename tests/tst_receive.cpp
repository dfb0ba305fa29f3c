// What arrives: answer blocks assembled from arrivals, then classified and
// acted upon on every route.
#include "formvalues.h"
#include "testmain.h"

class TestReceive : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { qDeleteAll(topLevels<DevInfo>()); }

    // Every route, and eMax, where nothing but the framing is judged.
    void answers_data()
    {
        // window: whether a static IP window is open
        columns<int, QByteArray, int, QString, bool>({ "route", "block", "err", "events", "window" });
        const AtProtocol::TrpErr_t OK = AtProtocol::err_OK, Unknown = AtProtocol::err_Unknown,
                                   End = AtProtocol::err_EndChr, Begin = AtProtocol::err_BeginChr;
        const QByteArray net = "00:1A:2B:3C:4D:5E,0,10,0,0,7,255,255,0,0,10,0,0,1,1,1,1,1,9,9,9,9";
        const QString refused = "3000 Configuration refused: %1 values, %2 expected";
        const QString netIgnored = "1000 Network settings ignored: %1 values instead of 22";
        for (int route = 0; route <= AtProtocol::eMax; ++route) {
            const bool none = route == AtProtocol::eMax, gsm = AtProtocol::isGsmRoute(Route(route));
            const QByteArray vals = valuesOf(Route(route));
            const int n = gsm ? 30 : 23;
            const auto row = [&](const QByteArray& block, AtProtocol::TrpErr_t err,
                                 const QString& events, bool window = true) {
                QTest::addRow("%d %s", route, QByteArray(block).replace("\r\n", "~").left(40).data())
                    << route << block << int(none && err == Unknown ? OK : err)
                    << (none ? QString() : events) << window;
            };
            // Only the head, up to the first "=", names an answer; there the lowest id wins.
            // clang-format off
            row("+PING\r\n", OK, "1000 Ping -> OK");
            row("+OK\r\n", OK, "1000 Successfully written");
            row("+RESTART\r\n", OK, "1000 Device Restarted!|disconnect");
            row("+ERR=Bad=x\r\n", Unknown, "1000 Receive_Callback Error : Bad=x");
            row("+ERR\r\n", Unknown, "1000 Receive_Callback Error : +ERR");
            row("+ERR=PING failed\r\n", Unknown, "1000 Receive_Callback Error : PING failed");
            row("+232CLOSE\r\n", OK, gsm ? "1000 232 Closed" : "");
            row("+485CLOSE\r\n", OK, gsm ? "1000 485 Closed" : "");
            row("+OK\r\n+PING\r\n", OK, "1000 Ping -> OK");
            row("+CURRENT_IP=335587520\r\n", OK, "ip 192.168.0.20");
            row("+CURRENT_IP=-1\r\n", OK, "ip 255.255.255.255");
            row("+CURRENT_IP=0\r\n", OK, "ip 0.0.0.0");
            row("+CURRENT_IP=abc\r\n", OK, "ip 0.0.0.0");
            row("+CURRENT_IP=4294967296\r\n", OK, "ip 0.0.0.0");
            row("+CURRENT_IP=+OK\r\n", OK, "ip 0.0.0.0");
            row("+DEVINFO=1,READALL,PING,+OK,5,6,7,8,9,10\r\n", OK, "dialogs 1");
            row("+DEVINFO=1,2,3,4,5,6,7,8,9\r\n", OK, "1000 Device information ignored: 9 values instead of 10");
            row("+READ_NETWORKCFG=" + net + "\r\n", OK, "static 10.0.0.7 dhcp");
            row("+READ_NETWORKCFG=" + net + "\r\n", OK, "1000 Network settings ignored: the Static IP window is closed", false);
            row("+READ_NETWORKCFG=" + net.mid(net.indexOf(',') + 1) + "\r\n", OK, netIgnored.arg(21));
            row("+READ_NETWORKCFG=" + net + ",1\r\n", OK, netIgnored.arg(23));
            row("+READALL=" + vals + "\r\n", OK, QString("params %1").arg(n));
            row("+READALL=" + vals + ",7,8\r\n", OK, QString("params %1").arg(n + 2));
            row("+READALL=" + vals.left(vals.lastIndexOf(',')) + "\r\n", OK, refused.arg(n - 1).arg(n));
            row("+WRITEALL\r\n", OK, "");
            row("+485PORT=502\r\n", OK, "");
            row("+HELLO=PING\r\n", OK, "");
            row("OK\r\n", Begin, "");
            row("+OK\r", End, "");
            row("+READALL=1,502", End, ""); // the pieces of an answer split over two reads
            row("0,8,0\r\n", Begin, "");
            // clang-format on
        }
    }

    void answers()
    {
        auto [route, block, err, events, window] = fetch<int, QByteArray, int, QString, bool>("route", "block", "err", "events", "window");
        TransparentConfig form;
        setRoute(form, Route(route));
        StaticIpConfig staticIp(CommSettings::USB);
        ModalAnswerer answerer;
        QStringList seen; // what the form told the main window, in order
        connect(&form, &TransparentConfig::WriteStatusBar, [&](const QString& text, int ms) { seen << QString("%1 %2").arg(ms).arg(text); });
        connect(&form, &TransparentConfig::SetCurrentIpAddr, [&](const QByteArray& ip) { seen << "ip " + ip; });
        connect(&form, &TransparentConfig::DisconnectTcp, [&] { seen << "disconnect"; });
        const QStringList before = form.writeAllValues();
        const QByteArray sent = block;

        QCOMPARE(int(form.Receive_Callback(block, window ? &staticIp : nullptr)), err);
        const auto* ip = staticIp.findChild<QLineEdit*>("lineEdit_IpAddr");
        if (ip->text() != "0.0.0.0")
            seen << "static " + ip->text() + (ip->isEnabled() ? "" : " dhcp");
        if (!topLevels<DevInfo>().isEmpty())
            seen << QString("dialogs %1").arg(topLevels<DevInfo>().size());
        // A read-all answer is taken whole or not at all.
        const QStringList params = form.paramsAll();
        if (!params.isEmpty())
            seen << QString("params %1").arg(params.size());
        QCOMPARE(form.writeAllValues(), params.isEmpty() ? before : QStringList(params.mid(0, before.size())));
        QCOMPARE(seen.join('|'), events);
        if (err == AtProtocol::err_EndChr)
            QCOMPARE(block, sent);
        QCOMPARE(answerer.count(), 0);
    }

    // Each answer opens one more dialog, up to MaxOpen, its fields in the
    // answer's order; each closes on its own, by Escape too, and those left
    // open close with the form.
    void devInfoDialogs()
    {
        const char* const names[] = { "SerialNum", "MacAddr", "ProductType", "ProductSubType", "VersionMajorApp",
            "VersionMinorApp", "BoardType", "VersionMajorBoard", "VersionMinorBoard", "VersionParameter" };
        {
            TransparentConfig form;
            form.Set485Settings(true);
            QSignalSpy status(&form, &TransparentConfig::WriteStatusBar);
            const auto answer = [&form] {
                QByteArray block = "+DEVINFO=SN,İ,2,3,4,5,6,7,8,9,past the tenth\r\n";
                form.Receive_Callback(block, nullptr);
                return topLevels<DevInfo>();
            };
            QList<DevInfo*> open;
            for (int n = 0; n <= DevInfoWindows::MaxOpen; ++n)
                open = answer();
            QCOMPARE(open.size(), DevInfoWindows::MaxOpen);
            QCOMPARE(QList<QVariantList>(status), QList<QVariantList>({ { "Device information not shown: 10 windows already open", 1000 } }));
            QPointer<DevInfo> closing(open.at(0));
            QTest::keyClick(closing, Qt::Key_Escape);
            QTRY_VERIFY(closing.isNull());
            QCOMPARE(topLevels<DevInfo>(), open.mid(1));
            QVERIFY(open.at(1)->isVisible() && !open.at(1)->isModal());
            for (int i = 0; i < DevInfo::FieldCount; ++i)
                QCOMPARE(control<QLineEdit>(*open.at(1), QString("lineEdit_") + names[i])->text(),
                    QString("SN,İ,2,3,4,5,6,7,8,9").section(',', i, i));
            open.at(2)->close();
            QTRY_COMPARE(topLevels<DevInfo>(), open.mid(1, 1) + open.mid(3));
            form.DestroyDevInfo(); // no sender: nothing to destroy
            QCOMPARE(answer().size(), DevInfoWindows::MaxOpen - 1);
            QCOMPARE(status.count(), 1);
        }
        // The dialogs still open go with their form.
        QVERIFY(topLevels<DevInfo>().isEmpty());
    }

    // A NUL byte inside a value must not cut the list the next Apply compares with.
    void nulInValueKeepsWholeList()
    {
        TransparentConfig form;
        setRoute(form, AtProtocol::eTCP485);
        QVERIFY(form.applyReadAll(QByteArray(GsmValues).replace("internet", QByteArray("inter\0net", 9))));
        QCOMPARE(form.paramsAll().size(), 30);
    }

    // An unterminated remainder goes out as it stands HOLD_MS after its first
    // byte however slowly the modem trickles, at once when it reaches MAX_BYTES,
    // and never once the route has closed. Joining split answers is the
    // end-to-end tests' business, every other rule of the buffer the fuzz target's.
    void holdAndOverflow()
    {
        PendingBuffer buffer;
        QSignalSpy spy(&buffer, &PendingBuffer::blockReady);
        QElapsedTimer clock;
        clock.start();
        while (spy.isEmpty() && clock.elapsed() < 10 * PendingBuffer::HOLD_MS) {
            buffer.append("x");
            QTest::qWait(PendingBuffer::HOLD_MS / 5);
        }
        QCOMPARE(spy.count(), 1);
        QVERIFY(spy.takeFirst().at(0).toByteArray().size() < 20);
        QVERIFY(buffer.isEmpty());
        buffer.append(QByteArray(PendingBuffer::MAX_BYTES - 1, 'a'));
        QCOMPARE(spy.count(), 0);
        buffer.append("b");
        QCOMPARE(spy.takeFirst().value(0).toByteArray().size(), PendingBuffer::MAX_BYTES);
        buffer.append("+REA");
        buffer.clear();
        QTest::qWait(2 * PendingBuffer::HOLD_MS);
        buffer.append("+OK\r\n");
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toByteArray(), QByteArray("+OK\r\n"));
    }
};

QUORVANE_TEST_MAIN(TestReceive)
#include "tst_receive.moc"
