#ifndef LOGGING_H
#define LOGGING_H

#include <QLoggingCategory>

// Diagnostic lines only; nothing here is ever shown to the user.
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcLink)
Q_DECLARE_LOGGING_CATEGORY(lcProto)
Q_DECLARE_LOGGING_CATEGORY(lcForm)
Q_DECLARE_LOGGING_CATEGORY(lcPanel)

#endif // LOGGING_H
