#ifndef FUZZCORE_H
#define FUZZCORE_H

// What every fuzz target shares; the targets of the widget-free core include
// only this, so they run without an application.

#include <QByteArray>
#include <QList>

namespace fuzz {

// The pieces a target feeds one by one (arrivals, answers, edits): 0x1E (ASCII
// record separator) ends one; every other byte, NUL included, reaches the code.
inline QList<QByteArray> pieces(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), int(size)).split('\x1e');
}

// A table entry by a readable letter of the seeds, or by the byte's value otherwise.
inline int pick(char byte, const char* letters)
{
    const int hit = QByteArray(letters).indexOf(byte);
    return hit >= 0 ? hit : int(quint8(byte) % qstrlen(letters));
}

// A broken invariant says which and aborts (qFatal): libFuzzer keeps the input as a crash.
inline void require(bool ok, const char* what, const QByteArray& detail = {})
{
    if (!ok)
        qFatal("fuzz invariant broken: %s (%s)", what, detail.toPercentEncoding(" =,+.:/").data());
}

} // namespace fuzz

#endif // FUZZCORE_H
