// The command line's target file: any text. A file that parses names the
// same routes again when its targets are written back as lines.

#include "fuzzcore.h"

#include "cliargs.h"

namespace {

QString line(const Target& t)
{
    const Route& r = t.route;
    QString text = r.type == Route::Type::Serial ? "--serial " + r.device
        : r.type == Route::Type::Tcp             ? "--tcp " + r.name()
                                                 : "--tunnel " + r.name().section('/', 0, 0) + " --line " + r.name().section('/', 1);
    return t.configPath.isEmpty() ? text : text + " --config " + t.configPath;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), int(size));
    QList<Target> targets;
    QString error;
    const bool ok = CliArgs::parseTargets(text, &targets, &error);
    fuzz::require(ok == error.isEmpty() && !error.contains('\n'), "a refusal that is not one line", text);
    if (!ok)
        return 0;
    QStringList lines;
    for (const Target& t : targets) {
        fuzz::require(!t.route.name().isEmpty() && (t.route.type == Route::Type::Serial || t.route.port > 0),
            "a target without a place to go", text);
        lines << line(t);
    }
    QList<Target> again;
    fuzz::require(CliArgs::parseTargets(lines.join('\n').toUtf8(), &again, &error) && again.size() == targets.size(),
        "targets written back do not parse", lines.join('\n').toUtf8());
    for (int i = 0; i < targets.size(); ++i)
        fuzz::require(again.at(i).route.name() == targets.at(i).route.name() && again.at(i).configPath == targets.at(i).configPath,
            "a target changed on its way back", text);
    return 0;
}
