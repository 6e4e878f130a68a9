// Word, Excel and CSV files replace their targets only whole, as the targets were.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <tuple>

#include "OfficeTestSupport.h"
#include "report/office/CsvWriter.h"
#include "report/office/ExcelWorkbookWriter.h"
#include "report/office/WordTableWriter.h"
#include "support/TestSupport.h"

namespace ohmlet::test {
namespace {

namespace fs = std::filesystem;
const std::vector<unsigned char> kOld = {'o', 'l', 'd'};

OfficeOutcome Export(const std::string& format, const std::string& path, int components) {
    std::vector<Component> list =
        MakeComponents(std::vector<ComponentSpec>(components, {"1", "梁", "", Readings(1000)}));
    if (format == "docx") return WriteWordTable(list, TemplateFolder(), path);
    if (format == "xlsx") return WriteExcelWorkbook(list, path);
    return WriteReadingsCsv(list, path);
}

// Every file in `folder`, hidden ones too, and whether any of them holds bytes.
std::vector<std::string> Files(const TempDir& folder, bool* written = nullptr) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder.path())) {
        names.push_back(entry.path().filename().string());
        std::error_code gone;  // a file renamed away meanwhile has no size
        if (written && entry.file_size(gone) > 0 && !gone) *written = true;
    }
    return names;
}

// A size limit cuts every file the writers or their libraries make.
TEST(OfficeSave, FileSizeLimitFailsAndKeepsTheOldFile) {
    struct Case {
        const char* format;
        rlim_t limit;
    } cases[] = {{"xlsx", 20480}, {"xlsx", 65536}, {"docx", 20480}, {"csv", 20480}};
    for (const Case& k : cases) {
        TempDir folder;
        const std::string target = folder.File(std::string("out.") + k.format);
        WriteAll(target, kOld);
        pid_t child = ::fork();
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{k.limit, k.limit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            OfficeOutcome outcome = Export(k.format, target, 50);
            ::_exit(outcome.Ok() ? 1 : outcome.text.find(target) != std::string::npos ? 0 : 2);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << k.format << " " << k.limit << ": 1 written, 2 message without the file";
        EXPECT_EQ(ReadAll(target), kOld) << k.format << " " << k.limit;
        EXPECT_EQ(Files(folder), std::vector<std::string>{fs::path(target).filename()});
    }
}

TEST(OfficeSave, ReplacedFileKeepsModeOwnerAndGroup) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to hand the file to another owner";
    struct Case {
        const char* format;
        mode_t mode;
        uid_t owner;
        gid_t group;
    } cases[] = {
        {"docx", 02664, 65534, 100}, {"xlsx", 02660, 65534, 100}, {"csv", 0604, 65534, 65534}};
    for (const Case& k : cases) {
        TempDir folder;
        const std::string target = folder.File(std::string("out.") + k.format);
        WriteAll(target, kOld);
        ASSERT_EQ(::chown(target.c_str(), k.owner, k.group), 0);
        ASSERT_EQ(::chmod(target.c_str(), k.mode), 0);
        ASSERT_TRUE(Export(k.format, target, 1).Ok()) << k.format;
        struct stat st {};
        ASSERT_EQ(::stat(target.c_str(), &st), 0);
        EXPECT_EQ(std::make_tuple(st.st_mode & 07777, st.st_uid, st.st_gid),
                  std::make_tuple(k.mode, k.owner, k.group))
            << k.format;
        if (k.format != std::string("csv")) ReadBack(k.format, QString::fromStdString(target));
    }
}

// A save killed while it writes leaves nothing the next save of the file does not remove.
TEST(OfficeSave, KilledWordExportLeavesNothingBehind) {
    TempDir folder;
    const std::string target = folder.File("out.docx");
    pid_t child = ::fork();
    if (child == 0) ::_exit(Export("docx", target, 1000).Ok() ? 0 : 1);
    // Killed as soon as any file beside the target holds bytes, unless it finished first.
    bool written = false;
    while (!written && ::waitpid(child, nullptr, WNOHANG) == 0) {
        ::usleep(200);
        Files(folder, &written);
    }
    if (written && ::kill(child, SIGKILL) == 0) ::waitpid(child, nullptr, 0);
    ASSERT_TRUE(Export("docx", target, 1).Ok());
    EXPECT_EQ(Files(folder), std::vector<std::string>{"out.docx"});
}

}  // namespace
}  // namespace ohmlet::test
