#ifndef FUZZSUPPORT_H
#define FUZZSUPPORT_H

// Each fuzz target is one source file, so this header holds the definitions,
// libFuzzer's initialisation hook included.

#include "testsettings.h"

#include <QApplication>
#include <QFileInfo>
#include <QLoggingCategory>

// fontconfig's caches, filled the first time a widget lays out text, are not
// ours and not per input.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

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

// The application for every target: offscreen, debug output off, settings in a
// throw-away folder.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static int argc = 1;
    static char* argv[] = { const_cast<char*>("quorvane-fuzz"), nullptr };
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The diagnostic lines would cost more than the code under test.
    QLoggingCategory::setFilterRules(QStringLiteral("quorvane.*.debug=false"));
    new QApplication(argc, argv);
    // Every accepted edit writes the settings file; in memory that costs half as much.
    if (qEnvironmentVariableIsEmpty("TMPDIR") && QFileInfo("/dev/shm").isWritable())
        qputenv("TMPDIR", "/dev/shm");
    return isolateSettings(), 0;
}

#endif // FUZZSUPPORT_H
