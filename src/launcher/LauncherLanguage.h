#pragma once
// The launcher's language: --lang, else the system's (English when the system speaks
// English, Chinese otherwise). Whatever it chose on the command line it hands on to Ohmlet.
#include <QLocale>
#include <QString>
#include <optional>

class QCoreApplication;

namespace kiosa {

// "zh" or "en" for a word naming one of them (any case, with or without a region).
std::optional<QString> LanguageCode(const QString& word);

bool UseEnglish(const QString& option, const QLocale& system);

// English: the launcher's own translation; Chinese: Qt's texts in Chinese. False when the
// translation was not found.
bool InstallTranslators(QCoreApplication& app, bool english);

}  // namespace kiosa
