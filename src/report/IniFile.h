#pragma once
// Settings files of the "[Section]" / key=value kind, GBK text with CR LF line ends.
// A file is written whole in one go; every lookup scans it again from the top (of a copy
// read at open: these files are small, and a byte-at-a-time read per lookup was slow).
// Only a line whose first non-blank character is "[" is a section line among the keys.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "data/Outcome.h"
#include "data/SafeFile.h"

namespace ohmlet {

// How opening, reading or saving a settings file went; the text names the file.
enum class SettingsCode { Ok, CannotRead, CannotSave };
using SettingsOutcome = Outcome<SettingsCode>;

class IniFile {
public:
    IniFile() = default;
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;
    virtual ~IniFile();
    // Ends a read, or commits a write (see Commit); its result is in LastOutcome().
    virtual void Close();
    // Replaces the file with what was written since OpenForWrite; false with
    // LastOutcome() saying why when it could not be saved, the previous file then kept.
    bool Commit();

    // Settings are a few hundred bytes; a larger file is not a settings file.
    static constexpr std::size_t kMaxFileBytes = 1 << 20;

    // The folder should end with a separator; one is added when it does not.
    void SetPath(const std::string& folder);
    // Stores baseName + ".ini".
    void SetFileName(const std::string& baseName);
    std::string FullPath() const { return folder_ + fileName_; }

    // False for a missing file and, with LastOutcome() failed, for one that is not a
    // regular file, is larger than kMaxFileBytes or cannot be read.
    bool OpenForRead();
    bool OpenForWrite();
    bool IsOpen() const { return writer_ != nullptr || reading_; }
    // The last open, read or save: Ok, or one sentence naming the file and the system's cause.
    const SettingsOutcome& LastOutcome() const { return outcome_; }

    bool WriteSection(const std::string& section);
    bool WriteInt(const std::string& key, int32_t value);
    bool WriteString(const std::string& key, const std::string& value);

    // The older settings files are read as the program always read them: a section is any
    // line holding its name, a key any key part holding it, in the rest of the file. Newer
    // files ask for exact lookups: "[Section]" lines, whole keys inside their own section,
    // lines starting with ";" or "#" skipped.
    void SetExactLookup(bool exact) { exact_ = exact; }

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
    bool ReadExactly(const std::string& section, const std::string& key, std::string& value);

    std::string folder_;
    std::string fileName_;
    std::unique_ptr<SafeFileWriter> writer_;  // open for writing
    std::string pending_;                     // what the write will put in the file
    SettingsOutcome outcome_;
    bool reading_ = false;
    std::string content_;  // the file as read at open
    std::size_t cursor_ = 0;
    bool exact_ = false;
};

}  // namespace ohmlet
