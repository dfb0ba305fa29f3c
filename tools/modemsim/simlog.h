#ifndef MODEMSIM_SIMLOG_H
#define MODEMSIM_SIMLOG_H

#include <QLoggingCategory>

namespace modemsim {

// Traffic and connection events; --verbose switches its debug level on.
Q_DECLARE_LOGGING_CATEGORY(lcSim)

} // namespace modemsim

#endif // MODEMSIM_SIMLOG_H
