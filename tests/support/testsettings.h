#ifndef TESTSETTINGS_H
#define TESTSETTINGS_H

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

// Points QSettings at a fresh temporary folder so a test never reads or
// writes the user's real store. Returns the folder's path.
inline QString isolateSettings()
{
    static QTemporaryDir dir;
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    return dir.path();
}

#endif // TESTSETTINGS_H
