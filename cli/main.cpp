// quorvane-cli: the modems' configuration from a shell, a script or a fleet
// run. Shares every protocol rule with the window program through
// quorvane_protocol; no widget, no Gui.
#include "cliargs.h"
#include "fleet.h"
#include "version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

#include <cstdio>

namespace {

enum Exit { Success = 0, Failure = 1, Usage = 2 };

void say(FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

int usageError(const QString& why)
{
    say(stderr, QString("quorvane-cli: %1\nTry 'quorvane-cli --help'.\n").arg(why));
    return Usage;
}

bool readFile(const QString& path, QByteArray* bytes, QString* error)
{
    QFile file(path);
    // One byte past the loader's limit is enough to refuse a huge file.
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QString("%1: %2").arg(path, file.errorString().toLower());
        return false;
    }
    *bytes = file.read(ConfigFile::MaxBytes + 1);
    return true;
}

bool writeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *error = QString("cannot write %1: %2").arg(path, file.errorString().toLower());
    return false;
}

// Every file is loaded before the first modem is touched: a bad one stops
// the run before anything is written anywhere.
bool loadWanted(const Invocation& inv, QVector<Wanted>* wanted, QString* error)
{
    QHash<QString, Wanted> loaded;
    for (const Target& target : inv.targets) {
        const QString path = target.configPath.isEmpty() ? inv.file : target.configPath;
        const QString key = path + (target.route.gsm() ? "\n4g" : "\neth");
        if (inv.command == Command::Write || inv.command == Command::Diff || inv.command == Command::NetworkWrite) {
            if (!loaded.contains(key)) {
                QByteArray bytes;
                Wanted w;
                if (!readFile(path, &bytes, error))
                    return false;
                if (inv.command == Command::NetworkWrite) {
                    if (!NetworkFile::fromJson(bytes, path, &w.network, error))
                        return false;
                } else {
                    const ConfigFile::Loaded file = ConfigFile::fromJson(bytes, path, target.route.gsm());
                    if (!file.ok)
                        return *error = file.error, false;
                    w.config = file.config;
                }
                loaded.insert(key, w);
            }
        }
        wanted->append(loaded.value(key));
    }
    return true;
}

QString fileNameFor(const Target& target)
{
    QString name = target.route.name();
    name.replace(QRegularExpression("[/:\\\\\\[\\]]+"), "_");
    return name.remove(QRegularExpression("^_+")) + ".json";
}

// What a person reads under a result: the differences, or what was read.
QStringList details(const TargetResult& r)
{
    QStringList lines;
    const auto text = [](const QJsonValue& v) {
        return v.isString() ? v.toString() : QString::fromUtf8(QJsonDocument(QJsonArray { v }).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
    };
    for (const ConfigFile::Difference& d : r.differences)
        lines << QString("%1: modem %2, file %3").arg(d.key, text(d.modem), text(d.file));
    for (const QString& key : r.payloadOrder)
        lines << QString("%1: %2").arg(key, text(r.payload.value(key)));
    return lines;
}

void printTable(const QVector<TargetResult>& results, double seconds)
{
    int width = 6;
    for (const TargetResult& r : results)
        width = qMax(width, r.target.size());
    QString out = QString("%1  %2  %3  %4\n").arg("TARGET", -width).arg("RESULT", -12).arg("TIME", 8).arg("REASON");
    QHash<QString, int> counts;
    for (const TargetResult& r : results) {
        ++counts[r.result];
        out += QString("%1  %2  %3  %4").arg(r.target, -width).arg(r.result, -12).arg(QString::number(r.durationMs / 1000.0, 'f', 2) + " s", 8).arg(r.reason).trimmed() + '\n';
        // In a fleet a change went as asked; only what still differs is worth a line.
        if (results.size() == 1 || r.result != "changed")
            for (const QString& line : details(r))
                out += QString(width + 2, ' ') + line + '\n';
    }
    if (results.size() > 1) {
        QStringList parts;
        for (const char* name : { "changed", "unchanged", "would_change", "ok", "failed" })
            if (counts.value(name))
                parts << QString("%1 %2").arg(counts.value(name)).arg(name);
        out += QString("%1 of %2 modems in %3 s\n").arg(parts.join(", ")).arg(results.size()).arg(seconds, 0, 'f', 1);
    }
    say(stdout, out);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("quorvane-cli");
    QCoreApplication::setApplicationVersion(versionText());

    ParsedArguments parsed = CliArgs::parse(app.arguments().mid(1));
    switch (parsed.outcome) {
    case ParsedArguments::Outcome::Help: say(stdout, CliArgs::helpText()); return Success;
    case ParsedArguments::Outcome::Version: say(stdout, QString("quorvane-cli %1\n").arg(versionText())); return Success;
    case ParsedArguments::Outcome::Usage: return usageError(parsed.error);
    case ParsedArguments::Outcome::Run: break;
    }
    Invocation& inv = parsed.invocation;
    QString error;
    if (!inv.targetsPath.isEmpty()) {
        QByteArray text;
        if (!readFile(inv.targetsPath, &text, &error))
            return usageError(error);
        if (!CliArgs::parseTargets(text, &inv.targets, &error))
            return usageError(QString("%1: %2").arg(inv.targetsPath, error));
        for (const Target& target : qAsConst(inv.targets))
            if (const QString refusal = CliArgs::routeRefusal(inv.command, target.route); !refusal.isEmpty())
                return usageError(QString("%1: %2").arg(inv.targetsPath, refusal));
    }
    const bool many = !inv.targetsPath.isEmpty();
    if (inv.command == Command::Read && many && inv.output.isEmpty() && !inv.json)
        return usageError("read with --targets needs -o DIR or --json");
    if (inv.command == Command::Read && many && !inv.output.isEmpty() && !QDir().mkpath(inv.output))
        return usageError(QString("cannot make the folder %1").arg(inv.output));
    QVector<Wanted> wanted;
    if (!loadWanted(inv, &wanted, &error)) {
        say(stderr, QString("quorvane-cli: %1\n").arg(error));
        return Usage;
    }

    Fleet fleet(inv, wanted);
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&fleet, &Fleet::resultReady, [&](int index) {
        TargetResult& r = fleet.result(index);
        if (inv.command == Command::Read && r.result == "ok" && !inv.output.isEmpty()) {
            const QString path = many ? QDir(inv.output).filePath(fileNameFor(inv.targets.at(index))) : inv.output;
            if (!writeFile(path, QJsonDocument(r.payload).toJson(QJsonDocument::Indented), &r.reason))
                r.result = "failed";
        }
        if (r.result == "failed")
            say(stderr, QString("quorvane-cli: %1: %2\n").arg(r.target, r.reason));
        if (inv.json)
            say(stdout, QString::fromUtf8(QJsonDocument(r.toJson()).toJson(QJsonDocument::Compact)) + '\n');
    });
    QObject::connect(&fleet, &Fleet::done, &app, &QCoreApplication::quit);
    fleet.start();
    app.exec();

    const QVector<TargetResult>& results = fleet.results();
    if (!inv.report.isEmpty()) {
        QJsonArray all;
        for (const TargetResult& r : results)
            all.append(r.toJson());
        if (!writeFile(inv.report, QJsonDocument(all).toJson(QJsonDocument::Indented), &error))
            say(stderr, QString("quorvane-cli: %1\n").arg(error));
    }
    if (!inv.json) {
        // One modem read to standard output gets the file alone, ready to keep.
        if (inv.command == Command::Read && !many && inv.output.isEmpty()) {
            if (results.first().result == "ok")
                say(stdout, QString::fromUtf8(QJsonDocument(results.first().payload).toJson(QJsonDocument::Indented)));
        } else {
            printTable(results, clock.elapsed() / 1000.0);
        }
    }
    const bool allGood = std::all_of(results.begin(), results.end(), [](const TargetResult& r) { return r.succeeded(); });
    return allGood && error.isEmpty() ? Success : Failure;
}
