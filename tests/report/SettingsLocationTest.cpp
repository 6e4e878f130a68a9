#include "report/SettingsLocation.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace ohmlet {
namespace {

TEST(SettingsLocation, ProgramFolderUnlessItCannotBeWritten) {
    const QString program = "/prog/", user = "/home/u/.config/Ohmlet/";
    struct Case {
        SettingsAccess access;
        bool writable;
        bool inUser;
        QString expected;
    };
    const Case cases[] = {
        {SettingsAccess::Read, true, true, program},  // the user copy is ignored then
        {SettingsAccess::Write, true, false, program}, {SettingsAccess::Write, false, false, user},
        {SettingsAccess::Write, false, true, user},    {SettingsAccess::Read, false, true, user},
        {SettingsAccess::Read, false, false, program},  // shipped beside the program
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.access) * 100 + c.writable * 10 + c.inUser);
        EXPECT_EQ(ChooseSettingsFolder(c.access, c.writable, c.inUser, program, user), c.expected);
    }
}

TEST(SettingsLocation, WritableProgramFolderHoldsTheFile) {
    QTemporaryDir dir;
    IniFile writer;
    ASSERT_TRUE(OpenSettingsFile(writer, dir.path(), "printini", SettingsAccess::Write));
    writer.WriteSection("Data");
    writer.WriteInt("k", 5);
    writer.Close();
    EXPECT_TRUE(QFile::exists(dir.filePath("printini.ini")));
    IniFile reader;
    ASSERT_TRUE(OpenSettingsFile(reader, dir.path() + "/", "printini", SettingsAccess::Read));
    int32_t k = 0;
    EXPECT_TRUE(reader.ReadInt("Data", "k", k));
    EXPECT_EQ(k, 5);
}

}  // namespace
}  // namespace ohmlet
