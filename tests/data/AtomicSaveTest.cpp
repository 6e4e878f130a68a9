// A save killed at any moment leaves the old file or the new one, whole.
#include <gtest/gtest.h>

#include <QProcess>
#include <QThread>
#include <random>

#include "support/TestSupport.h"

namespace ohmlet {
namespace {

std::vector<unsigned char> Image(int points, int value) {
    Component c;
    c.SetNumber("0001");
    c.ResizePoints(points);
    for (auto& p : c.points) p.value = value;
    return SerializeDzl({c, c, c});
}

TEST(AtomicSave, KilledSaveLeavesAWholeFile) {
    const std::vector<unsigned char> first = Image(50000, 1);
    const std::vector<unsigned char> second = Image(70000, 2);
    test::TempDir dir;
    std::string path = dir.File("target.DZL");
    std::mt19937 random(7);
    int sawFirst = 0, sawSecond = 0;
    for (int round = 0; round < 25; ++round) {
        QProcess saver;
        saver.start(QStringLiteral(OHMLET_SAVE_LOOP_PATH), {QString::fromStdString(path)});
        ASSERT_TRUE(saver.waitForReadyRead(20000)) << "the saver never got going";
        QThread::msleep(random() % 40);
        saver.kill();
        saver.waitForFinished();
        std::vector<unsigned char> now = test::ReadAll(path);
        bool whole = now == first || now == second;
        ASSERT_TRUE(whole) << "round " << round << ": " << now.size() << " bytes";
        (now == first ? sawFirst : sawSecond)++;
    }
    RecordProperty("old", sawFirst);
    RecordProperty("new", sawSecond);
    // Each kill may leave a temporary file; every save removes those before it.
    std::vector<std::string> others;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        if (entry.path().filename() != "target.DZL") others.push_back(entry.path().filename());
    EXPECT_LE(others.size(), 1u);
    for (const std::string& name : others)
        EXPECT_EQ(name.rfind(".target.DZL.saving-", 0), 0u) << name;
}

}  // namespace
}  // namespace ohmlet
