#include "report/IniFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>

#include "data/SafeFile.h"

namespace ohmlet {
namespace {

class IniFileTest : public ::testing::Test {
protected:
    std::string Folder() const { return dir_.path().toStdString() + "/"; }
    void WriteRaw(const std::string& bytes) {
        std::ofstream(Folder() + "t.ini", std::ios::binary) << bytes;
    }
    std::string ReadRaw() const {
        std::ifstream in(Folder() + "t.ini", std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void Open(IniFile& file, bool write) {
        file.SetFileName("t");
        file.SetPath(Folder());
        ASSERT_TRUE(write ? file.OpenForWrite() : file.OpenForRead());
    }
    QTemporaryDir dir_;
};

// GBK keys of the print settings file.
const std::string kPrintHeader = "\xB4\xF2\xD3\xA1\xD2\xB3\xC3\xBC";  // 打印页眉
const std::string kHeaderText = "\xD2\xB3\xC3\xBC\xC4\xDA\xC8\xDD";   // 页眉内容
const std::string kTitle = "\xB1\xEA\xCC\xE2";                        // 标题

struct LookupCase {
    const char* what;
    std::string content;
    std::string key;
    bool found;
    std::string text;  // expected ReadString value
    int32_t number;    // expected ReadInt value
};

TEST_F(IniFileTest, LooksKeysUpAsTheFormatPrescribes) {
    const std::vector<LookupCase> cases = {
        {"int", "[Data]\r\n" + kPrintHeader + "=1\r\n", kPrintHeader, true, "1", 1},
        {"blanks trimmed", "[Data]\r\n" + kHeaderText + "= " + kTitle + "  \r\n", kHeaderText, true,
         kTitle, 0},
        {"value with [ is read", "[Data]\r\nname=a[b\r\n", "name", true, "a[b", 0},
        {"bracketed part of a value", "[Data]\r\nname=\xD0\xC2\xC2\xA5[\xD2\xBB\xC6\xDA]\r\n",
         "name", true, "\xD0\xC2\xC2\xA5[\xD2\xBB\xC6\xDA]", 0},
        {"indented section line", "  [Data]\r\nk=9\r\n", "k", true, "9", 9},
        {"indented later section is skipped", "[Data]\r\n\t[k=1]\r\nk=2\r\n", "k", true, "2", 2},
        {"value keeps its =", "[Data]\r\na=b=c\r\n", "a", true, "b=c", 0},
        {"no section line", "[Info]\r\nkey=5\r\n", "key", false, "", -7},
        {"section without brackets still matches", "xxDataxx\r\nkey=5\r\n", "key", true, "5", 5},
        {"key before the section is not seen", "key=1\r\n[Data]\r\n", "key", false, "", -7},
        {"12abc reads 12", "[Data]\r\nn=12abc\r\n", "n", true, "12abc", 12},
        {"sign and blanks", "[Data]\r\nn=  -42x\r\n", "n", true, "-42x", -42},
        {"no digits reads 0", "[Data]\r\nn=abc\r\n", "n", true, "abc", 0},
        {"overflow saturates", "[Data]\r\nn=99999999999\r\n", "n", true, "99999999999", 2147483647},
        {"substring of the key part", "[Data]\r\nmy key here=7\r\n", "key", true, "7", 7},
        {"case matters", "[Data]\r\nKey=7\r\n", "key", false, "", -7},
        {"first match wins", "[Data]\r\nk=1\r\nk=2\r\n", "k", true, "1", 1},
        {"line without = is skipped", "[Data]\r\nk\r\nk=3\r\n", "k", true, "3", 3},
        {"empty key part skipped", "[Data]\r\n=k\r\nk=4\r\n", "k", true, "4", 4},
        {"later section does not stop", "[Data]\r\n[Other]\r\nk=5\r\n", "k", true, "5", 5},
        {"LF only lines", "[Data]\nk=6\n", "k", true, "6", 6},
        {"last line without line end", "[Data]\r\nk=8", "k", true, "8", 8},
        {"empty value", "[Data]\r\nk=   \r\n", "k", true, "", 0},
        {"missing key", "[Data]\r\nk=1\r\n", "zz", false, "", -7},
    };
    for (const LookupCase& c : cases) {
        SCOPED_TRACE(c.what);
        WriteRaw(c.content);
        IniFile file;
        Open(file, false);
        std::string text = "unchanged";
        int32_t number = -7;
        EXPECT_EQ(file.ReadString("Data", c.key, text), c.found);
        EXPECT_EQ(text, c.found ? c.text : "unchanged");
        EXPECT_EQ(file.ReadInt("Data", c.key, number), c.found);
        EXPECT_EQ(number, c.number);
    }
}

TEST_F(IniFileTest, WritesLinesWithCrLfInCallOrder) {
    IniFile file;
    Open(file, true);
    EXPECT_TRUE(file.WriteSection("Data"));
    EXPECT_TRUE(file.WriteInt(kPrintHeader, 1));
    EXPECT_TRUE(file.WriteString(kHeaderText, " " + kTitle));
    EXPECT_TRUE(file.WriteInt("n", -12));
    file.Close();
    EXPECT_EQ(ReadRaw(), "[Data]\r\n" + kPrintHeader + "=1\r\n" + kHeaderText + "= " + kTitle +
                             "\r\nn=-12\r\n");
}

TEST_F(IniFileTest, OpenForWriteDiscardsThePreviousContent) {
    WriteRaw("[Data]\r\nold=1\r\nmore=2\r\n");
    IniFile file;
    Open(file, true);
    file.WriteSection("Data");
    file.WriteInt("new", 3);
    file.Close();
    EXPECT_EQ(ReadRaw(), "[Data]\r\nnew=3\r\n");
}

TEST_F(IniFileTest, ClosedOrMissingFileDoesNothing) {
    IniFile file;
    file.SetFileName("absent");
    file.SetPath(Folder());
    EXPECT_FALSE(file.OpenForRead());
    std::string text = "keep";
    int32_t number = 9;
    EXPECT_FALSE(file.ReadString("Data", "k", text));
    EXPECT_FALSE(file.ReadInt("Data", "k", number));
    EXPECT_FALSE(file.WriteSection("Data"));
    EXPECT_FALSE(file.WriteString("k", "v"));
    EXPECT_EQ(text, "keep");
    EXPECT_EQ(number, 9);

    IniFile nowhere;
    nowhere.SetFileName("x");
    nowhere.SetPath(Folder() + "no/such/folder/");
    EXPECT_FALSE(nowhere.OpenForWrite());
    EXPECT_FALSE(nowhere.WriteInt("k", 1));
}

TEST_F(IniFileTest, RefusesWhatIsNoSettingsFile) {
    struct Case {
        const char* what;
        std::function<void(const std::string&)> make;
        bool readable;
    };
    const Case cases[] = {
        {"largest allowed",
         [](const std::string& p) {
             std::ofstream(p, std::ios::binary) << "[Data]\r\nk=1\r\n"
                                                << std::string(IniFile::kMaxFileBytes - 13, ';');
         },
         true},
        {"one byte over the limit",
         [](const std::string& p) {
             std::ofstream(p, std::ios::binary) << "[Data]\r\nk=1\r\n"
                                                << std::string(IniFile::kMaxFileBytes - 12, ';');
         },
         false},
        {"FIFO", [](const std::string& p) { ::mkfifo(p.c_str(), 0600); }, false},
        {"link to /dev/zero",
         [](const std::string& p) { ASSERT_EQ(::symlink("/dev/zero", p.c_str()), 0); }, false},
        {"folder", [](const std::string& p) { ::mkdir(p.c_str(), 0700); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        const std::string folder = dir.path().toStdString() + "/";
        c.make(folder + "t.ini");
        IniFile file;
        file.SetFileName("t");
        file.SetPath(folder);
        EXPECT_EQ(file.OpenForRead(), c.readable);
        int32_t value = 0;
        EXPECT_EQ(file.ReadInt("Data", "k", value), c.readable);
        // The caller is told why the file was left out.
        const SettingsOutcome& outcome = file.LastOutcome();
        EXPECT_EQ(outcome.Ok(), c.readable) << outcome.text;
        EXPECT_EQ(outcome.code, c.readable ? SettingsCode::Ok : SettingsCode::CannotRead);
        EXPECT_EQ(outcome.text.empty(), c.readable) << outcome.text;
        EXPECT_EQ(outcome.cause.empty(), c.readable) << outcome.cause;
    }
}

int FailingClose(int fd) {
    ::close(fd);
    errno = EIO;
    return -1;
}

TEST_F(IniFileTest, FailedSaveKeepsTheOldFileAndSaysWhy) {
    WriteRaw("[Data]\r\nold=1\r\n");
    IniFile file;
    Open(file, true);
    file.WriteSection("Data");
    file.WriteInt("new", 2);
    SetSafeFileCloseForTesting(&FailingClose);
    const bool saved = file.Commit();
    SetSafeFileCloseForTesting(nullptr);
    EXPECT_FALSE(saved);
    const SettingsOutcome& outcome = file.LastOutcome();
    EXPECT_EQ(outcome.code, SettingsCode::CannotSave);
    EXPECT_NE(outcome.text.find(std::strerror(EIO)), std::string::npos) << outcome.text;
    EXPECT_NE(outcome.text.find("t.ini"), std::string::npos) << outcome.text;
    EXPECT_EQ(outcome.cause, std::strerror(EIO));
    EXPECT_EQ(ReadRaw(), "[Data]\r\nold=1\r\n");
}

TEST_F(IniFileTest, SavingKeepsAPrivateFilePrivate) {
    WriteRaw("[Data]\r\nold=1\r\n");
    ::chmod((Folder() + "t.ini").c_str(), 0600);
    IniFile file;
    Open(file, true);
    file.WriteSection("Data");
    ASSERT_TRUE(file.Commit()) << file.LastOutcome().text;
    struct stat st {};
    ::stat((Folder() + "t.ini").c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
}

TEST_F(IniFileTest, FullPathIsFolderPlusNameDotIni) {
    IniFile file;
    file.SetFileName("printini");
    file.SetPath("/opt/app/");
    EXPECT_EQ(file.FullPath(), "/opt/app/printini.ini");
    file.SetPath("/opt/app");
    EXPECT_EQ(file.FullPath(), "/opt/app/printini.ini");
}

TEST(CIniFileTrim, RemovesOnlyBlanksAtBothEnds) {
    EXPECT_EQ(IniFile::TrimSpaces("  a b  "), "a b");
    EXPECT_EQ(IniFile::TrimSpaces("\ta\t"), "\ta\t");
    EXPECT_EQ(IniFile::TrimSpaces("   "), "");
}

}  // namespace
}  // namespace ohmlet
