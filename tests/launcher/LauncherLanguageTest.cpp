#include <gtest/gtest.h>

#include <QApplication>
#include <QTranslator>

#include "launcher/AboutKiosaDialog.h"
#include "launcher/LauncherLanguage.h"
#include "launcher/LauncherWindow.h"
#include "launcher/ProgramStarter.h"

using namespace kiosa;

namespace {

TEST(LauncherLanguageTest, OptionBeatsTheSystem) {
    struct Row {
        const char* option;
        QLocale::Language system;
        bool english;
    };
    const Row rows[] = {
        {"", QLocale::Chinese, false},      {"", QLocale::English, true},
        {"", QLocale::Japanese, false},     {"en", QLocale::Chinese, true},
        {"EN_us", QLocale::Chinese, true},  {"zh", QLocale::English, false},
        {"zh-CN", QLocale::English, false}, {"de", QLocale::English, true},
        {"de", QLocale::Chinese, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.option);
        EXPECT_EQ(UseEnglish(QString::fromUtf8(row.option), QLocale(row.system)), row.english);
    }
}

TEST(LauncherLanguageTest, LanguageCodeNamesOnlyTheTwo) {
    struct Row {
        const char* word;
        std::optional<QString> code;
    };
    const Row rows[] = {
        {"zh", QStringLiteral("zh")}, {"Zh_TW", QStringLiteral("zh")},
        {"en", QStringLiteral("en")}, {"en-GB", QStringLiteral("en")},
        {"", std::nullopt},           {"eng", std::nullopt},
        {"--lang", std::nullopt},     {"中文", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.word);
        EXPECT_EQ(LanguageCode(QString::fromUtf8(row.word)), row.code);
    }
}

TEST(LauncherLanguageTest, OnlyOhmletIsHandedTheLanguage) {
    struct Started {
        QString program;
        QStringList arguments;
    };
    std::vector<Started> started;
    ProgramStarter starter(QStringLiteral("/opt/k"),
                           [&](const QString& program, const QStringList& arguments) {
                               started.push_back({program, arguments});
                               return true;
                           });
    starter.Start(LaunchedProgram::Ohmlet);
    starter.SetOhmletArguments({QStringLiteral("--lang"), QStringLiteral("en")});
    starter.Start(LaunchedProgram::Ohmlet);
    starter.Start(LaunchedProgram::Ferrolog);
    ASSERT_EQ(started.size(), 3u);
    EXPECT_TRUE(started[0].arguments.isEmpty());
    EXPECT_EQ(started[1].arguments, (QStringList{"--lang", "en"}));
    EXPECT_TRUE(started[2].program.contains(QStringLiteral("Ferrolog")));
    EXPECT_TRUE(started[2].arguments.isEmpty());
}

TEST(LauncherLanguageTest, EnglishTranslationCoversTheWindowAndAboutBox) {
    ASSERT_TRUE(InstallTranslators(*QCoreApplication::instance(), true));
    {
        LauncherWindow window(ProgramStarter(QString(), nullptr));
        EXPECT_EQ(window.windowTitle(),
                  QStringLiteral("Velmar Rebar Locator and Corrosion Meter V1.10"));
        AboutKiosaDialog about;
        EXPECT_EQ(about.windowTitle(), QStringLiteral("About Kiosa"));
    }
    // Back to the Chinese the other tests expect.
    for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
    LauncherWindow window(ProgramStarter(QString(), nullptr));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Velmar钢筋位置及锈蚀测定仪V1.10"));
}

}  // namespace
