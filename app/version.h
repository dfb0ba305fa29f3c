#ifndef VERSION_H
#define VERSION_H

#include <QString>

constexpr int MAJOR_APP = 2;
constexpr int MINOR_APP = 1;

// The "0" after the point is part of the format, not padding: a two-digit
// minor version follows it rather than replacing it.
inline QString versionText()
{
    return QString("v%1.0%2").arg(MAJOR_APP, 0).arg(MINOR_APP, 0);
}

inline QString windowTitleText()
{
    return QStringLiteral("Quorvane ") + versionText();
}

#endif // VERSION_H
