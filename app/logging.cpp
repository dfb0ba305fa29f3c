#include "logging.h"

// Off unless asked for (QT_LOGGING_RULES="quorvane.*.debug=true"): a user
// starting the program from a terminal should not get every frame printed.
Q_LOGGING_CATEGORY(lcApp, "quorvane.app", QtInfoMsg)
Q_LOGGING_CATEGORY(lcLink, "quorvane.link", QtInfoMsg)
Q_LOGGING_CATEGORY(lcProto, "quorvane.proto", QtInfoMsg)
Q_LOGGING_CATEGORY(lcForm, "quorvane.form", QtInfoMsg)
Q_LOGGING_CATEGORY(lcPanel, "quorvane.panel", QtInfoMsg)
