// Paths are compared as the files they name.
#include <gtest/gtest.h>

#include "data/FileIdentity.h"
#include "support/TestSupport.h"

namespace ohmlet {
namespace {

namespace fs = std::filesystem;

TEST(FileIdentity, SameFileByAnySpelling) {
    test::TempDir dir;
    const std::string d = dir.path().string();
    test::WriteAll(d + "/a.DZL", {1});
    test::WriteAll(d + "/b.DZL", {1});
    fs::create_directory(d + "/sub");
    fs::create_symlink(d + "/a.DZL", d + "/link.DZL");
    fs::create_symlink(d + "/sub", d + "/sublink");
    const fs::path before = fs::current_path();
    fs::current_path(d);
    struct Case {
        std::string a, b;
        bool same;
    } cases[] = {
        {"a.DZL", d + "/a.DZL", true},
        {"./a.DZL", d + "/a.DZL", true},
        {d + "//a.DZL", d + "/a.DZL", true},
        {"sub/../a.DZL", "a.DZL", true},
        {"link.DZL", "a.DZL", true},
        {"a.DZL", "b.DZL", false},
        // Not there yet: compared by where they would be.
        {"new.DZL", d + "/./new.DZL", true},
        {"sublink/new.DZL", d + "/sub/new.DZL", true},
        {"new.DZL", "other.DZL", false},
        {"a.DZL", "", false},
        {"", "", false},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(SameFile(k.a, k.b), k.same) << k.a << " vs " << k.b;
        EXPECT_EQ(SameFile(k.b, k.a), k.same) << k.b << " vs " << k.a;
    }
    EXPECT_EQ(AbsolutePath("./sub/../a.DZL"), d + "/a.DZL");
    EXPECT_EQ(AbsolutePath(d + "//sub/"), d + "/sub");
    fs::current_path(before);
}

}  // namespace
}  // namespace ohmlet
