#ifndef MODEMSIM_MODEMCORE_H
#define MODEMSIM_MODEMCORE_H

#include "modemconfig.h"

#include <QByteArray>

class QIODevice;

namespace modemsim {

// The modem's command interpreter: one request line (without its CR LF) in,
// the answer bytes out. It holds the modem's state, shared by every port.
class ModemCore
{
public:
    // What the modem does once the answer has left.
    enum class Action { None, Restart, Close485, Close232 };

    struct Reply
    {
        QByteArray answer;
        Action action = Action::None;
        bool ping = false; // what --flood answers instead
    };

    // Modem `index` of a fleet: its serial number and MAC count up from the
    // first modem's, so a client can tell which one it reached.
    explicit ModemCore(ModemKind kind, int index = 0);

    ModemKind kind() const { return m_config.kind(); }
    const ModemConfig& config() const { return m_config; }
    const NetworkBlock& network() const { return m_network; }

    // Every write frame, accepted or refused, goes there as one line, after
    // the prefix (a fleet's modem index).
    void setJournal(QIODevice* journal, const QByteArray& prefix = QByteArray())
    {
        m_journal = journal;
        m_journalPrefix = prefix;
    }
    // --refuse-writes: every write is refused whole, whatever its values.
    void setRefusingWrites(bool refusing) { m_refusingWrites = refusing; }

    Reply handleRequest(const QByteArray& line);

    // "+ERR=<reason>" CR LF; reasons never spell a keyword, because the
    // configurator recognises an answer by the first keyword it contains.
    QByteArray errorAnswer(const QByteArray& reason) const;

private:
    enum class Command {
        ReadAll,
        WriteAll,
        ReadNetworkCfg,
        WriteNetworkCfg,
        CurrentIp,
        Restart,
        Ping,
        DevInfo,
        Close232,
        Close485
    };

    bool findCommand(const QByteArray& keyword, Command* command, int* keywordId) const;
    QByteArray answer(int keywordId, const QByteArray& values = QByteArray()) const;
    QByteArray okAnswer() const;
    QByteArray writeAnswer(const QByteArray& line, const QByteArray& refusal);
    QByteArray deviceInfo() const;

    ModemConfig m_config;
    NetworkBlock m_network;
    QIODevice* m_journal = nullptr;
    QByteArray m_journalPrefix;
    bool m_refusingWrites = false;
    QByteArray m_serial;
};

} // namespace modemsim

#endif // MODEMSIM_MODEMCORE_H
