#ifndef RESIDENTMEMORY_H
#define RESIDENTMEMORY_H

#include <QFile>

// Resident memory of this process in KiB, -1 where /proc cannot tell.
inline qint64 residentKiB()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

#endif // RESIDENTMEMORY_H
