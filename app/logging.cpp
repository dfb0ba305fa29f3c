#include "logging.h"

Q_LOGGING_CATEGORY(lcApp, "quorvane.app")
Q_LOGGING_CATEGORY(lcLink, "quorvane.link")
Q_LOGGING_CATEGORY(lcProto, "quorvane.proto")
Q_LOGGING_CATEGORY(lcForm, "quorvane.form")
Q_LOGGING_CATEGORY(lcPanel, "quorvane.panel")
