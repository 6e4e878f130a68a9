// The window's language: how it is chosen, what each choice translates, and that the
// English translation leaves no text behind.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStyle>
#include <QTabWidget>
#include <QXmlStreamReader>

#include "app/AboutBox.h"
#include "app/AppStrings.h"
#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/MainWindow.h"
#include "app/UiLanguage.h"
#include "data/Document.h"
#include "report/ClassNames.h"
#include "report/GbkCodec.h"
#include "views/ChartPane.h"
#include "views/ComponentListModel.h"

namespace ohmlet {
namespace {

bool HasChinese(const QString& text) {
    static const QRegularExpression cjk(QStringLiteral("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    return text.contains(cjk);
}

TEST(ParseLanguageTest, AcceptsTheTwoCodesOnly) {
    struct Row {
        const char* code;
        std::optional<UiLanguage> expected;
    };
    const Row rows[] = {
        {"zh", UiLanguage::Chinese},
        {"ZH", UiLanguage::Chinese},
        {"zh_CN", UiLanguage::Chinese},
        {"zh-TW", UiLanguage::Chinese},
        {"en", UiLanguage::English},
        {" en ", UiLanguage::English},
        {"en_GB", UiLanguage::English},
        {"EN-us", UiLanguage::English},
        {"", std::nullopt},
        {"fr", std::nullopt},
        {"english", std::nullopt},
        {"zhx", std::nullopt},
        {"_en", std::nullopt},
        {"中文", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        EXPECT_EQ(ParseLanguage(QString::fromUtf8(row.code)), row.expected);
    }
}

TEST(ChooseLanguageTest, OptionBeatsSettingBeatsSystem) {
    struct Row {
        const char* option;
        const char* saved;
        QLocale::Language system;
        UiLanguage expected;
    };
    const Row rows[] = {
        // Nothing chosen: the system decides, and only English turns Chinese off.
        {"", "", QLocale::Chinese, UiLanguage::Chinese},
        {"", "", QLocale::English, UiLanguage::English},
        {"", "", QLocale::German, UiLanguage::Chinese},
        {"", "", QLocale::C, UiLanguage::Chinese},
        // A saved choice beats the system.
        {"", "en", QLocale::Chinese, UiLanguage::English},
        {"", "zh", QLocale::English, UiLanguage::Chinese},
        // The command line beats both.
        {"zh", "en", QLocale::English, UiLanguage::Chinese},
        {"en", "zh", QLocale::Chinese, UiLanguage::English},
        {"en", "", QLocale::German, UiLanguage::English},
        // Words that are no language are passed over, never guessed at.
        {"xx", "en", QLocale::Chinese, UiLanguage::English},
        {"", "garbage", QLocale::English, UiLanguage::English},
        {"", "garbage", QLocale::Chinese, UiLanguage::Chinese},
        {"fr", "fr", QLocale::French, UiLanguage::Chinese},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.option) + " / " + row.saved + " / " +
                     QLocale::languageToString(row.system).toStdString());
        EXPECT_EQ(ChooseLanguage(QString::fromUtf8(row.option), QString::fromUtf8(row.saved),
                                 QLocale(row.system)),
                  row.expected);
    }
}

TEST(WithoutLanguageOptionTest, LeavesTheFileAndOtherOptions) {
    struct Row {
        QStringList in;
        QStringList out;
    };
    const QString p = QStringLiteral("Ohmlet");
    const Row rows[] = {
        {{p}, {p}},
        {{p, "a.DZL"}, {p, "a.DZL"}},
        {{p, "--lang", "en", "a.DZL"}, {p, "a.DZL"}},
        {{p, "a.DZL", "--lang", "zh"}, {p, "a.DZL"}},
        {{p, "--lang=en", "a.DZL"}, {p, "a.DZL"}},
        {{p, "--lang"}, {p}},
        {{p, "--simulate-usb", "x.DZL", "--lang", "en"}, {p, "--simulate-usb", "x.DZL"}},
        // Only the option itself: a file that merely starts alike stays.
        {{p, "--language.DZL"}, {p, "--language.DZL"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.in.join(QLatin1Char(' ')).toStdString());
        EXPECT_EQ(WithoutLanguageOption(row.in), row.out);
    }
}

// Each test starts and ends with the program's own texts and no Qt translation.
class TranslatedUiTest : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings(RegistryKey(), SettingsApplication()).remove(QStringLiteral("Settings"));
    }
    void TearDown() override {
        RemoveTranslators(*QCoreApplication::instance());
        InstallTranslators(*QCoreApplication::instance(), UiLanguage::Chinese);
        RemoveTranslators(*QCoreApplication::instance());
        QSettings(RegistryKey(), SettingsApplication()).remove(QStringLiteral("Settings"));
    }
    static QStringList MenuTitles(const MainWindow& frame) {
        QStringList titles;
        for (QAction* action : frame.menuBar()->actions()) titles << action->text();
        return titles;
    }
};

TEST_F(TranslatedUiTest, ChineseUiGetsQtsOwnButtonsInChinese) {
    ASSERT_TRUE(InstallTranslators(*QCoreApplication::instance(), UiLanguage::Chinese));
    QMessageBox box(QMessageBox::Question, AppName(), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_TRUE(box.button(QMessageBox::Yes)->text().startsWith(QStringLiteral("是")));
    EXPECT_TRUE(box.button(QMessageBox::No)->text().startsWith(QStringLiteral("否")));
    EXPECT_TRUE(box.button(QMessageBox::Cancel)->text().startsWith(QStringLiteral("取消")));
    QDialogButtonBox buttons(QDialogButtonBox::Ok);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
    // The program's own texts are the Chinese they were written in.
    EXPECT_EQ(MenuText(cmd::kDataTransfer), QStringLiteral("数据传输(&T)"));
}

TEST_F(TranslatedUiTest, EnglishUiLeavesQtsButtonsEnglish) {
    ASSERT_TRUE(InstallTranslators(*QCoreApplication::instance(), UiLanguage::English));
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Ok)->text(), QStringLiteral("OK"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancel"));
}

TEST_F(TranslatedUiTest, EnglishFrameSpeaksEnglish) {
    ASSERT_TRUE(InstallTranslators(*QCoreApplication::instance(), UiLanguage::English));
    Document doc;
    MainWindow frame(doc);
    EXPECT_EQ(MenuTitles(frame), (QStringList{"&File", "&Edit", "&Tools", "&View", "&Help"}));
    EXPECT_EQ(frame.windowTitle(),
              QStringLiteral("Untitled[*] - Ohmlet Concrete Resistivity Analysis"));
    // Nor the chart pane's tabs, nor the file name its export suggests.
    ASSERT_TRUE(frame.Charts());
    const QTabWidget* tabs = frame.Charts()->findChild<QTabWidget*>(QStringLiteral("chartTabs"));
    ASSERT_TRUE(tabs);
    for (int i = 0; i < tabs->count(); ++i)
        EXPECT_FALSE(HasChinese(tabs->tabText(i))) << tabs->tabText(i).toStdString();
    QString suggested;
    frame.Charts()->SetFileNamePrompt([&](const QString& suggestion) {
        suggested = suggestion;
        return QString();  // cancelled
    });
    frame.Charts()->OnExportChart();
    EXPECT_FALSE(suggested.isEmpty());
    EXPECT_FALSE(HasChinese(suggested)) << suggested.toStdString();
    // No action of the frame is left in Chinese, apart from the language's own name.
    for (QAction* action : frame.findChildren<QAction*>()) {
        if (action->objectName() == QLatin1String("language_zh")) continue;
        SCOPED_TRACE(action->objectName().toStdString());
        EXPECT_FALSE(HasChinese(action->text())) << action->text().toStdString();
        EXPECT_FALSE(HasChinese(action->statusTip())) << action->statusTip().toStdString();
        EXPECT_FALSE(HasChinese(action->toolTip())) << action->toolTip().toStdString();
    }
}

TEST_F(TranslatedUiTest, ChineseFrameKeepsItsTitles) {
    Document doc;
    MainWindow frame(doc);
    EXPECT_EQ(MenuTitles(frame),
              (QStringList{"文件(&F)", "编辑(&J)", "工具(&E)", "查看(&V)", "帮助(&H)"}));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("无标题[*] - 混凝土电阻率测试仪数据分析软件"));
}

// Alt plus a menu title's mnemonic opens that menu, so no command may use it, in either
// language; and no two commands share a key.
TEST_F(TranslatedUiTest, EveryShortcutReachesItsCommandInBothLanguages) {
    for (UiLanguage language : {UiLanguage::Chinese, UiLanguage::English}) {
        SCOPED_TRACE(language == UiLanguage::English ? "English" : "Chinese");
        RemoveTranslators(*QCoreApplication::instance());
        InstallTranslators(*QCoreApplication::instance(), language);
        Document doc;
        MainWindow frame(doc);
        QStringList taken;
        for (const QString& title : MenuTitles(frame)) {
            const qsizetype amp = title.indexOf(QLatin1Char('&'));
            if (amp >= 0) taken << QStringLiteral("Alt+") + title.at(amp + 1).toUpper();
        }
        for (QAction* action : frame.findChildren<QAction*>()) {
            for (const QKeySequence& key : action->shortcuts()) {
                const QString text = key.toString();
                EXPECT_FALSE(taken.contains(text))
                    << text.toStdString() << " of " << action->text().toStdString();
                taken << text;
            }
        }
    }
}

TEST_F(TranslatedUiTest, AboutBoxNamesTheProductInEitherLanguage) {
    struct Row {
        UiLanguage language;
        const char* title;
        const char* line;
    };
    const Row rows[] = {
        {UiLanguage::Chinese, "关于软件", "混凝土电阻率测试仪数据分析软件V 1.12版"},
        {UiLanguage::English, "About", "Ohmlet Concrete Resistivity Analysis, version 1.12"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(LanguageCode(row.language).toStdString());
        InstallTranslators(*QCoreApplication::instance(), row.language);
        AboutBox box;
        EXPECT_EQ(box.windowTitle(), QString::fromUtf8(row.title));
        QStringList texts;
        for (QLabel* label : box.findChildren<QLabel*>()) texts << label->text();
        EXPECT_TRUE(texts.contains(QString::fromUtf8(row.line))) << texts.join('|').toStdString();
    }
}

// Built-in class names follow the window's language; the printed report and the
// workbook keep them in Chinese, and a user's own names stay as they were given.
TEST_F(TranslatedUiTest, ClassNamesFollowTheWindowButNotTheReport) {
    struct Row {
        const char* name;
        const char* chinese;
        const char* english;
    };
    const Row rows[] = {
        {"negligible", "可忽略", "Negligible"},
        {"low", "低", "Low"},
        {"moderate", "中等", "Moderate"},
        {"high", "高", "High"},
        {"low-moderate", "低至中等", "Low to moderate"},
        {"very-high", "很高", "Very high"},
        {"Rissgefahr", "Rissgefahr", "Rissgefahr"},
    };
    for (UiLanguage language : {UiLanguage::Chinese, UiLanguage::English}) {
        InstallTranslators(*QCoreApplication::instance(), language);
        for (const Row& row : rows) {
            SCOPED_TRACE(LanguageCode(language).toStdString() + " " + row.name);
            const CorrosionClass cls{row.name, 0};
            const char* shown = language == UiLanguage::English ? row.english : row.chinese;
            EXPECT_EQ(ClassDisplayName(cls, ClassWording::kInterface), QString::fromUtf8(shown));
            EXPECT_EQ(ClassDisplayName(cls, ClassWording::kReport), QString::fromUtf8(row.chinese));
        }
        const ClassTable table = ClassTable::Rilem();
        // Every range says which end it holds; the report keeps its Chinese.
        const QString legend = language == UiLanguage::English
                                   ? QStringLiteral("Low 50–100 (above 50)")
                                   : QStringLiteral("低 50–100（不含50）");
        EXPECT_EQ(ClassLegendText(table, 1, ClassWording::kInterface), legend);
        EXPECT_EQ(ClassLegendText(table, 1), QStringLiteral("低 50–100（不含50）"));
        EXPECT_EQ(ClassLegendText(table, 3), QStringLiteral("高 ≤ 10"));
        EXPECT_EQ(ClassLegendText(table, 0), QStringLiteral("可忽略 > 100"));
        const QString shares =
            language == UiLanguage::English ? "Low 25% · Moderate 75%" : "低 25% · 中等 75%";
        EXPECT_EQ(ClassSharesText(table, {0, 1, 3, 0}, ClassWording::kInterface), shares);
    }
}

// The panel's values are never cut, however long the labels beside them are.
TEST_F(TranslatedUiTest, PanelValuesFitTheirFieldsInEitherLanguage) {
    // The example's criteria are minimums: the deviations are hidden, the criterion shown.
    const char* fields[] = {"numberField",    "designValueField", "criterionField",
                            "maximumField",   "minimumField",     "pointCountField",
                            "averageField",   "passCountField",   "passRateField",
                            "failCountField", "invalidCountField"};
    for (UiLanguage language : {UiLanguage::Chinese, UiLanguage::English}) {
        SCOPED_TRACE(LanguageCode(language).toStdString());
        InstallTranslators(*QCoreApplication::instance(), language);
        Document doc;
        MainWindow frame(doc);
        frame.resize(1000, 700);
        frame.show();
        ASSERT_TRUE(frame.OpenLocalFile(OHMLET_EXAMPLE_FILE));
        QApplication::processEvents();
        for (const char* name : fields) {
            auto* edit = frame.findChild<QLineEdit*>(QString::fromLatin1(name));
            ASSERT_NE(edit, nullptr) << name;
            ASSERT_TRUE(edit->isVisible()) << name;
            ASSERT_FALSE(edit->text().isEmpty()) << name;
            const int frameWidth =
                edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
            const int room = edit->width() - 2 * frameWidth - 4;
            EXPECT_LE(edit->fontMetrics().horizontalAdvance(edit->text()), room)
                << name << ": \"" << edit->text().toStdString() << "\" in " << edit->width()
                << " px";
        }
    }
}

// The list shows the stored dates as the file has them in Chinese, in the window's own
// format in English; text that is no date stays as it is.
TEST_F(TranslatedUiTest, ListDatesFollowTheWindowLanguage) {
    struct Row {
        const char* stored;
        const char* chinese;
        const char* english;
    };
    const Row rows[] = {
        {"2026年10月12日", "2026年10月12日", "2026-10-12"},
        {"2026年 3月 5日", "2026年 3月 5日", "2026-03-05"},
        {"2026年03月05日", "2026年03月05日", "2026-03-05"},
        // Not at the positions the file keeps a date's numbers at.
        {"2026年3月5日", "2026年3月5日", "2026年3月5日"},
        {"昨天", "昨天", "昨天"},
        {"", "", ""},
    };
    Document doc;
    std::vector<Component> components;
    for (const Row& row : rows) {
        components.emplace_back();
        components.back().SetTestDate(ToGbk(QString::fromUtf8(row.stored)));
    }
    doc.ReplaceComponents(std::move(components));
    ComponentListModel model(doc);
    for (UiLanguage language : {UiLanguage::Chinese, UiLanguage::English}) {
        InstallTranslators(*QCoreApplication::instance(), language);
        for (int i = 0; i < static_cast<int>(std::size(rows)); ++i) {
            const char* shown = language == UiLanguage::English ? rows[i].english : rows[i].chinese;
            EXPECT_EQ(model.data(model.index(i, ComponentListModel::kTestDate), Qt::DisplayRole)
                          .toString(),
                      QString::fromUtf8(shown))
                << LanguageCode(language).toStdString() << " " << rows[i].stored;
        }
    }
}

TEST_F(TranslatedUiTest, LanguageMenuSavesTheChoiceForTheNextStart) {
    Document doc;
    MainWindow frame(doc);
    std::vector<QString> notices;
    frame.SetErrorSink([&](const QString& text) { notices.push_back(text); });
    QMenu* menu = frame.findChild<QMenu*>(QStringLiteral("languageMenu"));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), QStringLiteral("语言(&L)"));
    auto* zh = frame.findChild<QAction*>(QStringLiteral("language_zh"));
    auto* en = frame.findChild<QAction*>(QStringLiteral("language_en"));
    ASSERT_TRUE(zh && en);
    EXPECT_TRUE(zh->isChecked());
    EXPECT_FALSE(en->isChecked());

    en->trigger();
    EXPECT_TRUE(en->isChecked());
    EXPECT_FALSE(zh->isChecked());
    EXPECT_EQ(SavedLanguage(), QStringLiteral("en"));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_TRUE(notices[0].contains(QStringLiteral("下次启动")));

    // Choosing it again says nothing new; going back says so once more.
    en->trigger();
    EXPECT_EQ(notices.size(), 1u);
    zh->trigger();
    EXPECT_EQ(SavedLanguage(), QStringLiteral("zh"));
    EXPECT_EQ(notices.size(), 2u);

    // A new frame shows the saved choice checked.
    QSettings(RegistryKey(), SettingsApplication())
        .setValue(QStringLiteral("Settings/Language"), QStringLiteral("en"));
    Document nextDoc;
    MainWindow next(nextDoc);
    EXPECT_TRUE(next.findChild<QAction*>(QStringLiteral("language_en"))->isChecked());
}

// Every text of the English translation is there and in English.
TEST(EnglishTranslationFileTest, EveryTextIsTranslated) {
    QFile file(QStringLiteral(OHMLET_TRANSLATIONS_DIR "/ohmlet_en.ts"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    int messages = 0;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (xml.name() == QLatin1String("translation")) {
            ++messages;
            const QString type = xml.attributes().value(QStringLiteral("type")).toString();
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            SCOPED_TRACE(source.toStdString());
            EXPECT_NE(type, QStringLiteral("unfinished"));
            EXPECT_FALSE(text.isEmpty());
            EXPECT_FALSE(HasChinese(text)) << text.toStdString();
            // Placeholders survive the translation.
            for (int n = 1; n <= 9; ++n) {
                const QString mark = QStringLiteral("%%1").arg(n);
                EXPECT_EQ(source.contains(mark), text.contains(mark)) << mark.toStdString();
            }
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_GT(messages, 50);
}

}  // namespace
}  // namespace ohmlet
