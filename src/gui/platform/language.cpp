#include "platform/language.h"

#include "data/settings.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace Language {

namespace {
const QString Simplified = QStringLiteral("zh_CN");
const QString Traditional = QStringLiteral("zh_TW");
const QString English = QStringLiteral("en");
} // namespace

Choice fromSetting(const QString &value)
{
    if (value == Simplified)
        return Choice::Simplified;
    if (value == Traditional)
        return Choice::Traditional;
    if (value == English)
        return Choice::English;
    return Choice::System;
}

QString toSetting(Choice choice)
{
    switch (choice) {
    case Choice::Simplified:
        return Simplified;
    case Choice::Traditional:
        return Traditional;
    case Choice::English:
        return English;
    case Choice::System:
        break;
    }
    return {};
}

QString translationFor(Choice choice, const QStringList &uiLanguages)
{
    // The user's own choice; Simplified Chinese is the program's own texts.
    if (choice != Choice::System)
        return choice == Choice::Simplified ? QString() : toSetting(choice);
    bool anyLanguage = false;
    for (const QString &name : uiLanguages) {
        const QLocale locale(name);
        if (locale.language() == QLocale::C) // "C", "POSIX", and what names no language Qt knows
            continue;
        anyLanguage = true;
        // QLocale gives a name without a script the one its place writes: Traditional for Taiwan, Hong Kong and
        // Macao, Simplified for the rest; a script named ("zh-Hans-HK", "zh-Hant") is kept.
        if (locale.language() == QLocale::Chinese)
            return locale.script() == QLocale::TraditionalChineseScript ? Traditional : QString();
        if (locale.language() == QLocale::English)
            return English;
    }
    return anyLanguage ? English : QString();
}

QString install(QCoreApplication &app, const QString &dataFile)
{
    const QString chosen = translationFor(fromSetting(Settings::readBeforeStart(dataFile, Settings::Language)),
                                          QLocale::system().uiLanguages());
    // Qt's own texts: Simplified Chinese where the program shows its own, else the translation's language.
    static QTranslator toolkit, program;
    if (toolkit.load(QStringLiteral("qtbase_") + (chosen.isEmpty() ? Simplified : chosen),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&toolkit);
    if (!chosen.isEmpty() && program.load(QStringLiteral(":/translations/korvane_") + chosen))
        app.installTranslator(&program);
    return chosen;
}

} // namespace Language
