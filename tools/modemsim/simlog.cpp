#include "simlog.h"

namespace modemsim {

Q_LOGGING_CATEGORY(lcSim, "modemsim", QtInfoMsg)

} // namespace modemsim
