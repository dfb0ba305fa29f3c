#ifndef LANGUAGE_H
#define LANGUAGE_H

#include <QString>

// The program's own texts are Turkish where its first users read Turkish;
// everyone else gets the English catalogue.
enum class Language { Turkish, English };

// QUORVANE_LANG ("en" or "tr") wins over the locale. A Turkish locale keeps
// the program's own texts, and so does C/POSIX: that is what a service, a
// container or a bare terminal runs under, not a choice of language.
Language chooseLanguage(const QString& localeName, const QString& quorvaneLang);

// The locale that names the language of messages, as POSIX reads it: the
// first of LC_ALL, LC_MESSAGES and LANG that is set.
QString messagesLocale();

// Loads the embedded English catalogue into the running application.
bool installEnglish();

// Installs the catalogue the environment asks for; Qt's own texts (standard
// buttons, file dialogs) keep Qt's built-in English either way.
void installLanguage();

#endif // LANGUAGE_H
