#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "data/ByteOrder.h"
#include "data/DzlFile.h"
#include "support/TestSupport.h"

namespace ohmlet {
namespace {

using test::Bytes;

// One record as another DZL writer lays it out, with garbage after the texts' NULs.
Bytes& AppendRecord(Bytes& b, const std::string& number, unsigned char selected, int32_t pointCount,
                    const std::vector<int32_t>& values) {
    b.Text(number, 5, 0xCC).Text("name", 100, 0xAB).Text("date", 20, 0xEE).Byte(selected);
    b.Int(16).Float(20).Float(-3).Float(5).Int(pointCount).Int(7).Float(1.5f);
    b.Float(90).Float(50).Float(2).Float(0.5f);
    for (int32_t v : values) b.Int(1).Int(v).Int(16);
    return b;
}

TEST(DzlFile, WrittenBytesSitAtTheirOffsets) {
    Component c = test::MakeComponent("0001", {33, 44});
    std::vector<unsigned char> empty = SerializeDzl({});
    EXPECT_EQ(empty, (std::vector<unsigned char>{0, 0, 0, 0}));

    std::vector<unsigned char> one = SerializeDzl({c});
    ASSERT_EQ(one.size(), 198u);
    struct Case {
        std::size_t offset;
        int32_t value;
    } cases[] = {{0, 1}, {4 + 142, 2}, {4 + 170, 0}, {178, 33}, {4 + 170 + 12 + 4, 44}};
    for (const Case& k : cases)
        EXPECT_EQ(LoadLEInt(&one[k.offset]), k.value) << "offset " << k.offset;
    EXPECT_EQ(one[4 + 125], 1) << "selected is one byte";
}

TEST(DzlFile, NewComponentFloatBytes) {
    Document doc;
    doc.InsertComponent();
    std::vector<unsigned char> bytes = SerializeDzl(doc.Components());
    struct Case {
        const char* field;
        std::size_t offset;
        std::vector<unsigned char> expected;
    } cases[] = {
        // The default minimum of 10 up to the overflow limit of 1000: 10, 0, 990.
        {"designValue", 130, {0x00, 0x00, 0x20, 0x41}},
        {"lowerTolerance", 134, {0x00, 0x00, 0x00, 0x00}},
        {"upperTolerance", 138, {0x00, 0x80, 0x77, 0x44}},
        {"passRate", 166, {0x00, 0x00, 0x00, 0x00}},
        {"auxParam", 126, {16, 0, 0, 0}},
    };
    for (const Case& k : cases) {
        std::vector<unsigned char> got(bytes.begin() + 4 + k.offset,
                                       bytes.begin() + 4 + k.offset + 4);
        EXPECT_EQ(got, k.expected) << k.field;
    }
}

TEST(DzlFile, ReadsEveryFieldOfAnotherWritersRecord) {
    Bytes b;
    b.Int(2);
    AppendRecord(b, "W012", 0, 2, {50, 90});
    AppendRecord(b, "P1", 7, 1, {70});
    DzlReadResult r = ParseDzl(b.data.data(), b.data.size(), "x.DZL");
    ASSERT_TRUE(r.Ok()) << r.text;
    ASSERT_EQ(r.components.size(), 2u);
    const Component& a = r.components[0];
    EXPECT_EQ(a.Number(), "W012");
    EXPECT_EQ(a.Name(), "name") << "bytes after the NUL are ignored";
    EXPECT_EQ(a.TestDate(), "date");
    EXPECT_EQ(a.selected, 0);
    EXPECT_EQ(a.auxParam, 16);
    EXPECT_EQ(a.designValue, 20);
    EXPECT_EQ(a.lowerTolerance, -3);
    EXPECT_EQ(a.upperTolerance, 5);
    EXPECT_EQ(a.pointCount, 2);
    EXPECT_EQ(a.blockOffset, 7);
    EXPECT_EQ(a.reservedFloat, 1.5f);
    EXPECT_EQ(a.maxValue, 90);
    EXPECT_EQ(a.minValue, 50);
    EXPECT_EQ(a.passCount, 2);
    EXPECT_EQ(a.passRate, 0.5f);
    ASSERT_EQ(a.points.size(), 2u);
    EXPECT_EQ(a.points[1], (MeasuringPoint{1, 90, 16}));
    EXPECT_EQ(r.components[1].selected, 7) << "any non-zero byte is checked";
    EXPECT_EQ(r.components[1].points[0].value, 70);
}

TEST(DzlFile, WriterZeroesTextAfterNulSoSavesAreRepeatable) {
    Bytes b;
    b.Int(1);
    AppendRecord(b, "0001", 1, 1, {42});
    DzlReadResult r = ParseDzl(b.data.data(), b.data.size(), "x.DZL");
    std::vector<unsigned char> once = SerializeDzl(r.components);
    EXPECT_EQ(once[4 + 5 + 4], 0);
    EXPECT_EQ(once[4 + 5 + 99], 0) << "garbage after the name's NUL is not carried over";
    DzlReadResult again = ParseDzl(once.data(), once.size(), "y.DZL");
    EXPECT_EQ(SerializeDzl(again.components), once);
}

TEST(DzlFile, ShortAndOddFilesFollowTheShortFileRules) {
    Bytes three;
    three.Int(3);
    AppendRecord(three, "0001", 1, 2, {11, 12});
    AppendRecord(three, "0002", 1, 1, {21});
    AppendRecord(three, "0003", 0, 2, {31, 32});
    const std::size_t thirdStart = 4 + (170 + 24) + (170 + 12);

    struct Case {
        const char* what;
        std::vector<unsigned char> bytes;
        std::size_t components;
        std::vector<int32_t> lastValues;  // values of the last component's points
        int32_t lastSelected;
    } cases[] = {
        {"empty file", {}, 0, {}, 1},
        {"three bytes", {5, 0, 0}, 0, {}, 1},
        {"negative count", Bytes().Int(-4).data, 0, {}, 1},
        {"count only", Bytes().Int(2).data, 2, {}, 1},
        {"cut inside the third record's texts",
         std::vector<unsigned char>(three.data.begin(), three.data.begin() + thirdStart + 50),
         3,
         {},
         1},
        {"cut inside the third record's points",
         std::vector<unsigned char>(three.data.begin(), three.data.end() - 14),
         3,
         {31, 0},
         0},
        {"trailing bytes ignored", Bytes(three).Int(99).Int(99).data, 3, {31, 32}, 0},
    };
    for (const Case& k : cases) {
        DzlReadResult r = ParseDzl(k.bytes.data(), k.bytes.size(), "short.DZL");
        ASSERT_TRUE(r.Ok()) << k.what << ": " << r.text;
        ASSERT_EQ(r.components.size(), k.components) << k.what;
        if (k.components == 0) continue;
        const Component& last = r.components.back();
        std::vector<int32_t> values;
        for (const MeasuringPoint& p : last.points) values.push_back(p.value);
        EXPECT_EQ(values, k.lastValues) << k.what;
        EXPECT_EQ(last.selected, k.lastSelected) << k.what;
        EXPECT_EQ(static_cast<std::size_t>(last.pointCount), last.points.size()) << k.what;
    }
}

TEST(DzlFile, UntrustedCountsNeverOutgrowTheBytes) {
    struct Case {
        const char* what;
        std::vector<unsigned char> bytes;
        bool reads;
        std::size_t components;
        std::size_t firstPoints;
    } cases[] = {
        {"huge component count", Bytes().Int(0x7FFFFFFF).data, false, 0, 0},
        {"component count at the instrument's limit", Bytes().Int(65535).data, true, 65535, 0},
        {"negative point count", AppendRecord(Bytes().Int(1), "0001", 1, -5, {}).data, true, 1, 0},
        {"huge point count", AppendRecord(Bytes().Int(1), "0001", 1, 0x40000000, {1, 2}).data,
         false, 0, 0},
        {"point count at the limit, unbacked",
         AppendRecord(Bytes().Int(1), "0001", 1, 65535, {1}).data, true, 1, 65535},
    };
    for (const Case& k : cases) {
        DzlReadResult r = ParseDzl(k.bytes.data(), k.bytes.size(), "bad.DZL");
        EXPECT_EQ(r.Ok(), k.reads) << k.what;
        EXPECT_EQ(r.components.size(), k.components) << k.what;
        if (!k.reads) {
            EXPECT_NE(r.text.find("bad.DZL"), std::string::npos) << k.what << ": " << r.text;
        }
        if (k.reads && k.components > 0) {
            EXPECT_EQ(r.components[0].points.size(), k.firstPoints) << k.what;
        }
    }
}

TEST(DzlFile, SelectedOnlyWritesCheckedComponentsAndCountsThem) {
    Component a = test::MakeComponent("0001", {1});
    Component b = test::MakeComponent("0002", {2, 3});
    Component c = test::MakeComponent("0003", {});
    b.selected = 0;
    std::vector<unsigned char> bytes = SerializeDzl({a, b, c}, DzlSelection::SelectedOnly);
    DzlReadResult r = ParseDzl(bytes.data(), bytes.size(), "sel.DZL");
    ASSERT_EQ(r.components.size(), 2u);
    EXPECT_EQ(r.components[0].Number(), "0001");
    EXPECT_EQ(r.components[1].Number(), "0003");

    a.selected = c.selected = 0;
    EXPECT_EQ(SerializeDzl({a, b, c}, DzlSelection::SelectedOnly),
              (std::vector<unsigned char>{0, 0, 0, 0}));
}

TEST(DzlFile, FailedSaveIsReportedAndLeavesNothingBehind) {
    test::TempDir dir;
    // A folder standing where the file should go cannot be replaced, even by root.
    std::string blocked = dir.File("blocked.DZL");
    std::filesystem::create_directories(blocked + "/inside");
    std::string missingFolder = dir.File("no-such-folder/x.DZL");
    for (const std::string& path : {blocked, missingFolder}) {
        DzlWriteResult r = WriteDzlFile(path, {test::MakeComponent("0001", {5})});
        EXPECT_FALSE(r.Ok()) << path;
        EXPECT_NE(r.text.find(path), std::string::npos) << r.text;
    }
    EXPECT_TRUE(std::filesystem::exists(blocked + "/inside"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
        << "no temporary left";
}

TEST(DzlFile, SaveReplacesTheWholeFile) {
    test::TempDir dir;
    std::string path = dir.File("replace.DZL");
    ASSERT_TRUE(WriteDzlFile(path, {test::MakeComponent("0001", {1, 2, 3, 4, 5, 6})}).Ok());
    ASSERT_TRUE(WriteDzlFile(path, {}).Ok());
    EXPECT_EQ(test::ReadAll(path), (std::vector<unsigned char>{0, 0, 0, 0}));
}

TEST(DzlFile, MissingFileIsReportedWithItsName) {
    DzlReadResult r = ReadDzlFile("/nonexistent/folder/x.DZL");
    EXPECT_EQ(r.code, DzlReadCode::CannotOpen);
    EXPECT_NE(r.text.find("/nonexistent/folder/x.DZL"), std::string::npos);
}

// A file past the size limit, or one holding more bytes than its size says, is refused
// with its name and why.
TEST(DzlFile, FilesTooLargeOrChangingAreRefused) {
    const test::TempDir dir;
    const std::string huge = dir.File("huge.DZL");
    test::WriteAll(huge, {1, 0, 0, 0});
    std::filesystem::resize_file(huge, kDzlMaxFileBytes + 1);  // sparse where it can be
    std::vector<std::pair<std::string, std::string>> cases = {{huge, "it is larger than"}};
#ifdef __linux__
    // Sized 0 bytes, yet it reads as more: as a file that grows while it is read.
    cases.emplace_back("/proc/self/status", "it changed while it was read");
#endif
    for (const auto& [path, reason] : cases) {
        const DzlReadResult r = ReadDzlFile(path);
        EXPECT_EQ(r.code, DzlReadCode::CannotOpen) << path;
        EXPECT_TRUE(r.components.empty()) << path;
        EXPECT_NE(r.text.find(path + ": " + reason), std::string::npos) << r.text;
    }
}

}  // namespace
}  // namespace ohmlet

namespace ohmlet {
namespace {

// Floats from a hostile file reach every int the program shows, saturated.
TEST(DzlFile, HostileFloatsSaturateToInt) {
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float stored;
        int shown;
    } cases[] = {
        {std::numeric_limits<float>::quiet_NaN(), 0},
        {inf, 2147483647},
        {-inf, -2147483647 - 1},
        {1e30f, 2147483647},
        {-1e30f, -2147483647 - 1},
        {3e9f, 2147483647},
        {-20.7f, -20},
        {20.7f, 20},
    };
    for (const Case& k : cases) {
        test::Bytes b;
        b.Int(1).Text("0001", 5).Text("", 100).Text("", 20).Byte(1);
        b.Int(16).Float(k.stored).Float(k.stored).Float(k.stored).Int(0).Int(0).Float(0);
        b.Float(0).Float(0).Float(k.stored).Float(0);
        DzlReadResult r = ParseDzl(b.data.data(), b.data.size(), "t.DZL");
        ASSERT_TRUE(r.Ok()) << r.text;
        ASSERT_EQ(r.components.size(), 1u);
        const Component& c = r.components[0];
        EXPECT_EQ(c.DesignValue(), k.shown) << k.stored;
        EXPECT_EQ(c.LowerTolerance(), k.shown) << k.stored;
        EXPECT_EQ(c.UpperTolerance(), k.shown) << k.stored;
        EXPECT_EQ(SaturateToInt(c.passCount), k.shown) << k.stored;
    }
}

}  // namespace
}  // namespace ohmlet
