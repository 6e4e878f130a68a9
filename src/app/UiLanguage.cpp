#include "app/UiLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QTranslator>
#include <algorithm>
#include <memory>
#include <vector>

#include "app/AppStrings.h"

namespace ohmlet {
namespace {

QString SettingsKey() { return QStringLiteral("Settings/Language"); }

UiLanguage& Current() {
    static UiLanguage language = UiLanguage::Chinese;
    return language;
}

std::vector<std::unique_ptr<QTranslator>>& Installed() {
    static std::vector<std::unique_ptr<QTranslator>> translators;
    return translators;
}

bool Load(QCoreApplication& app, const QString& name, const QString& folder) {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(name, folder)) return false;
    app.installTranslator(translator.get());
    Installed().push_back(std::move(translator));
    return true;
}

}  // namespace

std::optional<UiLanguage> ParseLanguage(const QString& code) {
    const QString lower = code.trimmed().toLower();
    const QString base = lower.section(QRegularExpression(QStringLiteral("[_-]")), 0, 0);
    if (base == QLatin1String("zh")) return UiLanguage::Chinese;
    if (base == QLatin1String("en")) return UiLanguage::English;
    return std::nullopt;
}

QString LanguageCode(UiLanguage language) {
    return language == UiLanguage::English ? QStringLiteral("en") : QStringLiteral("zh");
}

UiLanguage ChooseLanguage(const QString& option, const QString& saved, const QLocale& system) {
    if (auto chosen = ParseLanguage(option)) return *chosen;
    if (auto chosen = ParseLanguage(saved)) return *chosen;
    return system.language() == QLocale::English ? UiLanguage::English : UiLanguage::Chinese;
}

QStringList WithoutLanguageOption(QStringList arguments) {
    for (qsizetype i = 1; i < arguments.size();) {
        if (arguments.at(i) == QLatin1String("--lang"))
            arguments.remove(i, std::min<qsizetype>(2, arguments.size() - i));
        else if (arguments.at(i).startsWith(QLatin1String("--lang=")))
            arguments.remove(i);
        else
            ++i;
    }
    return arguments;
}

QString SavedLanguage() {
    return QSettings(RegistryKey(), SettingsApplication()).value(SettingsKey()).toString();
}

void SaveLanguage(UiLanguage language) {
    QSettings(RegistryKey(), SettingsApplication()).setValue(SettingsKey(), LanguageCode(language));
}

bool InstallTranslators(QCoreApplication& app, UiLanguage language) {
    RemoveTranslators(app);
    Current() = language;
    if (language == UiLanguage::English)
        return Load(app, QStringLiteral("ohmlet_en"), QStringLiteral(":/i18n"));
    // Qt's standard dialogs and buttons; the program's own texts are Chinese already. A
    // deployed copy of Qt keeps them in a folder beside the program instead.
    const QString file = QStringLiteral("qtbase_zh_CN");
    return Load(app, file, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
           Load(app, file,
                QCoreApplication::applicationDirPath() + QStringLiteral("/translations"));
}

UiLanguage CurrentLanguage() { return Current(); }

void RemoveTranslators(QCoreApplication& app) {
    for (const auto& translator : Installed()) app.removeTranslator(translator.get());
    Installed().clear();
}

}  // namespace ohmlet
