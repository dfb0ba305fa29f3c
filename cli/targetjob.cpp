#include "targetjob.h"
#include "modemlink.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

using Exchange = TargetJob::Exchange;
constexpr Exchange ReadAll { eIdReadAll, eIdGSMReadAll };
constexpr Exchange WriteOk { eIdRetOK, eIdGSMRetOK };
constexpr Exchange DeviceInfo { eIdDeviceInfo, eIdGSMDeviceInfo };
constexpr Exchange Ping { eIdDevicePing, eIdGSMDevicePing };
constexpr Exchange Restart { eIdDeviceRestart, eIdGSMDeviceRestart };
constexpr Exchange NetworkRead { eIdReadNetworkCfg, -1 };

// The device information block, in wire order.
const char* const InfoFields[] = { "serial_number", "mac_imei", "product_type", "product_sub_type",
    "version_major_app", "version_minor_app", "board_type", "version_major_board", "version_minor_board",
    "version_parameter" };
constexpr int InfoFieldCount = int(sizeof InfoFields / sizeof *InfoFields);

const char* const AddressKeys[] = { "ip", "mask", "gateway", "dns1", "dns2" };

QStringList networkKeys()
{
    QStringList keys;
    for (const char* key : AddressKeys)
        keys << key;
    return keys;
}

QVector<ConfigFile::Difference> networkDifferences(const NetworkCfg::Settings& modem, const NetworkCfg::Settings& file)
{
    QVector<ConfigFile::Difference> found;
    const QJsonObject a = NetworkFile::toObject(modem), b = NetworkFile::toObject(file);
    for (const QString& key : QStringList { "dhcp" } + networkKeys())
        if (a.value(key) != b.value(key))
            found.append({ key, a.value(key), b.value(key) });
    return found;
}

} // namespace

QJsonObject TargetResult::toJson() const
{
    QJsonArray diffs;
    for (const ConfigFile::Difference& d : differences)
        diffs.append(QJsonObject { { "key", d.key }, { "modem", d.modem }, { "file", d.file } });
    QJsonObject o { { "target", target }, { "result", result }, { "reason", reason }, { "differences", diffs },
        { "duration_ms", durationMs } };
    if (!payloadName.isEmpty())
        o.insert(payloadName, payload);
    return o;
}

QJsonObject NetworkFile::toObject(const NetworkCfg::Settings& s)
{
    QJsonObject o { { "dhcp", !s.staticIp } };
    for (int i = 0; i < s.addresses.size(); ++i)
        o.insert(AddressKeys[i], s.addresses.at(i));
    if (!s.mac.isEmpty())
        o.insert("mac", s.mac);
    return o;
}

bool NetworkFile::fromJson(const QByteArray& bytes, const QString& name, NetworkCfg::Settings* out, QString* error)
{
    const auto fail = [&](const QString& key, const QString& why) {
        *error = key.isEmpty() ? QString("%1: %2").arg(name, why) : QString("%1: %2: %3").arg(name, key, why);
        return false;
    };
    QJsonParseError parsed;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parsed);
    if (parsed.error != QJsonParseError::NoError || !doc.isObject())
        return fail({}, parsed.error != QJsonParseError::NoError ? "not JSON: " + parsed.errorString() : "not a JSON object");
    const QJsonObject o = doc.object();
    for (const QString& key : o.keys())
        if (!(QStringList { "dhcp", "mac" } + networkKeys()).contains(key))
            return fail(key, "unknown key");
    if (!o.value("dhcp").isBool())
        return fail("dhcp", o.contains("dhcp") ? "expected true or false" : "missing");
    out->staticIp = !o.value("dhcp").toBool();
    out->addresses.clear();
    for (const char* key : AddressKeys) {
        if (!o.contains(key))
            return fail(key, "missing");
        // The modem reads the dots as separators: anything else than four
        // numbers would shift every value after it.
        if (!NetworkCfg::isDottedIpv4(o.value(key).toString()))
            return fail(key, "expected an address of four numbers 0-255 joined by dots");
        out->addresses << o.value(key).toString();
    }
    return true;
}

TargetJob::TargetJob(const Invocation& invocation, const Target& target, const Wanted& wanted, QObject* parent)
    : QObject(parent)
    , m_inv(invocation)
    , m_target(target)
    , m_wanted(wanted)
    , m_link(new ModemLink(target.route, invocation.timeoutMs, this))
    , m_retriesLeft(invocation.retries)
{
    m_result.target = target.route.name();
    connect(m_link, &ModemLink::opened, this, [this] {
        m_open = true;
        send();
    });
    connect(m_link, &ModemLink::answered, this, [this](const QByteArray& values) {
        // The continuation may ask the next question, which replaces m_then.
        const Then then = std::move(m_then);
        then(values);
    });
    connect(m_link, &ModemLink::failed, this, &TargetJob::onFailed);
}

void TargetJob::start()
{
    m_clock.start();
    const Then ok = [this](const QByteArray&) { finish("ok"); };
    switch (m_inv.command) {
    case Command::Read:
    case Command::Write:
    case Command::Diff:
        return ask(ReadAll, {}, true, [this](const QByteArray& v) { afterRead(v); });
    case Command::Info:
        return ask(DeviceInfo, {}, true, [this](const QByteArray& v) {
            const QList<QByteArray> fields = v.split(',');
            if (fields.size() < InfoFieldCount)
                return finish("failed", QString("device information with %1 values instead of %2").arg(fields.size()).arg(InfoFieldCount));
            m_result.payloadName = "info";
            for (int i = 0; i < InfoFieldCount; ++i) {
                m_result.payload.insert(InfoFields[i], QString::fromUtf8(fields.at(i)));
                m_result.payloadOrder << InfoFields[i];
            }
            finish("ok");
        });
    case Command::Ping:
        return ask(Ping, {}, true, ok);
    case Command::Restart:
        // Not repeated: a second restart could catch the modem coming up.
        return ask(Restart, {}, false, ok);
    case Command::NetworkRead:
    case Command::NetworkWrite:
        return ask(NetworkRead, {}, true, [this](const QByteArray& v) { afterNetworkRead(v); });
    }
}

void TargetJob::ask(const Exchange& exchange, const QByteArray& frame, bool retryable, Then then)
{
    const int keywordId = m_target.route.gsm() ? exchange.gsmId : exchange.ethId;
    m_expected = keywordId;
    m_frame = frame.isEmpty() ? AtProtocol::AT_Command_Formatter(AtProtocol::keywordTable(m_target.route.dialect())[keywordId]) : frame;
    m_retryable = retryable;
    m_then = std::move(then);
    if (m_open)
        send();
    else
        m_link->open();
}

void TargetJob::send()
{
    m_link->request(m_frame, m_expected);
}

void TargetJob::onFailed(const QString& reason)
{
    m_open = false;
    if (m_retryable && m_retriesLeft > 0) {
        --m_retriesLeft;
        m_link->open();
        return;
    }
    finish("failed", reason);
}

bool TargetJob::readConfig(const QByteArray& values, ModemConfig* out)
{
    QString refusal;
    *out = ModemConfig::fromValues(m_target.route.gsm(), values.split(','), &refusal);
    if (!refusal.isEmpty())
        finish("failed", "the modem's configuration cannot be used: " + refusal);
    return refusal.isEmpty();
}

void TargetJob::afterRead(const QByteArray& values)
{
    ModemConfig modem;
    if (!readConfig(values, &modem))
        return;
    if (m_inv.command == Command::Read) {
        m_result.payloadName = "config";
        m_result.payload = ConfigFile::toObject(modem);
        return finish("ok");
    }
    m_result.differences = ConfigFile::differences(modem, m_wanted.config);
    const bool same = m_result.differences.isEmpty();
    if (m_inv.command == Command::Diff || m_inv.dryRun)
        return finish(same ? "unchanged" : "would_change");
    if (same && !m_inv.force)
        return finish("unchanged");
    ask(WriteOk, m_wanted.config.writeAllFrame(), false, [this](const QByteArray&) {
        ask(ReadAll, {}, true, [this](const QByteArray& v) { verify(v); });
    });
}

void TargetJob::verify(const QByteArray& values)
{
    ModemConfig modem;
    if (!readConfig(values, &modem))
        return;
    finishVerified(ConfigFile::differences(modem, m_wanted.config));
}

bool TargetJob::readNetwork(const QByteArray& values, NetworkCfg::Settings* out)
{
    if (NetworkCfg::fromValues(values.split(','), out))
        return true;
    finish("failed", QString("network settings with %1 values instead of %2").arg(values.split(',').size()).arg(NetworkCfg::ValueCount));
    return false;
}

void TargetJob::afterNetworkRead(const QByteArray& values)
{
    NetworkCfg::Settings modem;
    if (!readNetwork(values, &modem))
        return;
    if (m_inv.command == Command::NetworkRead) {
        m_result.payloadName = "network";
        m_result.payload = NetworkFile::toObject(modem);
        m_result.payloadOrder = QStringList { "mac", "dhcp" } + networkKeys();
        return finish("ok");
    }
    m_result.differences = networkDifferences(modem, m_wanted.network);
    if (m_result.differences.isEmpty())
        return finish("unchanged");
    const QByteArray frame = NetworkCfg::writeFrame(m_wanted.network.staticIp, m_wanted.network.addresses).toUtf8();
    ask(WriteOk, frame, false, [this](const QByteArray&) {
        ask(NetworkRead, {}, true, [this](const QByteArray& v) { verifyNetwork(v); });
    });
}

void TargetJob::verifyNetwork(const QByteArray& values)
{
    NetworkCfg::Settings modem;
    if (!readNetwork(values, &modem))
        return;
    finishVerified(networkDifferences(modem, m_wanted.network));
}

// A change reports what it changed; a failed one what is still wrong.
void TargetJob::finishVerified(const QVector<ConfigFile::Difference>& left)
{
    if (left.isEmpty())
        return finish("changed");
    m_result.differences = left;
    finish("failed", QString("written, but %1 value(s) read back differ from the file").arg(left.size()));
}

void TargetJob::finish(const QString& result, const QString& reason)
{
    if (m_done)
        return;
    m_done = true;
    m_link->close();
    m_result.result = result;
    m_result.reason = reason;
    m_result.durationMs = m_clock.elapsed();
    emit finished(m_result);
}
