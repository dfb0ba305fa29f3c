#include "language.h"
#include "logging.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTranslator>

Language chooseLanguage(const QString& localeName, const QString& quorvaneLang)
{
    const QString forced = quorvaneLang.trimmed().toLower();
    if (forced == QLatin1String("en"))
        return Language::English;
    if (forced == QLatin1String("tr"))
        return Language::Turkish;
    // "tr_TR.UTF-8", "tr@euro", "C.UTF-8": the language is what comes before
    // the territory, the code set or the modifier.
    const QString code = localeName.section(QRegularExpression(QStringLiteral("[_.@]")), 0, 0);
    const bool own = code.isEmpty() || code == QLatin1String("C") || code == QLatin1String("POSIX")
        || code.compare(QLatin1String("tr"), Qt::CaseInsensitive) == 0;
    return own ? Language::Turkish : Language::English;
}

QString messagesLocale()
{
    for (const char* name : { "LC_ALL", "LC_MESSAGES", "LANG" }) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
    return QString();
}

bool installEnglish()
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QStringLiteral(":/translations/quorvane_en.qm"))
        && QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

void installLanguage()
{
    const QString locale = messagesLocale();
    if (chooseLanguage(locale, qEnvironmentVariable("QUORVANE_LANG")) != Language::English)
        return;
    const bool installed = installEnglish();
    qCDebug(lcApp) << "locale" << locale << "English catalogue installed:" << installed;
}
