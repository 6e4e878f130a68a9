// The grid and conditions commands and how the reading commands show a file's extras.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "CliRun.h"
#include "support/TestSupport.h"

namespace ohmlet {
namespace {

using test::CliRun;
using test::Q;
using test::RunCli;

const QString kExample = QStringLiteral(OHMLET_EXAMPLE_PATH);

TEST(ExtrasCli, RefusesBadValuesAndUnknownComponents) {
    test::TempDir dir;
    const QString out = Q(dir.File("out.DZL"));
    struct Case {
        QStringList args;
        int exit;
        const char* says;
    } cases[] = {
        {{"grid", kExample, "--component", "0099", "--rows", "2", "--columns", "2", "-o", out},
         2,
         "no component has the number '0099'"},
        {{"grid", kExample, "--component", "0001", "--rows", "0", "--columns", "2", "-o", out},
         2,
         "has 0 rows"},
        {{"grid", kExample, "--component", "0001", "--rows", "2", "--columns", "101", "-o", out},
         2,
         "has 101 columns"},
        {{"grid", kExample, "--component", "0001", "--rows", "2x", "--columns", "2", "-o", out},
         2,
         "whole numbers"},
        {{"grid", kExample, "--component", "0001", "--rows", "2", "--columns", "2", "--spacing",
          "-5,10", "-o", out},
         2,
         "negative"},
        {{"grid", kExample, "--component", "0001", "--rows", "2", "--columns", "2", "--spacing",
          "nan", "-o", out},
         2,
         "--spacing takes"},
        {{"grid", kExample, "--component", "0001", "--rows", "2", "--columns", "2", "--order",
          "zigzag", "-o", out},
         2,
         "--order takes"},
        {{"grid", kExample, "--component", "0001", "--clear", "--rows", "2", "-o", out},
         2,
         "--clear takes no"},
        {{"grid", kExample, "--component", "0001", "--rows", "2", "--columns", "2"}, 2, "usage"},
        {{"conditions", kExample, "--component", "0001", "--probe-spacing", "-1", "-o", out},
         2,
         "--probe-spacing takes"},
        {{"conditions", kExample, "--component", "0001", "--note", QString(2001, 'n'), "-o", out},
         2,
         "at most 2000 bytes"},
        {{"grid", Q(dir.File("none.DZL")), "--component", "0001", "--clear", "-o", out},
         1,
         "none.DZL"},
    };
    for (const Case& k : cases) {
        const CliRun r = RunCli(k.args);
        EXPECT_EQ(r.exitCode, k.exit) << k.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(k.says)) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(out)) << "nothing is written after a refusal";
}

TEST(ExtrasCli, SetExtrasShowInEveryOutputAndSurviveConvert) {
    test::TempDir dir;
    const QString a = Q(dir.File("a.DZL")), b = Q(dir.File("b.DZL")), c = Q(dir.File("c.DZL"));
    ASSERT_EQ(RunCli({"grid", kExample, "--component", "0002", "--rows", "5", "--columns", "4",
                      "--spacing", "100,150", "--order", "serpentine-rows", "--first-corner",
                      "bottom-left", "-o", a})
                  .exitCode,
              0);
    ASSERT_EQ(RunCli({"conditions", a, "--component", "0002", "--temperature", "21.5", "--moisture",
                      QStringLiteral("潮湿"), "-o", b})
                  .exitCode,
              0);
    const QJsonArray list =
        QJsonDocument::fromJson(RunCli({"dump", b}).out)["components"].toArray();
    const QJsonObject extras = list[1].toObject()["extras"].toObject();
    EXPECT_EQ(extras["grid"].toObject(), (QJsonObject{{"rows", 5},
                                                      {"columns", 4},
                                                      {"spacingXmm", 100},
                                                      {"spacingYmm", 150},
                                                      {"order", "serpentine-rows"},
                                                      {"firstCorner", "bottom-left"}}));
    EXPECT_EQ(
        extras["conditions"].toObject(),
        (QJsonObject{{"concreteTemperatureC", 21.5}, {"moistureState", QStringLiteral("潮湿")}}));
    EXPECT_FALSE(list[0].toObject().contains("extras"));

    const QJsonArray stats =
        QJsonDocument::fromJson(RunCli({"stats", "--json", b}).out)["components"].toArray();
    EXPECT_EQ(stats[1].toObject()["conditions"].toObject(), extras["conditions"].toObject());
    EXPECT_TRUE(RunCli({"info", b}).out.contains("grid 5 x 4, 100 x 150 mm, serpentine-rows"));

    ASSERT_EQ(RunCli({"convert", b, "-o", c}).exitCode, 0);
    EXPECT_EQ(test::ReadAll(c.toStdString()), test::ReadAll(b.toStdString()));

    // A damaged trailer: every reading command still works and says why it was ignored.
    std::vector<unsigned char> bytes = test::ReadAll(b.toStdString());
    bytes.back() ^= 1;
    test::WriteAll(c.toStdString(), bytes);
    for (const char* command : {"dump", "info", "stats"}) {
        const CliRun r = RunCli({command, c});
        EXPECT_EQ(r.exitCode, 0) << command;
        EXPECT_TRUE(r.err.contains("warning: ") && r.err.contains("checksum mismatch"))
            << command << ": " << r.err.toStdString();
    }
}

}  // namespace
}  // namespace ohmlet
