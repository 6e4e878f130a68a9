// Attacks on the one writer every saved file goes through, and on the reader's checks.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <functional>
#include <tuple>

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
         WriteAll(d.File(".target.saving-a1b2c3.zipTmp"), kOld);  // a zip library's, once
         WriteAll(d.File(".other.saving-x1y2z3"), kOld);
     },
     true, "",
     [](const TempDir& d) {
         EXPECT_FALSE(fs::exists(d.File(".target.saving-x1y2z3")));
         EXPECT_FALSE(fs::exists(d.File(".target.saving-a1b2c3.zipTmp")));
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

TEST(SafeWriter, HardLinkedTargetIsRewrittenInPlace) {
    for (bool closeFails : {false, true}) {
        TempDir dir;
        WriteAll(dir.File("target"), kOld);
        fs::create_hard_link(dir.File("target"), dir.File("second"));
        SetSafeFileCloseForTesting(closeFails ? &failingClose : nullptr);
        EXPECT_NE(WriteFileSafely(dir.File("target"), kNew).Ok(), closeFails);
        SetSafeFileCloseForTesting(nullptr);
        EXPECT_EQ(ReadAll(dir.File("second")), closeFails ? kOld : kNew);
        EXPECT_EQ(Entries(dir), (std::vector<std::string>{"second", "target"}));
    }
}

// Mode, owner, group, a user attribute and the ACL of a file.
std::string Kept(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    std::string kept = std::to_string(st.st_mode) + " " + std::to_string(st.st_uid) + ":" +
                       std::to_string(st.st_gid);
    for (const char* name : {"user.origin", "system.posix_acl_access"}) {
        char value[4096];
        ssize_t n = ::getxattr(path.c_str(), name, value, sizeof value);
        kept += " " + std::string(value, static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    }
    return kept;
}

TEST(SafeWriter, KeepsEverythingOfTheOldFileButItsBytes) {
    // An access ACL as the kernel stores it (little-endian): version 2, then (tag, permissions,
    // id) for the owner, nobody (65534) with read and write, the group, the mask and others.
    const std::string acl(
        "\2\0\0\0\1\0\6\0\377\377\377\377\2\0\6\0\376\377\0\0\4\0\4\0\377\377\377\377\20\0\6\0"
        "\377\377\377\377\40\0\4\0\377\377\377\377",
        44);
    TempDir dir;
    const std::string target = dir.File("target");
    WriteAll(target, kOld);
    if (::setxattr(target.c_str(), "user.origin", "7", 1, 0) != 0 ||
        ::setxattr(target.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0)
        GTEST_SKIP() << "no extended attributes in the test folder: " << std::strerror(errno);
    if (::geteuid() == 0) {  // another user's file
        ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0) << std::strerror(errno);
    }
    const std::string before = Kept(target);
    ASSERT_TRUE(WriteFileSafely(target, kNew).Ok());
    EXPECT_EQ(Kept(target), before);
}

// The kernel's rule for links in sticky world-writable folders, which the writer follows itself.
TEST(SafeWriter, RefusesLinksPlantedInSharedFolders) {
    const uid_t other = 65534, me = ::geteuid();
    // folder mode and owner, owners of shared/0 -> shared/1 -> ... -> private, saved
    const std::tuple<mode_t, uid_t, std::vector<uid_t>, bool> cases[] = {
        {01777, me, {other}, false},
        {01777, me, {me}, true},
        {01777, other, {other}, true},
        {01777, me, {me, other}, false}};
    for (const auto& [mode, folderOwner, links, saves] : cases) {
        TempDir dir;
        fs::create_directory(dir.File("shared"));
        WriteAll(dir.File("private"), kOld);
        for (std::size_t i = 0; i < links.size(); ++i) {
            const std::string link = dir.File("shared/" + std::to_string(i));
            fs::create_symlink(i + 1 < links.size() ? std::to_string(i + 1) : dir.File("private"),
                               link);
            if (::lchown(link.c_str(), links[i], static_cast<gid_t>(-1)) != 0)
                GTEST_SKIP() << "cannot give a link to another user here";
        }
        ASSERT_EQ(::chown(dir.File("shared").c_str(), folderOwner, static_cast<gid_t>(-1)), 0)
            << std::strerror(errno);
        ::chmod(dir.File("shared").c_str(), mode);
        SafeWriteResult r = WriteFileSafely(dir.File("shared/0"), kNew);
        EXPECT_EQ(ReadAll(dir.File("private")), saves ? kNew : kOld) << r.text;
        EXPECT_EQ(r.text.find("another user") != std::string::npos, !saves) << r.text;
    }
}

// Leftovers of killed saves go, but not those of a file whose name is nearly the same.
TEST(SafeWriter, LongNamesSaveAndTheirLeftoversGo) {
    const std::pair<std::string, int> cases[] = {
        {"a", 240}, {"a", 241}, {"a", 255}, {"\xC3\xA9", 127}, {"\xE8\xAA\x9E", 85}};
    for (const auto& [unit, count] : cases) {
        std::string name;
        for (int i = 0; i < count; ++i) name += unit;
        TempDir dir;
        const std::string other = name.substr(0, name.size() - unit.size()) + "b";
        for (const std::string& file : {name, other})
            WriteAll(SafeTempPrefix(dir.File(file)) + "Zz0000", kOld);
        EXPECT_TRUE(WriteFileSafely(dir.File(name), kNew).Ok());
        EXPECT_EQ(ReadAll(dir.File(name)), kNew);
        const std::string left = fs::path(SafeTempPrefix(dir.File(other))).filename();
        EXPECT_EQ(left.rfind("." + name.substr(0, 30), 0), 0u) << left;  // recognisable
        EXPECT_EQ(Entries(dir), (std::vector<std::string>{left + "Zz0000", name}));
    }
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
