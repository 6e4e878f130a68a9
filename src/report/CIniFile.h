#pragma once
// Settings files of the "[Section]" / key=value kind, GBK text with CR LF line ends.
// A file is written whole in one go; every lookup scans it again from the top (of a copy
// read at open: these files are small, and a byte-at-a-time read per lookup was slow).
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace ohmlet {

class CIniFile {
public:
    CIniFile() = default;
    CIniFile(const CIniFile&) = delete;
    CIniFile& operator=(const CIniFile&) = delete;
    virtual ~CIniFile();
    virtual void Close();

    // The folder should end with a separator; one is added when it does not.
    void SetPath(const std::string& folder);
    // Stores baseName + ".ini".
    void SetFileName(const std::string& baseName);
    std::string GetFullPath() const { return folder_ + fileName_; }

    bool OpenForRead();
    bool OpenForWrite();
    bool IsOpen() const { return file_ != nullptr || reading_; }

    bool WriteSection(const std::string& section);
    bool WriteInt(const std::string& key, int32_t value);
    bool WriteString(const std::string& key, const std::string& value);

    bool ReadString(const std::string& section, const std::string& key, std::string& value);
    bool ReadInt(const std::string& section, const std::string& key, int32_t& value);

    bool FindSection(const std::string& section);
    static std::string TrimSpaces(const std::string& text);
    // atoi without its undefined overflow: optional sign and leading digits, 0 without any.
    static int32_t ParseInt(const std::string& text);

private:
    bool WriteLine(const std::string& line);
    // One line without its CR LF; false at the end of the file.
    bool ReadLine(std::string_view& line);

    std::string folder_;
    std::string fileName_;
    std::FILE* file_ = nullptr;  // open for writing
    bool reading_ = false;
    std::string content_;  // the file as read at open
    std::size_t cursor_ = 0;
};

}  // namespace ohmlet
