// Attacks on the one writer every saved file goes through, and on the reader's checks.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <functional>

#include "data/FileBytes.h"
#include "data/SafeFile.h"
#include "support/TestSupport.h"

namespace ohmlet {
namespace {

namespace fs = std::filesystem;
using test::ReadAll;
using test::TempDir;
using test::WriteAll;

const std::vector<unsigned char> kOld = {'o', 'l', 'd'};
const std::vector<unsigned char> kNew = {'n', 'e', 'w', '!', '\n'};

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st.st_mode;
}

std::vector<std::string> Entries(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path())) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// Each case prepares the folder around "target", saves kNew there and checks the outcome.
struct WriteCase {
    const char* name;
    std::function<void(const TempDir&)> prepare;
    bool saves;
    const char* messagePart;  // in the message when the save is refused
    std::function<void(const TempDir&)> check;
};

class SafeWriterAttack : public ::testing::TestWithParam<WriteCase> {};

TEST_P(SafeWriterAttack, KeepsTheUsersFiles) {
    const WriteCase& c = GetParam();
    TempDir dir;
    c.prepare(dir);
    SafeWriteResult r = WriteFileSafely(dir.File("target"), kNew);
    EXPECT_EQ(r.Ok(), c.saves) << r.text;
    if (!c.saves) {
        EXPECT_NE(r.text.find(c.messagePart), std::string::npos) << r.text;
        EXPECT_NE(r.text.find(dir.File("target")), std::string::npos) << r.text;
    }
    c.check(dir);
    for (const std::string& name : Entries(dir))
        EXPECT_EQ(name.find(".saving-"), std::string::npos) << "left behind: " << name;
}

void PlantLinks(const TempDir& dir, const std::string& prefix, int count) {
    WriteAll(dir.File("private"), kOld);
    for (int i = 0; i < count; ++i)
        fs::create_symlink(dir.File("private"), dir.File(prefix + std::to_string(i)));
}

const WriteCase kWriteCases[] = {
    {"NewFileGetsUmaskMode", [](const TempDir&) {}, true, "",
     [](const TempDir& d) {
         EXPECT_EQ(ReadAll(d.File("target")), kNew);
         mode_t mask = ::umask(022);
         ::umask(mask);
         EXPECT_EQ(ModeOf(d.File("target")) & 07777, 0666 & ~mask);
     }},
    {"PrivateTargetStaysPrivate",
     [](const TempDir& d) {
         WriteAll(d.File("target"), kOld);
         ::chmod(d.File("target").c_str(), 0600);
     },
     true, "",
     [](const TempDir& d) {
         EXPECT_EQ(ReadAll(d.File("target")), kNew);
         EXPECT_EQ(ModeOf(d.File("target")) & 07777, 0600u);
     }},
    {"GroupWritableTargetKeepsItsMode",
     [](const TempDir& d) {
         WriteAll(d.File("target"), kOld);
         ::chmod(d.File("target").c_str(), 0664);
     },
     true, "", [](const TempDir& d) { EXPECT_EQ(ModeOf(d.File("target")) & 07777, 0664u); }},
    {"SymlinkedTargetSavesThroughTheLink",
     [](const TempDir& d) {
         fs::create_directory(d.File("real"));
         WriteAll(d.File("real/data"), kOld);
         fs::create_symlink("real/data", d.File("target"));
     },
     true, "",
     [](const TempDir& d) {
         EXPECT_TRUE(S_ISLNK(ModeOf(d.File("target"))));
         EXPECT_EQ(ReadAll(d.File("real/data")), kNew);
     }},
    {"DanglingLinkCreatesItsTarget",
     [](const TempDir& d) { fs::create_symlink("made", d.File("target")); }, true, "",
     [](const TempDir& d) {
         EXPECT_TRUE(S_ISLNK(ModeOf(d.File("target"))));
         EXPECT_EQ(ReadAll(d.File("made")), kNew);
     }},
    {"LinksPlantedAtGuessableTemporaryNames",
     [](const TempDir& d) {
         WriteAll(d.File("target"), kOld);
         PlantLinks(d, "target.tmp", 2000);
     },
     true, "",
     [](const TempDir& d) {
         EXPECT_EQ(ReadAll(d.File("private")), kOld);
         EXPECT_TRUE(S_ISREG(ModeOf(d.File("target"))));
         EXPECT_EQ(ReadAll(d.File("target")), kNew);
     }},
    {"LinksPlantedAtLeftoverNamesAreNotFollowed",
     [](const TempDir& d) {
         WriteAll(d.File("target"), kOld);
         WriteAll(d.File("private"), kOld);
         fs::create_symlink(d.File("private"), d.File(".target.saving-AAAAAA"));
     },
     true, "",
     [](const TempDir& d) {
         EXPECT_EQ(ReadAll(d.File("private")), kOld);
         EXPECT_TRUE(fs::is_symlink(d.File(".target.saving-AAAAAA")));
         fs::remove(d.File(".target.saving-AAAAAA"));
     }},
    {"LeftoverOfAKilledSaveIsRemoved",
     [](const TempDir& d) {
         WriteAll(d.File("target"), kOld);
         WriteAll(d.File(".target.saving-x1y2z3"), std::vector<unsigned char>(1000, 'x'));
         WriteAll(d.File(".other.saving-x1y2z3"), kOld);
     },
     true, "",
     [](const TempDir& d) {
         EXPECT_FALSE(fs::exists(d.File(".target.saving-x1y2z3")));
         EXPECT_TRUE(fs::exists(d.File(".other.saving-x1y2z3")));  // another file's
         fs::remove(d.File(".other.saving-x1y2z3"));
     }},
    {"FolderIsRefused", [](const TempDir& d) { fs::create_directory(d.File("target")); }, false,
     "folder", [](const TempDir& d) { EXPECT_TRUE(fs::is_directory(d.File("target"))); }},
    {"FifoIsNeverReplaced", [](const TempDir& d) { ::mkfifo(d.File("target").c_str(), 0600); },
     false, "not a regular file",
     [](const TempDir& d) { EXPECT_TRUE(S_ISFIFO(ModeOf(d.File("target")))); }},
    {"LinkToADeviceIsRefused",
     [](const TempDir& d) { fs::create_symlink("/dev/null", d.File("target")); }, false,
     "not a regular file", [](const TempDir&) { EXPECT_TRUE(S_ISCHR(ModeOf("/dev/null"))); }},
};

INSTANTIATE_TEST_SUITE_P(Attacks, SafeWriterAttack, ::testing::ValuesIn(kWriteCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SafeWriter, MissingFolderNamesTheCause) {
    TempDir dir;
    SafeWriteResult r = WriteFileSafely(dir.File("no/such/target"), kNew);
    EXPECT_FALSE(r.Ok());
    EXPECT_NE(r.text.find("No such file or directory"), std::string::npos) << r.text;
}

int failingClose(int fd) {
    ::close(fd);
    errno = EIO;
    return -1;
}

TEST(SafeWriter, FailedCloseIsAFailedSave) {
    TempDir dir;
    WriteAll(dir.File("target"), kOld);
    SetSafeFileCloseForTesting(&failingClose);
    SafeWriteResult r = WriteFileSafely(dir.File("target"), kNew);
    SetSafeFileCloseForTesting(nullptr);
    EXPECT_FALSE(r.Ok());
    EXPECT_EQ(r.error, EIO);
    EXPECT_NE(r.text.find(std::strerror(EIO)), std::string::npos) << r.text;
    EXPECT_EQ(ReadAll(dir.File("target")), kOld);
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"target"});
}

TEST(SafeWriter, RunningSaveKeepsItsTemporaryFile) {
    TempDir dir;
    SafeFileWriter first(dir.File("target"));
    ASSERT_TRUE(first.Open().Ok());
    ASSERT_TRUE(first.Write(kOld.data(), kOld.size()).Ok());
    // A second save of the same file must not take the first one's file for a leftover.
    EXPECT_TRUE(WriteFileSafely(dir.File("target"), kNew).Ok());
    EXPECT_TRUE(fs::exists(first.TempPath()));
    EXPECT_TRUE(first.Commit().Ok());
    EXPECT_EQ(ReadAll(dir.File("target")), kOld);
}

// Runs `body` in a child process and returns its exit code.
int InChild(const std::function<int()>& body) {
    pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

TEST(SafeWriter, FileSizeLimitIsAMessageNotADeath) {
    TempDir dir;
    WriteAll(dir.File("target"), kOld);
    const std::string target = dir.File("target");
    int code = InChild([&] {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        SafeWriteResult r = WriteFileSafely(target, std::vector<unsigned char>(100000, 'x'));
        if (r.Ok()) return 1;
        return r.text.find(std::strerror(EFBIG)) != std::string::npos ? 0 : 2;
    });
    EXPECT_EQ(code, 0) << "1: saved past the limit, 2: wrong cause, >100: killed by a signal";
    EXPECT_EQ(ReadAll(target), kOld);
}

TEST(SafeWriter, ReadOnlyTargetIsRefusedForAnOrdinaryUser) {
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() == 0 && !nobody) GTEST_SKIP() << "no unprivileged user to run as";
    TempDir dir;
    ::chmod(dir.path().c_str(), 0777);  // the folder is writable: only the file is not
    const std::string target = dir.File("target");
    WriteAll(target, kOld);
    ::chmod(target.c_str(), 0444);
    if (nobody) {
        ASSERT_EQ(::chown(target.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    }
    int code = InChild([&] {
        if (::geteuid() == 0 && (::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0))
            return 3;
        SafeWriteResult r = WriteFileSafely(target, kNew);
        if (r.Ok()) return 1;
        return r.text.find("read-only") != std::string::npos ? 0 : 2;
    });
    if (code == 3) GTEST_SKIP() << "cannot drop privileges here";
    EXPECT_EQ(code, 0) << "1: replaced a read-only file, 2: message does not say read-only";
    EXPECT_EQ(ReadAll(target), kOld);
}

struct ReadCase {
    const char* name;
    std::function<std::string(const TempDir&)> make;  // returns the path to read
    FileBytes::Status status;
    std::size_t limit;
};

class FileBytesCase : public ::testing::TestWithParam<ReadCase> {};

TEST_P(FileBytesCase, RefusesWhatIsNotARegularFile) {
    const ReadCase& c = GetParam();
    TempDir dir;
    std::string path = c.make(dir);
    FileBytes bytes;
    std::string reason;
    EXPECT_EQ(bytes.Open(path, reason, c.limit), c.status) << reason;
    if (c.status == FileBytes::Status::Ok) {
        EXPECT_EQ(std::vector<unsigned char>(bytes.data(), bytes.data() + bytes.size()),
                  ReadAll(path));
    } else {
        EXPECT_FALSE(reason.empty());
    }
}

const ReadCase kReadCases[] = {
    {"RegularFile",
     [](const TempDir& d) {
         WriteAll(d.File("f"), kNew);
         return d.File("f");
     },
     FileBytes::Status::Ok, 1000},
    {"EmptyFile",
     [](const TempDir& d) {
         WriteAll(d.File("f"), {});
         return d.File("f");
     },
     FileBytes::Status::Ok, 1000},
    {"Folder", [](const TempDir& d) { return d.path().string(); }, FileBytes::Status::NotRegular,
     1000},
    {"FifoDoesNotHang",
     [](const TempDir& d) {
         ::mkfifo(d.File("p").c_str(), 0600);
         return d.File("p");
     },
     FileBytes::Status::NotRegular, 1000},
    {"EndlessDevice", [](const TempDir&) { return std::string("/dev/zero"); },
     FileBytes::Status::NotRegular, 1000},
    {"OverTheLimit",
     [](const TempDir& d) {
         WriteAll(d.File("f"), std::vector<unsigned char>(1001, 'a'));
         return d.File("f");
     },
     FileBytes::Status::TooLarge, 1000},
    {"Missing", [](const TempDir& d) { return d.File("none"); }, FileBytes::Status::CannotOpen,
     1000},
};

INSTANTIATE_TEST_SUITE_P(Inputs, FileBytesCase, ::testing::ValuesIn(kReadCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ohmlet
