// The help command and the guides it opens: the window's language picks the guide, and
// every key a guide names is one the frame answers to.
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include "FrameFixture.h"
#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/UiLanguage.h"

using namespace ohmlet;
using namespace ohmlet::test;

namespace {

class HelpCommandTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        frame->SetFileOpener([this](const QString& path) {
            opened.push_back(path);
            return QFileInfo(path).isFile();
        });
    }
    // The help command as the window in language gives it.
    void HelpIn(UiLanguage language) {
        QCoreApplication& app = *QCoreApplication::instance();
        RemoveTranslators(app);
        InstallTranslators(app, language);
        frame->Action(cmd::kHelp)->trigger();
        RemoveTranslators(app);
        InstallTranslators(app, UiLanguage::Chinese);
        RemoveTranslators(app);
    }
    std::vector<QString> opened;
};

// A folder without the English guide still gives the Chinese one rather than a file
// that is not there; the Chinese window never falls back to English.
TEST_F(HelpCommandTest, OpensTheGuideOfTheWindowsLanguage) {
    const QStringList both = {QStringLiteral("Ohmlet.html"), QStringLiteral("Ohmlet_en.html")};
    struct Case {
        const char* name;
        UiLanguage language;
        QStringList present;  // none: the build tree's program folder
        const char* expected;
        bool found;  // else the window says it cannot open the guide
    } cases[] = {
        {"Chinese, both", UiLanguage::Chinese, both, "Ohmlet.html", true},
        {"English, both", UiLanguage::English, both, "Ohmlet_en.html", true},
        {"English, Chinese only", UiLanguage::English, {"Ohmlet.html"}, "Ohmlet.html", true},
        {"Chinese, English only", UiLanguage::Chinese, {"Ohmlet_en.html"}, "Ohmlet.html", false},
        {"English, build tree", UiLanguage::English, {}, "Ohmlet_en.html", true},
        {"Chinese, build tree", UiLanguage::Chinese, {}, "Ohmlet.html", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        for (const QString& name : c.present) {
            QFile guide(folder.filePath(name));
            ASSERT_TRUE(guide.open(QIODevice::WriteOnly));
        }
        frame->SetProgramFolder(c.present.isEmpty() ? QStringLiteral(OHMLET_PROGRAM_DIR)
                                                    : folder.path());
        opened.clear();
        errors.clear();
        HelpIn(c.language);
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(QFileInfo(opened[0]).fileName(), QString::fromLatin1(c.expected));
        EXPECT_EQ(errors.empty(), c.found) << opened[0].toStdString();
    }
}

// A guide that names a key the frame does not answer to, or leaves one out, misleads.
TEST(HelpGuideTest, NamesExactlyTheFramesKeys) {
    QSet<QKeySequence> program;
    for (const Accelerator& a : Accelerators()) program.insert(a.keys);
    for (const char* name : {"Ohmlet.html", "Ohmlet_en.html"}) {
        SCOPED_TRACE(name);
        QFile file(QStringLiteral(OHMLET_PROGRAM_DIR "/") + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString guide = QString::fromUtf8(file.readAll());
        QSet<QKeySequence> named;
        static const QRegularExpression kbd(QStringLiteral("<kbd>(.*?)</kbd>"));
        for (auto it = kbd.globalMatch(guide); it.hasNext();) {
            const QString text = it.next().captured(1);
            const QKeySequence keys = QKeySequence::fromString(text, QKeySequence::PortableText);
            EXPECT_FALSE(keys.isEmpty()) << text.toStdString();
            EXPECT_TRUE(program.contains(keys)) << "not a key of the frame: " << text.toStdString();
            named.insert(keys);
        }
        for (const QKeySequence& keys : program)
            EXPECT_TRUE(named.contains(keys))
                << "not in the guide: " << keys.toString().toStdString();
    }
}

}  // namespace
