#include "fuzzsupport.h"

#include "testsettings.h"

#include <QApplication>
#include <QFileInfo>
#include <QLoggingCategory>

#include <cstdio>
#include <cstdlib>
#include <cstring>

// fontconfig keeps caches that LeakSanitizer reports as leaks the first
// time a widget lays out text; they are not ours and not per input.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

namespace fuzz {

QList<QByteArray> pieces(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), int(size)).split(Separator);
}

int pick(char byte, const char* letters)
{
    const char* hit = byte ? std::strchr(letters, byte) : nullptr;
    return hit ? int(hit - letters) : int(quint8(byte) % std::strlen(letters));
}

void startGuiApplication()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The diagnostic lines would cost more than the code under test.
    QLoggingCategory::setFilterRules(QStringLiteral("quorvane.*.debug=false"));
    static int argc = 1;
    static char name[] = "quorvane-fuzz";
    static char* argv[] = { name, nullptr };
    new QApplication(argc, argv);
    // Every accepted edit writes the settings file; in memory that costs
    // half as much.
    if (qEnvironmentVariableIsEmpty("TMPDIR") && QFileInfo("/dev/shm").isWritable())
        qputenv("TMPDIR", "/dev/shm");
    isolateSettings();
}

void fail(const char* what, const QByteArray& detail)
{
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    if (!detail.isEmpty())
        std::fprintf(stderr, "  detail: %s\n", detail.toPercentEncoding(" =,+.:/").constData());
    std::abort();
}

} // namespace fuzz
