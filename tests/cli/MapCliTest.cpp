// ohmlet-cli map: writes a PNG or PDF of a component's grid and refuses what it cannot draw.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>

#include "CliRun.h"
#include "support/TestSupport.h"

namespace ohmlet {
namespace {

using test::RunCli;

TEST(MapCli, WritesThePictureOrRefusesClearly) {
    const test::TempDir dir;
    const QString example = QStringLiteral(OHMLET_EXAMPLE_PATH);
    const QString out = QString::fromStdString(dir.File("map"));
    const QStringList grid = {"--rows", "4", "--columns", "5", "--order", "serpentine-rows"};
    struct Case {
        const char* what;
        QStringList args;
        const char* output;  // the file asked for
        int exit;
        const char* said;  // in stderr; for a written PDF, in its text
    } cases[] = {
        {"cells as PNG", QStringList{"0001"} + grid, "a.png", 0, ""},
        {"smooth as PDF with a table",
         QStringList{"0001", "--smooth", "--table", "langford"} + grid, "b.PDF", 0,
         "电阻率分布图（插值）"},
        {"no grid in the file", {"0001"}, "c.png", 2, "has no survey grid"},
        {"unknown component", QStringList{"9999"} + grid, "d.png", 2, "no component 9999"},
        {"not a picture", QStringList{"0001"} + grid, "e.jpg", 2, "only .png and .pdf"},
        {"a side too long", {"0001", "--rows", "101", "--columns", "2"}, "f.png", 2, "1 to 100"},
        {"an unknown order", QStringList{"0001", "--order", "spiral"} + grid.mid(0, 4), "g.png", 2,
         "not 'spiral'"},
        {"order without a grid", {"0001", "--order", "rows"}, "h.png", 2, "need --rows"},
        {"an unknown table", QStringList{"0001", "--table", "mine"} + grid, "i.png", 2,
         "not 'mine'"},
    };
    for (const Case& c : cases) {
        const QString path = out + QLatin1String(c.output);
        QStringList args = {"map", example, "--component"};
        args << c.args << "-o" << path;
        const test::CliRun run = RunCli(args);
        EXPECT_EQ(run.exitCode, c.exit) << c.what << ": " << run.err.toStdString();
        EXPECT_EQ(QFile::exists(path), c.exit == 0) << c.what;
        if (c.exit != 0) {
            EXPECT_TRUE(run.err.contains(c.said)) << c.what << ": " << run.err.toStdString();
        } else if (path.endsWith(QLatin1String(".png"))) {
            const QImage image(path);
            EXPECT_FALSE(image.isNull()) << c.what;
        } else {
            QProcess text;
            text.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
            ASSERT_TRUE(text.waitForFinished(30000)) << c.what;
            const QString said = QString::fromUtf8(text.readAllStandardOutput());
            EXPECT_TRUE(said.contains(QString::fromUtf8(c.said)))
                << c.what << ": " << said.toStdString();
        }
    }
}

}  // namespace
}  // namespace ohmlet
