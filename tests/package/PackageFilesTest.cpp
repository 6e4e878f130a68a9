// The files shipped beside the programs agree with the programs: every command and option
// the programs list is in their manual page, the pages render cleanly, one version number
// runs through all of them, the AppStream metadata names the real desktop entry and
// file type, and the user guide tells the same in both languages.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QXmlStreamReader>
#include <utility>

#include "data/Version.h"

namespace {

const QString kSource = QStringLiteral(OHMLET_SOURCE_DIR);
const QString kProjectVersion = QString::fromLatin1(ohmlet::kVersion);
const QString kMetainfo =
    kSource + QStringLiteral("/resources/desktop/org.ohmlet.Ohmlet.metainfo.xml");

QString ReadText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

struct ProgramRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ProgramRun RunProgram(const QString& program, const QStringList& args,
                      const QStringList& environment = {}) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const QString& pair : environment)
        env.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(env);
    process.start(program, args);
    if (!process.waitForFinished(60000)) return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QString ManPage(const char* name) {
    return kSource + QStringLiteral("/resources/man/") + QLatin1String(name);
}

// Spaces collapsed and none around '|', so that "a|b" and "a | b" compare equal.
QString Normalised(QString text) {
    text = text.simplified();
    text.replace(QStringLiteral(" |"), QStringLiteral("|"));
    text.replace(QStringLiteral("| "), QStringLiteral("|"));
    return text;
}

// The page as a reader sees it, on lines long enough that nothing is broken or hyphenated.
QString Rendered(const QString& page) {
    ProgramRun run =
        RunProgram(QStringLiteral("man"),
                   {QStringLiteral("-E"), QStringLiteral("ascii"), QStringLiteral("-l"), page},
                   {QStringLiteral("MANWIDTH=1000"), QStringLiteral("MAN_KEEP_FORMATTING=")});
    return run.exitCode == 0 ? Normalised(run.out) : QString();
}

// What a program's --help lists: ohmlet-cli names one command per "  ohmlet-cli ..." line;
// the GUI lists its options on lines starting with a dash.
QStringList HelpEntries(const QString& help) {
    QStringList entries;
    static const QRegularExpression command(QStringLiteral("^  ohmlet-cli (.+)$"),
                                            QRegularExpression::MultilineOption);
    for (auto it = command.globalMatch(help); it.hasNext();)
        entries << Normalised(it.next().captured(1));
    static const QRegularExpression option(QStringLiteral("^\\s+(-[^ ,]*(?:, -[^ ,]*)*)"),
                                           QRegularExpression::MultilineOption);
    for (auto it = option.globalMatch(help); it.hasNext();)
        entries << it.next().captured(1).split(QStringLiteral(", "));
    return entries;
}

struct DocumentedProgram {
    const char* page;
    QString program;
};

const DocumentedProgram kDocumented[] = {
    {"ohmlet-cli.1", QStringLiteral(OHMLET_CLI_PATH)},
    {"ohmlet.1", QStringLiteral(OHMLET_GUI_PATH)},
};

TEST(ManualPages, ListEveryCommandAndOptionTheProgramsHelpNames) {
    for (const auto& row : kDocumented) {
        SCOPED_TRACE(row.page);
        ProgramRun help = RunProgram(row.program, {QStringLiteral("--help")});
        ASSERT_EQ(help.exitCode, 0) << help.err.toStdString();
        const QStringList entries = HelpEntries(help.out);
        ASSERT_GE(entries.size(), 3) << help.out.toStdString();
        const QString page = Rendered(ManPage(row.page));
        ASSERT_FALSE(page.isEmpty());
        for (const QString& entry : entries)
            EXPECT_TRUE(page.contains(entry)) << "not in the page: " << entry.toStdString();
    }
}

// Every option that `ohmlet-cli COMMAND --help` lists is in the page too.
TEST(ManualPages, ListEveryOptionOfEveryCommand) {
    const QString page = Rendered(ManPage("ohmlet-cli.1"));
    ASSERT_FALSE(page.isEmpty());
    static const QRegularExpression command(QStringLiteral("^  ohmlet-cli (\\S+)"),
                                            QRegularExpression::MultilineOption);
    const QString help =
        RunProgram(QStringLiteral(OHMLET_CLI_PATH), {QStringLiteral("--help")}).out;
    int commands = 0;
    for (auto it = command.globalMatch(help); it.hasNext(); ++commands) {
        const QString name = it.next().captured(1);
        ProgramRun usage =
            RunProgram(QStringLiteral(OHMLET_CLI_PATH), {name, QStringLiteral("--help")});
        ASSERT_EQ(usage.exitCode, 0) << name.toStdString();
        for (const QString& option : HelpEntries(usage.out))
            EXPECT_TRUE(page.contains(option))
                << name.toStdString() << ": " << option.toStdString() << " is not in the page";
    }
    EXPECT_GE(commands, 8);
}

TEST(ManualPages, RenderWithoutWarnings) {
    // The run lintian makes of an installed page, and a reader's in the plain C locale,
    // where characters beyond ASCII have no glyph.
    const QStringList lintian = {QStringLiteral("--warnings"), QStringLiteral("-E"),
                                 QStringLiteral("UTF-8"),      QStringLiteral("-l"),
                                 QStringLiteral("-Tutf8"),     QStringLiteral("-Z")};
    const QStringList plain = {QStringLiteral("--warnings"), QStringLiteral("-l")};
    for (const char* name : {"ohmlet.1", "ohmlet-cli.1", "kiosa.1"}) {
        for (const auto& [options, locale] :
             {std::pair{lintian, "LC_ALL=C.UTF-8"}, std::pair{plain, "LC_ALL=C"}}) {
            SCOPED_TRACE(std::string(name) + " " + locale);
            ProgramRun run =
                RunProgram(QStringLiteral("man"), QStringList(options) << ManPage(name),
                           {QString::fromLatin1(locale), QStringLiteral("MANROFFSEQ=")});
            EXPECT_EQ(run.exitCode, 0);
            EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
            EXPECT_FALSE(run.out.isEmpty());
        }
    }
}

TEST(Release, EveryShippedFileCarriesTheProjectVersion) {
    const QString gui =
        RunProgram(QStringLiteral(OHMLET_GUI_PATH), {QStringLiteral("--version")}).out;
    const QString cli =
        RunProgram(QStringLiteral(OHMLET_CLI_PATH), {QStringLiteral("--version")}).out;
    const QString changelog = ReadText(kSource + QStringLiteral("/debian/changelog"));
    // `whole`: the text is the expected one and nothing else.
    struct Place {
        const char* what;
        QString text;
        QString expected;
        bool whole;
    } places[] = {
        {"Ohmlet --version", gui.trimmed(), QStringLiteral("Ohmlet ") + kProjectVersion, true},
        {"ohmlet-cli --version", cli.trimmed(), QStringLiteral("ohmlet-cli ") + kProjectVersion,
         true},
        {"Debian changelog", changelog.section(QLatin1Char('\n'), 0, 0),
         QStringLiteral("ohmlet (") + kProjectVersion + QStringLiteral(")"), false},
        {"AppStream release", ReadText(kMetainfo),
         QStringLiteral("<release version=\"") + kProjectVersion + QStringLiteral("\""), false},
        {"ohmlet.1", ReadText(ManPage("ohmlet.1")),
         QStringLiteral("\"Ohmlet ") + kProjectVersion + "\"", false},
        {"ohmlet-cli.1", ReadText(ManPage("ohmlet-cli.1")),
         QStringLiteral("\"Ohmlet ") + kProjectVersion + "\"", false},
        {"kiosa.1", ReadText(ManPage("kiosa.1")),
         QStringLiteral("\"Ohmlet ") + kProjectVersion + "\"", false},
    };
    for (const auto& place : places) {
        SCOPED_TRACE(place.what);
        ASSERT_FALSE(place.text.isEmpty());
        if (place.whole)
            EXPECT_EQ(place.text, place.expected);
        else
            EXPECT_TRUE(place.text.contains(place.expected)) << place.expected.toStdString();
    }
}

// Values of one element or attribute in the metadata, in document order.
QStringList MetainfoValues(const QString& element, const QString& attribute = {}) {
    QStringList values;
    QXmlStreamReader xml(ReadText(kMetainfo));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != element) continue;
        values << (attribute.isEmpty() ? xml.readElementText()
                                       : xml.attributes().value(attribute).toString());
    }
    return values;
}

TEST(AppStream, NamesTheDesktopEntryAndTheFileTypeThatShip) {
    const QStringList launchables = MetainfoValues(QStringLiteral("launchable"));
    ASSERT_EQ(launchables, QStringList{QStringLiteral("ohmlet.desktop")});
    const QString entry =
        ReadText(kSource + QStringLiteral("/resources/desktop/") + launchables[0] + ".in");
    const QString mime = ReadText(kSource + QStringLiteral("/resources/desktop/ohmlet-dzl.xml"));
    const QStringList types = MetainfoValues(QStringLiteral("mediatype"));
    ASSERT_FALSE(types.isEmpty());
    for (const QString& type : types) {
        SCOPED_TRACE(type.toStdString());
        EXPECT_TRUE(entry.contains(QStringLiteral("MimeType=") + type + ';'));
        EXPECT_TRUE(mime.contains(QStringLiteral("type=\"") + type + '"'));
    }
    // A summary for each language the desktop entries speak.
    const QStringList languages =
        MetainfoValues(QStringLiteral("summary"), QStringLiteral("xml:lang"));
    EXPECT_EQ(languages, (QStringList{QString(), QStringLiteral("zh-CN")}));
    // Software centres show what a link leads to: none may lead to a placeholder host.
    for (const QString& path : {kMetainfo, kSource + QStringLiteral("/debian/control")}) {
        const QString text = ReadText(path);
        static const QRegularExpression placeholder(QStringLiteral("https?://[^ <\"]*example\\."));
        EXPECT_FALSE(placeholder.match(text).hasMatch()) << path.toStdString();
    }
}

// The value of `key=` in a desktop entry.
QString EntryValue(const QString& entry, const QString& key) {
    for (const QString& line : entry.split(QLatin1Char('\n')))
        if (line.startsWith(key + QLatin1Char('='))) return line.mid(key.size() + 1);
    return {};
}

// The program's name in its English translation: the translation of the window's title.
QString TranslatedName(const QString& tsFile, const QString& source) {
    QXmlStreamReader xml(ReadText(tsFile));
    bool found = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("source"))
            found = xml.readElementText(QXmlStreamReader::IncludeChildElements) == source;
        else if (found && xml.name() == QLatin1String("translation"))
            return xml.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    return {};
}

QString Guide(const char* name) {
    return ReadText(kSource + QStringLiteral("/resources/help/") + QLatin1String(name));
}

// The first group of every match of pattern in text.
QStringList Captures(const QString& text, const QString& pattern) {
    QStringList found;
    const QRegularExpression re(pattern, QRegularExpression::DotMatchesEverythingOption);
    for (auto it = re.globalMatch(text); it.hasNext();) found << it.next().captured(1);
    return found;
}

QString GuideTitle(const QString& guide) {
    return Captures(guide, QStringLiteral("<title>(.*?)</title>")).value(0);
}

TEST(ProductName, IsOneNameInEveryPlaceInEachLanguage) {
    const QString chinese = QStringLiteral("混凝土电阻率测试仪数据分析软件");
    const QString english =
        TranslatedName(kSource + QStringLiteral("/translations/ohmlet_en.ts"), chinese);
    ASSERT_FALSE(english.isEmpty());
    const QString entry =
        ReadText(kSource + QStringLiteral("/resources/desktop/ohmlet.desktop.in"));
    const QStringList names = MetainfoValues(QStringLiteral("name"));
    const QStringList nameLanguages =
        MetainfoValues(QStringLiteral("name"), QStringLiteral("xml:lang"));
    ASSERT_EQ(nameLanguages, (QStringList{QString(), QStringLiteral("zh-CN")}));
    struct Place {
        const char* what;
        QString text;
        QString expected;
    } places[] = {
        {"desktop Name", EntryValue(entry, QStringLiteral("Name")), english},
        {"desktop Name[zh_CN]", EntryValue(entry, QStringLiteral("Name[zh_CN]")), chinese},
        {"AppStream name", names.value(0), english},
        {"AppStream name zh-CN", names.value(1), chinese},
        {"Kiosa's English tooltip",
         TranslatedName(kSource + QStringLiteral("/translations/kiosa_en.ts"), chinese), english},
        {"Chinese guide", GuideTitle(Guide("Ohmlet.html")), chinese + QStringLiteral(" 使用说明")},
        {"English guide", GuideTitle(Guide("Ohmlet_en.html")),
         english + QStringLiteral(" user guide")},
    };
    for (const auto& place : places) {
        SCOPED_TRACE(place.what);
        EXPECT_EQ(place.text, place.expected);
    }
}

// A reader of either guide finds the same sections, keys and commands: a key or command
// added to one guide and forgotten in the other fails here.
TEST(UserGuides, TellTheSameInBothLanguages) {
    const QString chinese = Guide("Ohmlet.html");
    const QString english = Guide("Ohmlet_en.html");
    ASSERT_FALSE(chinese.isEmpty());
    ASSERT_FALSE(english.isEmpty());
    struct Part {
        const char* what;
        QString pattern;
        bool asSet;  // mentions may come in another order and number
    } parts[] = {
        {"sections", QStringLiteral("<h2>(\\d+)\\."), false},
        {"keys", QStringLiteral("<kbd>(.*?)</kbd>"), true},
        {"commands", QStringLiteral("<code>(.*?)</code>"), true},
        {"key table", QStringLiteral("<tr><td><kbd>(.*?)</kbd></td>"), false},
    };
    for (const Part& part : parts) {
        SCOPED_TRACE(part.what);
        const QStringList inChinese = Captures(chinese, part.pattern);
        const QStringList inEnglish = Captures(english, part.pattern);
        EXPECT_FALSE(inChinese.isEmpty());
        if (part.asSet)
            EXPECT_EQ(QSet<QString>(inChinese.begin(), inChinese.end()),
                      QSet<QString>(inEnglish.begin(), inEnglish.end()))
                << inChinese.join(QLatin1Char('|')).toStdString() << "\n"
                << inEnglish.join(QLatin1Char('|')).toStdString();
        else
            EXPECT_EQ(inChinese, inEnglish);
    }
    EXPECT_TRUE(chinese.contains(QStringLiteral("<html lang=\"zh-CN\">")));
    EXPECT_TRUE(english.contains(QStringLiteral("<html lang=\"en\">")));
}

}  // namespace
