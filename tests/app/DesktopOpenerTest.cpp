// Opening a written file with the desktop's program: a launcher that finds no program
// must be reported, not taken as success.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "app/DesktopOpener.h"

namespace ohmlet {
namespace {

TEST(DesktopOpener, ALauncherThatFindsNoProgramIsAFailure) {
    const struct {
        const char* script;
        bool fails;
    } cases[] = {
        {"exit 0", false},    {"exit 3", true},  // no program for the file type
        {"exit 2", true},                        // no such file
        {"exit 4", true},                        // the program it chose did not start
        {"kill -9 $$", true}, {nullptr, true},   // no launcher on the PATH at all
    };
    const QByteArray oldPath = qgetenv("PATH");
    for (const auto& c : cases) {
        QTemporaryDir bin;
        if (c.script) {
            QFile launcher(bin.filePath(QStringLiteral("xdg-open")));
            ASSERT_TRUE(launcher.open(QIODevice::WriteOnly));
            launcher.write(QByteArray("#!/bin/sh\n") + c.script + "\n");
            launcher.close();
            launcher.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            qputenv("PATH", QFile::encodeName(bin.path()) + ":" + oldPath);
        } else {
            qputenv("PATH", QFile::encodeName(bin.path()));
        }

        QObject context;
        bool failed = false;
        OpenWithDesktop(QStringLiteral("/tmp/some file.xlsx"), &context, [&] { failed = true; });
        // The launcher's end is seen through the event loop; a success calls nothing.
        (void)QTest::qWaitFor([&] { return failed; }, c.fails ? 5000 : 500);
        EXPECT_EQ(failed, c.fails) << (c.script ? c.script : "no launcher");
    }
    qputenv("PATH", oldPath);
}

}  // namespace
}  // namespace ohmlet
