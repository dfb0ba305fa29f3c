#ifndef FUZZSUPPORT_H
#define FUZZSUPPORT_H

#include <QByteArray>
#include <QList>

#include <cstddef>
#include <cstdint>

namespace fuzz {

// Splits a fuzz input into the pieces a target feeds one by one (arrivals,
// answers, edits). The byte 0x1E (ASCII record separator) ends a piece;
// every other byte, NUL included, reaches the code under test.
constexpr char Separator = '\x1e';
QList<QByteArray> pieces(const uint8_t* data, size_t size);

// Picks an entry of a table by a readable letter of the seed files, or by
// the byte's value for whatever else the fuzzer makes up.
int pick(char byte, const char* letters);

// An offscreen QApplication for the widget targets, diagnostic output
// silenced, settings in a throw-away folder. Call from LLVMFuzzerInitialize.
void startGuiApplication();

// A broken invariant: says which and aborts, which libFuzzer records as a
// crash together with the input.
[[noreturn]] void fail(const char* what, const QByteArray& detail = QByteArray());

inline void require(bool ok, const char* what, const QByteArray& detail = QByteArray())
{
    if (!ok)
        fail(what, detail);
}

} // namespace fuzz

#endif // FUZZSUPPORT_H
