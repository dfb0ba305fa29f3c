#ifndef TARGETJOB_H
#define TARGETJOB_H

#include "cliargs.h"
#include "configfile.h"
#include "networkcfg.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>

#include <functional>

class ModemLink;

// What one modem came to.
struct TargetResult
{
    QString target;
    QString result; // unchanged, changed, would_change, failed, ok
    QString reason;
    QVector<ConfigFile::Difference> differences;
    qint64 durationMs = 0;
    // What the command read: "config", "info" or "network".
    QString payloadName;
    QJsonObject payload;
    QStringList payloadOrder; // the payload's keys as a person reads them

    bool succeeded() const { return result == "ok" || result == "changed" || result == "unchanged"; }
    QJsonObject toJson() const;
};

// What a write, diff or network write wants the modem to hold.
struct Wanted
{
    ModemConfig config;
    NetworkCfg::Settings network;
};

// The network settings as the command line writes them: dhcp, ip, mask,
// gateway, dns1, dns2. Refuses with one line naming the key.
namespace NetworkFile {
QJsonObject toObject(const NetworkCfg::Settings& settings);
bool fromJson(const QByteArray& bytes, const QString& name, NetworkCfg::Settings* out, QString* error);
} // namespace NetworkFile

// One command against one modem, from connecting to its result. Reads may
// be retried on a fresh connection; a write never is: whether the modem took
// it is unknown, and only a new read may decide what to send next.
class TargetJob : public QObject
{
    Q_OBJECT

public:
    TargetJob(const Invocation& invocation, const Target& target, const Wanted& wanted, QObject* parent = nullptr);
    void start();

    // A request and the answer that completes it, by keyword id in each dialect.
    struct Exchange
    {
        int ethId;
        int gsmId;
    };

signals:
    void finished(const TargetResult& result);

private:
    using Then = std::function<void(const QByteArray&)>;
    // An empty frame is the bare command of the answer's keyword.
    void ask(const Exchange& exchange, const QByteArray& frame, bool retryable, Then then);
    void send();
    void onFailed(const QString& reason);
    void finish(const QString& result, const QString& reason = {});

    bool readConfig(const QByteArray& values, ModemConfig* out);
    bool readNetwork(const QByteArray& values, NetworkCfg::Settings* out);
    void afterRead(const QByteArray& values);
    void afterNetworkRead(const QByteArray& values);
    void verify(const QByteArray& values);
    void verifyNetwork(const QByteArray& values);
    // After a write's read-back: what still differs decides the result.
    void finishVerified(const QVector<ConfigFile::Difference>& left);

    const Invocation& m_inv;
    Target m_target;
    Wanted m_wanted;
    ModemLink* m_link;
    QElapsedTimer m_clock;
    TargetResult m_result;
    int m_retriesLeft;
    bool m_open = false;
    bool m_done = false;
    // The exchange in progress, kept for a retry.
    int m_expected = -1;
    QByteArray m_frame;
    bool m_retryable = false;
    Then m_then;
};

#endif // TARGETJOB_H
