// Which file a UTF-8 path names on Windows, where a narrow name would be read in the
// ANSI code page and different Chinese names could collapse into one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "data/FileIdentity.h"

namespace ohmlet {
namespace {

namespace fs = std::filesystem;

TEST(FileIdentityWindows, ChineseNamesAreTheirOwnFiles) {
    const fs::path folder = fs::temp_directory_path() /
                            fs::u8path("ohmlet-identity-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder / fs::u8path("子目录"));
    const std::string d = folder.u8string();
    for (const char* name : {"甲.DZL", "乙.DZL"}) std::ofstream(folder / fs::u8path(name)) << 1;
    struct Case {
        std::string a, b;
        bool same;
    } cases[] = {
        {d + "\\甲.DZL", d + "/甲.DZL", true},
        {d + "\\子目录\\..\\甲.DZL", d + "\\甲.DZL", true},
        {d + "\\甲.DZL", d + "\\乙.DZL", false},
        // Not there yet: compared by where they would be.
        {d + "\\丙.DZL", d + "\\.\\丙.DZL", true},
        {d + "\\丙.DZL", d + "\\丁.DZL", false},
    };
    for (const Case& k : cases) EXPECT_EQ(SameFile(k.a, k.b), k.same) << k.a << " vs " << k.b;
    EXPECT_EQ(AbsolutePath(d + "\\子目录\\..\\甲.DZL"), d + "\\甲.DZL");
    std::error_code ec;
    fs::remove_all(folder, ec);
}

}  // namespace
}  // namespace ohmlet
