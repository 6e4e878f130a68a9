// The safe writer and reader on Windows: wide names for UTF-8 paths, the old file kept on
// every failure, no temporary files left behind, a running save left alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "data/FileBytes.h"
#include "data/SafeFile.h"

namespace ohmlet {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

const Bytes kOld = {'o', 'l', 'd', 0, 1};
const Bytes kNew = {'n', 'e', 'w', 0xFF, 0, 7, 9};

class Folder {
public:
    Folder() {
        path_ =
            fs::temp_directory_path() / ("ohmlet-safe-" + std::to_string(std::random_device{}()));
        fs::create_directories(path_);
    }
    ~Folder() {
        std::error_code ec;
        for (const auto& entry : fs::recursive_directory_iterator(path_, ec))
            fs::permissions(entry.path(), fs::perms::owner_all, ec);
        fs::remove_all(path_, ec);
    }
    // UTF-8, as the program passes paths around.
    std::string File(const std::string& name) const {
        return (path_ / fs::u8path(name)).u8string();
    }
    std::vector<std::string> Entries(const std::string& sub = "") const {
        std::vector<std::string> names;
        for (const auto& entry :
             fs::directory_iterator(sub.empty() ? path_ : path_ / fs::u8path(sub)))
            names.push_back(entry.path().filename().u8string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    fs::path path_;
};

Bytes ReadAll(const std::string& path) {
    std::ifstream in(fs::u8path(path), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const Bytes& bytes) {
    fs::create_directories(fs::u8path(path).parent_path());
    std::ofstream out(fs::u8path(path), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

struct WriteCase {
    const char* name;
    const char* folder;  // relative to the test folder, made first
    const char* file;
    bool existing;  // a previous version is there to be replaced
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class SafeWriteWindows : public ::testing::TestWithParam<WriteCase> {};

TEST_P(SafeWriteWindows, WritesTheBytesAndLeavesOnlyTheTarget) {
    const WriteCase& c = GetParam();
    Folder dir;
    fs::create_directories(fs::u8path(dir.File(c.folder)));
    const std::string target = dir.File(std::string(c.folder) + "/" + c.file);
    if (c.existing) WriteAll(target, kOld);

    SafeWriteResult r = WriteFileSafely(target, kNew);
    ASSERT_TRUE(r.Ok()) << r.text;
    EXPECT_EQ(ReadAll(target), kNew);
    EXPECT_EQ(dir.Entries(c.folder), std::vector<std::string>{c.file});

    FileBytes bytes;
    std::string reason;
    ASSERT_EQ(bytes.Open(target, reason), FileBytes::Status::Ok) << reason;
    EXPECT_EQ(Bytes(bytes.data(), bytes.data() + bytes.size()), kNew);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, SafeWriteWindows,
    ::testing::Values(WriteCase{"NewAsciiFile", "plain", "DZLDat.DZL", false},
                      WriteCase{"ReplacedAsciiFile", "plain", "DZLDat.DZL", true},
                      WriteCase{"ChineseFolderAndName", "测量数据", "桥墩一号.DZL", false},
                      WriteCase{"ReplacedChineseFile", "测量数据", "桥墩一号.DZL", true}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase {
    const char* name;
    std::function<std::string(const Folder&)> prepare;  // returns the target
    int error;
    const char* words;  // in the message, after the file name
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

class SafeWriteRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(SafeWriteRefusal, KeepsWhatIsThereAndSaysWhy) {
    const RefusalCase& c = GetParam();
    Folder dir;
    const std::string target = c.prepare(dir);
    const std::vector<std::string> before = dir.Entries();
    SafeWriteResult r = WriteFileSafely(target, kNew);
    EXPECT_FALSE(r.Ok());
    EXPECT_EQ(r.error, c.error);
    EXPECT_EQ(r.text.rfind("Cannot write " + target + ": ", 0), 0u) << r.text;
    EXPECT_NE(r.text.find(c.words), std::string::npos) << r.text;
    EXPECT_EQ(dir.Entries(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, SafeWriteRefusal,
    ::testing::Values(RefusalCase{"Folder",
                                  [](const Folder& d) {
                                      fs::create_directories(fs::u8path(d.File("数据")));
                                      return d.File("数据");
                                  },
                                  EISDIR, "it is a folder"},
                      RefusalCase{"ReadOnlyFile",
                                  [](const Folder& d) {
                                      WriteAll(d.File("t.DZL"), kOld);
                                      fs::permissions(fs::u8path(d.File("t.DZL")),
                                                      fs::perms::owner_write,
                                                      fs::perm_options::remove);
                                      return d.File("t.DZL");
                                  },
                                  EACCES, "it is read-only"},
                      RefusalCase{"MissingFolder",
                                  [](const Folder& d) { return d.File("没有/t.DZL"); }, ENOENT, ""},
                      RefusalCase{"NoName", [](const Folder&) { return std::string(); }, ENOENT,
                                  "no file name"}),
    [](const auto& info) { return std::string(info.param.name); });

int FailingClose(int) {
    errno = EIO;
    return -1;
}

TEST(SafeWriteWindowsSteps, FailedCloseKeepsTheOldFile) {
    Folder dir;
    WriteAll(dir.File("t.DZL"), kOld);
    SetSafeFileCloseForTesting(&FailingClose);
    SafeWriteResult r = WriteFileSafely(dir.File("t.DZL"), kNew);
    SetSafeFileCloseForTesting(nullptr);
    EXPECT_FALSE(r.Ok());
    EXPECT_EQ(r.error, EIO);
    EXPECT_EQ(ReadAll(dir.File("t.DZL")), kOld);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"t.DZL"});
}

TEST(SafeWriteWindowsSteps, LeftoversGoButARunningSaveKeepsItsFile) {
    Folder dir;
    const std::string target = dir.File("t.DZL");
    WriteAll(SafeTempPrefix(target) + "123456", kOld);  // from a save that was killed
    SafeFileWriter running(target);
    ASSERT_TRUE(running.Open().Ok());
    ASSERT_TRUE(running.Write(kOld.data(), kOld.size()).Ok());

    SafeWriteResult r = WriteFileSafely(target, kNew);
    ASSERT_TRUE(r.Ok()) << r.text;
    EXPECT_FALSE(fs::exists(fs::u8path(SafeTempPrefix(target) + "123456")));
    EXPECT_TRUE(fs::exists(fs::u8path(running.TempPath())));
    EXPECT_EQ(dir.Entries().size(), 2u);

    ASSERT_TRUE(running.Commit().Ok());
    EXPECT_EQ(ReadAll(target), kOld);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"t.DZL"});
}

TEST(SafeWriteWindowsSteps, AbandonedWriterLeavesTheOldFile) {
    Folder dir;
    WriteAll(dir.File("t.DZL"), kOld);
    {
        SafeFileWriter writer(dir.File("t.DZL"));
        ASSERT_TRUE(writer.Open().Ok());
        ASSERT_TRUE(writer.Write(kNew.data(), kNew.size()).Ok());
    }
    EXPECT_EQ(ReadAll(dir.File("t.DZL")), kOld);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"t.DZL"});
}

struct ReadCase {
    const char* name;
    std::function<std::string(const Folder&)> prepare;
    std::size_t maxBytes;
    FileBytes::Status status;
    const char* reason;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class FileBytesWindows : public ::testing::TestWithParam<ReadCase> {};

TEST_P(FileBytesWindows, RefusesWhatCannotBeRead) {
    const ReadCase& c = GetParam();
    Folder dir;
    FileBytes bytes;
    std::string reason;
    EXPECT_EQ(bytes.Open(c.prepare(dir), reason, c.maxBytes), c.status);
    EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
    EXPECT_EQ(bytes.size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Files, FileBytesWindows,
    ::testing::Values(ReadCase{"Missing", [](const Folder& d) { return d.File("无.DZL"); }, 100,
                               FileBytes::Status::CannotOpen, ""},
                      ReadCase{"Folder",
                               [](const Folder& d) {
                                   fs::create_directories(fs::u8path(d.File("文件夹")));
                                   return d.File("文件夹");
                               },
                               100, FileBytes::Status::NotRegular, "it is a folder"},
                      ReadCase{"TooLarge",
                               [](const Folder& d) {
                                   WriteAll(d.File("大.DZL"), kNew);
                                   return d.File("大.DZL");
                               },
                               kNew.size() - 1, FileBytes::Status::TooLarge,
                               "larger than 6 bytes"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ohmlet
