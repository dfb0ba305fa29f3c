// The configuration model and its file, without a window or Qt Gui: the
// example files survive the trip through the write-all values byte for byte,
// and each kind of bad file is refused whole, naming the key.
#include "configfile.h"

#include <QtTest>

Q_DECLARE_METATYPE(ModemConfig)

namespace {

QByteArray example(const QString& kind)
{
    QFile file(QStringLiteral(QUORVANE_EXAMPLES "/%1.json").arg(kind));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestConfigFile : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<bool>("gsm");
        QTest::newRow("ethernet") << false;
        QTest::newRow("gsm") << true;
    }

    void roundTrip()
    {
        QFETCH(bool, gsm);
        const QByteArray file = example(gsm ? "gsm" : "ethernet");
        const ConfigFile::Loaded loaded = ConfigFile::fromJson(file, "example.json", gsm);
        QVERIFY2(loaded.ok, qPrintable(loaded.error));
        QList<QByteArray> values;
        for (const QString& v : loaded.config.writeAllValues())
            values << v.toUtf8();
        QCOMPARE(values.size(), gsm ? 30 : 23);
        QString refusal;
        const ModemConfig back = ModemConfig::fromValues(gsm, values, &refusal);
        QCOMPARE(refusal, QString());
        QVERIFY(back == loaded.config && back != ModemConfig::fromValues(gsm, {}));
        QCOMPARE(ConfigFile::toJson(back), file);
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("file"); // the example it starts from
        QTest::addColumn<bool>("gsm"); // the kind selected
        QTest::addColumn<QByteArray>("from"); // its first occurrence is replaced
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<QString>("error"); // how the message starts
        const auto row = [](const char* name, const char* file, const QByteArray& from, const QByteArray& to, const QString& error) {
            QTest::newRow(name) << file << (QByteArray(file) == "gsm") << from << to << "site.json: " + error;
        };
        // clang-format off
        row("not JSON",       "ethernet", "{", "[x", "not JSON: ");
        row("not UTF-8",      "gsm", "internet", "inter\xff" "net", "not UTF-8 text");
        row("raw NUL",        "gsm", "\"apn\"", QByteArray("\"a\0pn\"", 6), "not JSON: a control character at byte ");
        row("over 1 MiB",     "ethernet", "\n}", "\n}" + QByteArray(ConfigFile::MaxBytes, ' '), "larger than 1 MiB");
        row("format",         "ethernet", "\"format\": 1", "\"format\": 2", "format: not a format this program knows (it knows 1)");
        row("unknown key",    "ethernet", "\"tcp_port\"", "\"tcp_prt\"", "rs232.tcp_prt: unknown key");
        row("4G key",         "ethernet", "\"baud_rate\"", "\"retry_count\": 2, \"baud_rate\"", "rs232.retry_count: unknown key: the 4G modem's only");
        row("given twice",    "ethernet", "\"stop_bits\": 1", "\"stop_bits\": 1, \"stop_bits\": 2", "rs485.stop_bits: given twice");
        row("missing",        "gsm", "        \"stop_bits\": 2,\n", "", "rs232.stop_bits: missing");
        row("wrong type",     "ethernet", "\"enable\": true", "\"enable\": 1", "rs232.enable: expected true or false");
        row("no baud rate",   "ethernet", "19200", "19201", "rs232.baud_rate: expected one of 300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200");
        row("read limit",     "ethernet", "\"data_bits\": 7", "\"data_bits\": 9", "rs232.data_bits: 9 is outside 7–8");
        row("control range",  "gsm", "\"modbus_timeout_ms\": 2000", "\"modbus_timeout_ms\": 50", "rs232.modbus_timeout_ms: 50 is outside 100–10000");
        row("ping minutes",   "gsm", "\"ping_interval_s\": 600", "\"ping_interval_s\": 630", "rs232.ping_interval_s: 630 is not a whole number of minutes from 2 to 120");
        row("interval s",     "gsm", "\"command_interval_ms\": 5000", "\"command_interval_ms\": 5500", "rs485.command_interval_ms: 5500 is not a whole number of seconds from 3 to 10 while retry_count is above 0");
        row("same port",      "ethernet", "\"tcp_port\": 503", "\"tcp_port\": 502", "rs232.tcp_port: the same port as rs485.tcp_port");
        row("APN comma",      "gsm", "internet", "inter,net", "general.apn: holds a comma or a line break");
        row("APN control",    "gsm", "internet", "inter\\u0000net", "general.apn: holds a control character");
        row("key, one line",  "ethernet", "\"tcp_port\"", "\"tcp\\nport\"", "rs232.tcp\\x0aport: unknown key");
        // clang-format on
        QTest::newRow("other kind") << "gsm" << false << QByteArray() << QByteArray()
                                    << "site.json: kind: the file is for a 4G modem, an Ethernet modem is selected";
    }

    void refusals()
    {
        QFETCH(QString, file);
        QFETCH(bool, gsm);
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(QString, error);
        QByteArray bytes = example(file);
        if (!from.isEmpty())
            bytes.replace(bytes.indexOf(from), from.size(), to);
        const ConfigFile::Loaded loaded = ConfigFile::fromJson(bytes, "site.json", gsm);
        QVERIFY2(!loaded.ok && loaded.error.startsWith(error), qPrintable(loaded.error));
    }
};

QTEST_GUILESS_MAIN(TestConfigFile)
#include "tst_configfile.moc"
