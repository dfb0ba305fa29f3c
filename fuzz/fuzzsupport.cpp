#include "fuzzsupport.h"

#include "testsettings.h"

#include <QApplication>
#include <QFileInfo>
#include <QLoggingCategory>

#include <cstring>

// fontconfig's caches, filled the first time a widget lays out text, are not
// ours and not per input.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace fuzz {

QList<QByteArray> pieces(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), int(size)).split('\x1e');
}

int pick(char byte, const char* letters)
{
    const char* hit = byte ? std::strchr(letters, byte) : nullptr;
    return hit ? int(hit - letters) : int(quint8(byte) % std::strlen(letters));
}

int startApplication(bool widgets)
{
    static int argc = 1;
    static char* argv[] = { const_cast<char*>("quorvane-fuzz"), nullptr };
    if (!widgets)
        return new QCoreApplication(argc, argv), 0;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The diagnostic lines would cost more than the code under test.
    QLoggingCategory::setFilterRules(QStringLiteral("quorvane.*.debug=false"));
    new QApplication(argc, argv);
    // Every accepted edit writes the settings file; in memory that costs half as much.
    if (qEnvironmentVariableIsEmpty("TMPDIR") && QFileInfo("/dev/shm").isWritable())
        qputenv("TMPDIR", "/dev/shm");
    isolateSettings();
    return 0;
}

void require(bool ok, const char* what, const QByteArray& detail)
{
    if (!ok) // qFatal aborts, which libFuzzer records as a crash
        qFatal("fuzz invariant broken: %s\n  detail: %s", what,
            detail.toPercentEncoding(" =,+.:/").constData());
}

} // namespace fuzz
