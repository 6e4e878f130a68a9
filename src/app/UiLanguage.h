#pragma once
// Which language the window speaks, and the translators that make it speak it. Chinese
// is the texts' own language; English comes from the compiled-in translation.
#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>

class QCoreApplication;

namespace ohmlet {

enum class UiLanguage { Chinese, English };

// "zh" or "en", any case, with or without a region ("en_GB", "zh-CN"); nothing else.
std::optional<UiLanguage> ParseLanguage(const QString& code);
QString LanguageCode(UiLanguage language);

// The command line's choice, then the saved one, then the system's: English when the
// system speaks English, Chinese otherwise. Words neither "zh" nor "en" count as unset.
UiLanguage ChooseLanguage(const QString& option, const QString& saved, const QLocale& system);

// The command line without "--lang WORD" or "--lang=WORD": main() has dealt with them, and
// neither is a file to open.
QStringList WithoutLanguageOption(QStringList arguments);

// The choice saved from 查看 › 语言; empty when none was made.
QString SavedLanguage();
void SaveLanguage(UiLanguage language);

// Installs the translators for language on app: the program's English texts, or Qt's own
// Chinese texts for its standard dialogs. False when a translation was not found (the
// texts then stay as they are).
bool InstallTranslators(QCoreApplication& app, UiLanguage language);
// The language InstallTranslators was last asked for: the one the window speaks.
UiLanguage CurrentLanguage();
// Takes out what InstallTranslators put in (tests switch back and forth).
void RemoveTranslators(QCoreApplication& app);

}  // namespace ohmlet
