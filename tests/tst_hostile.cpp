#include "devinfo.h"
#include "modalanswerer.h"
#include "parametertable.h"
#include "staticipconfig.h"
#include "transparentconfig.h"
#include "tst_receive_fixtures.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QtTest>

// Blocks that no sane modem sends, fed to the parser on every route. The
// form may change only when a complete, valid read-all answer arrives.

using Route = AtProtocol::eConnection_State_t;

namespace {

constexpr int MalformedBlocks = 5000;
constexpr int MaxBlockSize = 1 << 20;
constexpr quint32 Seed = 20240611;

class BlockMaker
{
public:
    BlockMaker(Route route, quint32 seed)
        : m_rng(seed)
        , m_table(ParameterTable::parameters(route))
    {
    }

    bool hasTable() const { return !m_table.isEmpty(); }

    // Values that every limit of the table in force accepts.
    QList<QByteArray> validValues()
    {
        QList<QByteArray> values;
        for (const ParameterSpec& spec : m_table) {
            const FieldRule& rule = *spec.rule;
            if (rule.field == ParamField::Apn)
                values << letters(1 + m_rng.bounded(20));
            else if (rule.limited)
                values << QByteArray::number(rule.min + m_rng.bounded(rule.max - rule.min + 1));
            else
                values << QByteArray::number(m_rng.bounded(70000));
        }
        return values;
    }

    QByteArray readAll(const QList<QByteArray>& values) const
    {
        return "+READALL=" + join(values) + "\r\n";
    }

    QByteArray malformed()
    {
        switch (m_rng.bounded(9)) {
        case 0: { // truncated: the read-all answer without its CR LF
            const QByteArray whole = readAll(someValues());
            return whole.left(m_rng.bounded(whole.size() - 1));
        }
        case 1: { // oversized
            QByteArray big = randomBytes(m_rng.bounded(MaxBlockSize));
            if (m_rng.bounded(2))
                big = "+" + big + "\r\n";
            return big;
        }
        case 2: { // random binary, sometimes framed
            QByteArray bytes = randomBytes(m_rng.bounded(256));
            return m_rng.bounded(2) ? "+" + bytes + "\r\n" : bytes;
        }
        case 3: { // separators missing or wrong
            const QList<QByteArray> values = someValues();
            const char* seps[] = { "", ";", " ", "=", "\r\n" };
            QByteArray glued = values.value(0);
            for (int i = 1; i < values.size(); ++i)
                glued += seps[m_rng.bounded(5)] + values.at(i);
            return m_rng.bounded(2) ? "+READALL=" + glued + "\r\n" : "+READALL" + glued + "\r\n";
        }
        case 4: { // too few values
            QList<QByteArray> values = someValues();
            const int keep = m_rng.bounded(qMax(1, values.size()));
            return readAll(values.mid(0, keep));
        }
        case 5: { // one value beyond its limit
            QList<QByteArray> values = someValues();
            QList<int> limited;
            for (const ParameterSpec& spec : m_table)
                if (spec.rule->limited)
                    limited << spec.position;
            if (!limited.isEmpty()) {
                const ParameterSpec& spec = m_table.at(limited.at(m_rng.bounded(limited.size())));
                const QByteArray bad[] = { QByteArray::number(spec.rule->max + 1),
                    QByteArray::number(spec.rule->min - 1), "-5", "99999999999", "x" };
                // "x" reads as 0, which some limits accept: keep only real breaks.
                QByteArray pick = bad[m_rng.bounded(5)];
                if (spec.rule->accepts(ParameterTable::wireNumber(pick)))
                    pick = QByteArray::number(spec.rule->max + 1);
                values[spec.position] = pick;
            }
            return readAll(values);
        }
        case 6: { // a read-all answer hidden in another answer's values
            const char* heads[] = { "+DEVINFO=", "+ERR=", "+PING=", "+OK=", "+CURRENT_IP=",
                "+READ_NETWORKCFG=", "+485CLOSE=", "+WRITEALL=" };
            return heads[m_rng.bounded(8)] + readAll(someValues()).mid(1);
        }
        case 7: { // other answers with wrong counts or garbage
            const char* heads[] = { "+READ_NETWORKCFG=", "+DEVINFO=", "+CURRENT_IP=", "+ERR=" };
            QList<QByteArray> values;
            const int count = m_rng.bounded(30);
            for (int i = 0; i < count; ++i)
                values << randomBytes(m_rng.bounded(6)).replace(',', '.');
            return heads[m_rng.bounded(4)] + join(values) + "\r\n";
        }
        default: { // an answer split over two reads, either piece
            const QByteArray whole = readAll(someValues());
            const int cut = 1 + m_rng.bounded(whole.size() - 2);
            return m_rng.bounded(2) ? whole.left(cut) : whole.mid(cut);
        }
        }
    }

    bool chance(int percent) { return int(m_rng.bounded(100)) < percent; }

private:
    // The route's own shape where it has one, the Ethernet one otherwise.
    QList<QByteArray> someValues()
    {
        if (hasTable())
            return validValues();
        return EthValues.split(',');
    }

    static QByteArray join(const QList<QByteArray>& values)
    {
        QByteArray out;
        for (int i = 0; i < values.size(); ++i)
            out += (i ? "," : "") + values.at(i);
        return out;
    }

    QByteArray letters(int n)
    {
        QByteArray out(n, 'a');
        for (char& c : out)
            c = char('a' + m_rng.bounded(26));
        return out;
    }

    QByteArray randomBytes(int n)
    {
        QByteArray out(n, '\0');
        for (char& c : out)
            c = char(m_rng.bounded(256));
        return out;
    }

    QRandomGenerator m_rng;
    const QVector<ParameterSpec>& m_table;
};

} // namespace

class TestHostile : public QObject
{
    Q_OBJECT

private slots:
    void survives_data();
    void survives();
};

void TestHostile::survives_data()
{
    QTest::addColumn<int>("route");
    QTest::newRow("eth") << int(AtProtocol::eETH);
    QTest::newRow("usb") << int(AtProtocol::eUSB);
    QTest::newRow("485") << int(AtProtocol::eTCP485);
    QTest::newRow("232") << int(AtProtocol::eTCP232);
    QTest::newRow("no route") << int(AtProtocol::eMax);
}

void TestHostile::survives()
{
    QFETCH(int, route);
    ModalAnswerer answerer; // nothing here should ask, but a box must not hang the run
    TransparentConfig form;
    setRoute(form, Route(route));
    StaticIpConfig staticIp(CommSettings::USB);
    BlockMaker maker(Route(route), Seed + quint32(route));

    QStringList values = form.writeAllValues();
    QStringList params = form.paramsAll();
    int applied = 0;
    for (int n = 0; n < MalformedBlocks; ++n) {
        // Now and then a good answer, so the check is not only against defaults.
        if (maker.hasTable() && maker.chance(3)) {
            const QList<QByteArray> good = maker.validValues();
            QByteArray block = maker.readAll(good);
            QCOMPARE(form.Receive_Callback(block, nullptr), AtProtocol::err_OK);
            QStringList expected;
            for (const QByteArray& v : good)
                expected << QString::fromUtf8(v);
            QCOMPARE(form.paramsAll(), expected);
            values = form.writeAllValues();
            params = form.paramsAll();
            ++applied;
        }

        QByteArray block = maker.malformed();
        const QByteArray fed = block;
        const AtProtocol::TrpErr_t err
            = form.Receive_Callback(block, maker.chance(50) ? &staticIp : nullptr);
        QVERIFY(err != AtProtocol::err_Max);
        if (form.writeAllValues() != values || form.paramsAll() != params)
            QFAIL(qPrintable("form changed by block " + QString::number(n) + ": "
                + QString::fromLatin1(fed.left(200).toPercentEncoding())));
    }
    if (maker.hasTable())
        QVERIFY(applied > 0);
    QCOMPARE(answerer.count(), 0);
}

QTEST_MAIN(TestHostile)
#include "tst_hostile.moc"
