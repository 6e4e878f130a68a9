#include "launcher/LauncherLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTranslator>

namespace kiosa {

std::optional<QString> LanguageCode(const QString& word) {
    const QString base =
        word.trimmed().toLower().section(QRegularExpression(QStringLiteral("[_-]")), 0, 0);
    if (base == QLatin1String("zh") || base == QLatin1String("en")) return base;
    return std::nullopt;
}

bool UseEnglish(const QString& option, const QLocale& system) {
    if (auto code = LanguageCode(option)) return *code == QLatin1String("en");
    return system.language() == QLocale::English;
}

bool InstallTranslators(QCoreApplication& app, bool english) {
    // Lives as long as the program.
    auto* translator = new QTranslator(&app);
    const bool loaded =
        english ? translator->load(QStringLiteral("kiosa_en"), QStringLiteral(":/i18n"))
                : (translator->load(QStringLiteral("qtbase_zh_CN"),
                                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
                   translator->load(
                       QStringLiteral("qtbase_zh_CN"),
                       QCoreApplication::applicationDirPath() + QStringLiteral("/translations")));
    if (loaded) app.installTranslator(translator);
    return loaded;
}

}  // namespace kiosa
