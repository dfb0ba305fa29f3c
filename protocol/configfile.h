#ifndef CONFIGFILE_H
#define CONFIGFILE_H

#include "configmodel.h"

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QVector>
#include <QString>

// A modem configuration as a file a person can read, edit and diff: JSON,
// UTF-8, one object with "format", "kind", "rs485", "rs232" and "general".
namespace ConfigFile {

constexpr int Format = 1;
constexpr qint64 MaxBytes = 1024 * 1024;

QByteArray toJson(const ModemConfig& config);
QJsonObject toObject(const ModemConfig& config);

// One key whose value differs, named by its path ("rs232.baud_rate").
struct Difference
{
    QString key;
    QJsonValue modem, file;
};
// Key by key in the file's order; empty when the two are equal.
QVector<Difference> differences(const ModemConfig& modem, const ModemConfig& file);

struct Loaded
{
    bool ok = false;
    ModemConfig config;
    QString error; // "<name>: <key path>: <reason>", one line
};

// The whole file or nothing: `gsm` is the kind the user selected, `name`
// heads the message. What loads is exactly what Apply would send.
Loaded fromJson(const QByteArray& bytes, const QString& name, bool gsm);

} // namespace ConfigFile

#endif // CONFIGFILE_H
