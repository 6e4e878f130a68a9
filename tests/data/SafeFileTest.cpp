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
#include <map>
#include <tuple>

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
    {"HardLinkedTargetKeepsItsLinks",
     [](const TempDir& d) {
         WriteAll(d.File("target"), kOld);
         fs::create_directory(d.File("sub"));
         fs::create_hard_link(d.File("target"), d.File("sub/second"));
     },
     true, "",
     [](const TempDir& d) {
         EXPECT_TRUE(fs::equivalent(d.File("target"), d.File("sub/second")));
         EXPECT_EQ(fs::hard_link_count(d.File("target")), 2u);
         EXPECT_EQ(ReadAll(d.File("sub/second")), kNew);
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

TEST(SafeWriter, FailedInPlaceWriteRestoresTheOldBytes) {
    TempDir dir;
    WriteAll(dir.File("target"), kOld);
    fs::create_hard_link(dir.File("target"), dir.File("second"));
    SetSafeFileCloseForTesting(&failingClose);
    SafeWriteResult r = WriteFileSafely(dir.File("target"), kNew);
    SetSafeFileCloseForTesting(nullptr);
    EXPECT_FALSE(r.Ok());
    EXPECT_EQ(ReadAll(dir.File("second")), kOld);
    EXPECT_TRUE(fs::equivalent(dir.File("target"), dir.File("second")));
    EXPECT_EQ(Entries(dir), (std::vector<std::string>{"second", "target"}));
}

// Mode, owner, group and every extended attribute (ACLs are one) of a file.
std::tuple<mode_t, uid_t, gid_t, std::map<std::string, std::string>> Kept(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    std::string names(65536, '\0'), value(65536, '\0');
    names.resize(static_cast<std::size_t>(
        std::max<ssize_t>(0, ::listxattr(path.c_str(), names.data(), names.size()))));
    std::map<std::string, std::string> all;
    for (std::size_t at = 0; at < names.size(); at += std::strlen(&names[at]) + 1) {
        ssize_t n = ::getxattr(path.c_str(), &names[at], value.data(), value.size());
        all[&names[at]] = value.substr(0, static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    }
    return {st.st_mode, st.st_uid, st.st_gid, all};
}

// An access ACL as the kernel stores it: version 2, then (tag, permissions, id) entries;
// here the owner, nobody (65534) with read and write, the group, the mask and others.
std::string AclForNobody() {
    const std::uint16_t e[][4] = {{1, 6, 0xFFFF, 0xFFFF},
                                  {2, 6, 65534, 0},
                                  {4, 4, 0xFFFF, 0xFFFF},
                                  {0x10, 6, 0xFFFF, 0xFFFF},
                                  {0x20, 4, 0xFFFF, 0xFFFF}};
    return std::string("\2\0\0\0", 4) + std::string(reinterpret_cast<const char*>(e), sizeof e);
}

int SetAttribute(const std::string& path, const char* name, const std::string& value) {
    return ::setxattr(path.c_str(), name, value.data(), value.size(), 0) == 0 ? 0 : errno;
}

TEST(SafeWriter, KeepsEverythingOfTheOldFileButItsBytes) {
    const struct {
        const char* name;
        std::function<int(const std::string&)> prepare;  // an errno means "cannot test here"
    } cases[] = {
        {"UserAttribute", [](const std::string& p) { return SetAttribute(p, "user.k", "v"); }},
        {"AclEntry",
         [](const std::string& p) {
             return SetAttribute(p, "system.posix_acl_access", AclForNobody());
         }},
        {"AclOnAPrivateFileWithAnAttribute",
         [](const std::string& p) {
             int err = SetAttribute(p, "user.origin", "instrument 7");
             if (!err) err = SetAttribute(p, "system.posix_acl_access", AclForNobody());
             ::chmod(p.c_str(), 0400);
             return err;
         }},
        {"AnotherUsersFile",
         [](const std::string& p) { return ::chown(p.c_str(), 65534, 65534) == 0 ? 0 : errno; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string target = dir.File("target");
        WriteAll(target, kOld);
        if (int err = c.prepare(target)) {
            if (err == ENOTSUP) GTEST_SKIP() << "the test folder has no extended attributes";
            std::cout << c.name << " not tested: " << std::strerror(err) << "\n";
            continue;
        }
        const auto before = Kept(target);
        SafeWriteResult r = WriteFileSafely(target, kNew);
        ASSERT_TRUE(r.Ok()) << r.text;
        EXPECT_EQ(ReadAll(target), kNew);
        EXPECT_EQ(Kept(target), before);
    }
}

// The kernel follows a link in a sticky world-writable folder only for its owner or the
// folder's; the writer follows links itself and must keep to the same rule.
TEST(SafeWriter, RefusesLinksPlantedInSharedFolders) {
    const uid_t nobody = 65534, me = ::geteuid();
    if (me == 0 && ::getpwuid(nobody) == nullptr) GTEST_SKIP() << "no second user";
    const struct {
        const char* name;
        mode_t folderMode;
        uid_t folderOwner;
        std::vector<uid_t> linkOwners;  // shared/link0 -> shared/link1 -> ... -> private
        bool saves;
    } cases[] = {
        {"OtherUsersLinkInStickyFolder", 01777, me, {nobody}, false},
        {"OwnLinkInStickyFolder", 01777, me, {me}, true},
        {"FolderOwnersLink", 01777, nobody, {nobody}, true},
        {"OtherUsersLinkInFolderWithoutStickyBit", 0777, me, {nobody}, true},
        {"OtherUsersLinkFurtherAlong", 01777, me, {me, nobody}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        fs::create_directory(dir.File("shared"));
        WriteAll(dir.File("private"), kOld);
        const std::string first = dir.File("shared/link0");
        for (std::size_t i = 0; i < c.linkOwners.size(); ++i) {
            const std::string link = dir.File("shared/link" + std::to_string(i));
            fs::create_symlink(
                i + 1 < c.linkOwners.size() ? "link" + std::to_string(i + 1) : dir.File("private"),
                link);
            if (::lchown(link.c_str(), c.linkOwners[i], static_cast<gid_t>(-1)) != 0)
                GTEST_SKIP() << "cannot give a link to another user here";
        }
        ASSERT_EQ(::chown(dir.File("shared").c_str(), c.folderOwner, static_cast<gid_t>(-1)), 0);
        ::chmod(dir.File("shared").c_str(), c.folderMode);
        SafeWriteResult r = WriteFileSafely(first, kNew);
        EXPECT_EQ(r.Ok(), c.saves) << r.text;
        EXPECT_EQ(ReadAll(dir.File("private")), c.saves ? kNew : kOld);
        EXPECT_EQ(r.text.find("another user") != std::string::npos, !c.saves) << r.text;
    }
}

// Names up to the system's 255 bytes save; the temporary name is cut to fit, and
// leftovers of killed saves go, but never those of a file whose name is nearly the same.
TEST(SafeWriter, LongNamesSaveAndTheirLeftoversGo) {
    const struct {
        const char* unit;
        std::size_t count;
    } cases[] = {{"a", 240}, {"a", 241}, {"a", 255}, {"\xC3\xA9", 127}, {"\xE8\xAA\x9E", 85}};
    for (const auto& c : cases) {
        std::string name;
        for (std::size_t i = 0; i < c.count; ++i) name += c.unit;
        SCOPED_TRACE(name.size());
        TempDir dir;
        const std::string target = dir.File(name);
        const std::string sibling =
            dir.File(name.substr(0, name.size() - std::strlen(c.unit)) + "b");
        WriteAll(SafeTempPrefix(target) + "Zz0000", kOld);
        WriteAll(SafeTempPrefix(sibling) + "Zz0000", kOld);
        ASSERT_TRUE(fs::exists(SafeTempPrefix(target) + "Zz0000"));
        SafeFileWriter writer(target);
        ASSERT_TRUE(writer.Open().Ok());
        const std::string temp = fs::path(writer.TempPath()).filename();
        EXPECT_LE(temp.size(), 255u);
        EXPECT_EQ(temp.rfind("." + name.substr(0, 30), 0), 0u) << temp;
        // A cut name ends on a whole character.
        EXPECT_EQ(
            (temp.find('~') == std::string::npos ? 0 : temp.find('~') - 1) % std::strlen(c.unit),
            0u)
            << temp;
        ASSERT_TRUE(writer.Write(kNew.data(), kNew.size()).Ok());
        ASSERT_TRUE(writer.Commit().Ok());
        EXPECT_EQ(ReadAll(target), kNew);
        EXPECT_FALSE(fs::exists(SafeTempPrefix(target) + "Zz0000"));
        EXPECT_TRUE(fs::exists(SafeTempPrefix(sibling) + "Zz0000"));
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
