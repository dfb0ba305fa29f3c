#ifndef TESTSETTINGS_H
#define TESTSETTINGS_H

#include <QString>

// Points QSettings at a fresh temporary folder so a test never reads or
// writes the user's real store. Returns the folder's path.
QString isolateSettings();

#endif // TESTSETTINGS_H
