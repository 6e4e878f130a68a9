#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include "launcher/ProgramStarter.h"

using namespace kiosa;

namespace {

#ifdef Q_OS_WIN
const QString kSuffix = QStringLiteral(".exe");
#else
const QString kSuffix;
#endif

// Keeps the current directory of the test process as it was.
class CurrentDirectoryGuard {
public:
    CurrentDirectoryGuard() : saved_(QDir::currentPath()) {}
    ~CurrentDirectoryGuard() { QDir::setCurrent(saved_); }

private:
    QString saved_;
};

}  // namespace

TEST(ProgramStarterTest, ProgramsResolveAgainstTheLauncherFolderNotTheCurrentOne) {
    QTemporaryDir launcherFolder;
    QTemporaryDir elsewhere;
    ASSERT_TRUE(launcherFolder.isValid() && elsewhere.isValid());
    CurrentDirectoryGuard guard;
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));

    struct Case {
        LaunchedProgram program;
        QString relative;
    };
    const Case cases[] = {
        {LaunchedProgram::Ohmlet, QStringLiteral("gangjin/Ohmlet") + kSuffix},
        {LaunchedProgram::Ferrolog, QStringLiteral("xiushi/Ferrolog") + kSuffix},
    };
    for (const Case& c : cases) {
        QStringList started;
        ProgramStarter starter(launcherFolder.path(),
                               [&](const QString& program, const QStringList&) {
                                   started << program;
                                   return true;
                               });
        EXPECT_TRUE(starter.Start(c.program));
        ASSERT_EQ(started.size(), 1);
        EXPECT_EQ(started.first(), launcherFolder.path() + QLatin1Char('/') + c.relative);
        EXPECT_TRUE(QDir::isAbsolutePath(started.first()));
        EXPECT_FALSE(started.first().startsWith(elsewhere.path()));
    }
}

TEST(ProgramStarterTest, FolderWithTrailingSeparatorOrDotsGivesACleanPath) {
    QStringList started;
    ProgramStarter starter(QStringLiteral("/opt/velmar/bin/../kiosa/"),
                           [&](const QString& program, const QStringList&) {
                               started << program;
                               return false;
                           });
    EXPECT_FALSE(starter.Start(LaunchedProgram::Ferrolog));
    ASSERT_EQ(started.size(), 1);
    EXPECT_EQ(started.first(), QStringLiteral("/opt/velmar/kiosa/xiushi/Ferrolog") + kSuffix);
}

TEST(ProgramStarterTest, MissingProgramFailsToStartWithoutThrowing) {
    QTemporaryDir emptyFolder;
    ASSERT_TRUE(emptyFolder.isValid());
    // Nothing lives in this folder, so the real start must fail quietly.
    ProgramStarter starter(emptyFolder.path(), &ProgramStarter::StartDetached);
    EXPECT_FALSE(starter.Start(LaunchedProgram::Ohmlet));
}
