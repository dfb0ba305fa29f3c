#include "testsettings.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

QString isolateSettings()
{
    static QTemporaryDir dir;
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
    return dir.path();
}
