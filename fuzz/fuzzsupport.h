#ifndef FUZZSUPPORT_H
#define FUZZSUPPORT_H

#include <QByteArray>
#include <QList>

#include <cstdint>

namespace fuzz {

// The pieces a target feeds one by one (arrivals, answers, edits): 0x1E (ASCII
// record separator) ends one; every other byte, NUL included, reaches the code.
QList<QByteArray> pieces(const uint8_t* data, size_t size);
// A table entry by a readable letter of the seeds, or by the byte's value otherwise.
int pick(char byte, const char* letters);
// The application, from LLVMFuzzerInitialize (returns its 0): for widgets an
// offscreen one, debug output off, settings in a throw-away folder.
int startApplication(bool widgets = true);
// A broken invariant says which and aborts: libFuzzer keeps the input as a crash.
void require(bool ok, const char* what, const QByteArray& detail = {});

} // namespace fuzz

#endif // FUZZSUPPORT_H
