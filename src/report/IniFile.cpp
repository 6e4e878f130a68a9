#include "report/IniFile.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>

#include "data/FileBytes.h"
#include "data/SafeFile.h"

namespace ohmlet {

namespace {

SettingsOutcome SaveOutcome(const SafeWriteResult& r) {
    if (r.Ok()) return {};
    return {SettingsCode::CannotSave, r.text, r.error ? std::strerror(r.error) : std::string()};
}

SettingsOutcome ReadOutcome(const std::string& path, const std::string& reason) {
    return {SettingsCode::CannotRead, "Cannot read " + path + ": " + reason + ".", reason};
}

}  // namespace

IniFile::~IniFile() { IniFile::Close(); }

void IniFile::Close() {
    if (writer_) Commit();
    reading_ = false;
    content_.clear();
    cursor_ = 0;
}

bool IniFile::Commit() {
    if (!writer_) return false;
    std::unique_ptr<SafeFileWriter> writer = std::move(writer_);
    SafeWriteResult r = writer->Write(pending_.data(), pending_.size());
    if (r.Ok()) r = writer->Commit();
    pending_.clear();
    outcome_ = SaveOutcome(r);
    return r.Ok();
}

void IniFile::SetPath(const std::string& folder) {
    folder_ = folder;
    if (!folder_.empty() && folder_.back() != '/' && folder_.back() != '\\') folder_ += '/';
}

void IniFile::SetFileName(const std::string& baseName) { fileName_ = baseName + ".ini"; }

bool IniFile::OpenForRead() {
    Close();
    outcome_ = {};
    FileBytes file;
    std::string reason;
    switch (file.Open(FullPath(), reason, kMaxFileBytes)) {
        case FileBytes::Status::Ok:
            break;
        case FileBytes::Status::CannotOpen:
            if (reason != std::strerror(ENOENT)) outcome_ = ReadOutcome(FullPath(), reason);
            return false;
        default:
            outcome_ = ReadOutcome(FullPath(), reason);
            return false;
    }
    content_.assign(reinterpret_cast<const char*>(file.data()), file.size());
    reading_ = true;
    return true;
}

bool IniFile::OpenForWrite() {
    Close();
    auto writer = std::make_unique<SafeFileWriter>(FullPath());
    SafeWriteResult r = writer->Open();
    outcome_ = SaveOutcome(r);
    if (!r.Ok()) return false;
    writer_ = std::move(writer);
    return true;
}

bool IniFile::WriteLine(const std::string& line) {
    if (!writer_) return false;
    pending_ += line;
    pending_ += "\r\n";
    return true;
}

bool IniFile::WriteSection(const std::string& section) { return WriteLine("[" + section + "]"); }

bool IniFile::WriteInt(const std::string& key, int32_t value) {
    return WriteLine(key + "=" + std::to_string(value));
}

bool IniFile::WriteString(const std::string& key, const std::string& value) {
    return WriteLine(key + "=" + value);
}

bool IniFile::ReadLine(std::string_view& line) {
    if (cursor_ >= content_.size()) return false;
    std::size_t end = content_.find('\n', cursor_);
    if (end == std::string::npos) end = content_.size();
    line = std::string_view(content_).substr(cursor_, end - cursor_);
    cursor_ = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
}

namespace {

bool IsSectionLine(std::string_view line) {
    std::size_t first = line.find_first_not_of(" \t");
    return first != std::string_view::npos && line[first] == '[';
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// What a line says once trimmed: nothing for a blank or comment line.
std::string_view Meaningful(std::string_view line) {
    const std::string_view text = TrimBlanks(line);
    return text.empty() || text[0] == ';' || text[0] == '#' ? std::string_view() : text;
}

// The name in a trimmed "[name]" line; an unclosed bracket names no section.
std::string_view SectionNameOf(std::string_view text) {
    const std::size_t close = text.find(']');
    return close == std::string_view::npos ? std::string_view()
                                           : TrimBlanks(text.substr(1, close - 1));
}

}  // namespace

bool IniFile::FindSection(const std::string& section) {
    if (!reading_) return false;
    cursor_ = 0;
    std::string_view line;
    while (ReadLine(line)) {
        const std::string_view text = Meaningful(line);
        if (exact_ ? !text.empty() && text[0] == '[' && SectionNameOf(text) == section
                   : line.find(section) != std::string_view::npos)
            return true;
    }
    return false;
}

bool IniFile::ReadExactly(const std::string& section, const std::string& key, std::string& value) {
    if (!reading_) return false;
    cursor_ = 0;
    bool inside = false;
    std::string_view line;
    while (ReadLine(line)) {
        const std::string_view text = Meaningful(line);
        if (text.empty()) continue;
        if (text[0] == '[') {
            inside = SectionNameOf(text) == section;
            continue;
        }
        const std::size_t equals = text.find('=');
        if (!inside || equals == std::string_view::npos ||
            TrimBlanks(text.substr(0, equals)) != key)
            continue;
        value = std::string(TrimBlanks(text.substr(equals + 1)));
        return true;
    }
    return false;
}

bool IniFile::ReadString(const std::string& section, const std::string& key, std::string& value) {
    if (exact_) return ReadExactly(section, key, value);
    if (!FindSection(section)) return false;
    std::string_view line;
    while (ReadLine(line)) {
        std::size_t equals = line.find('=');
        std::string_view keyPart =
            equals == std::string_view::npos ? std::string_view() : line.substr(0, equals);
        if (IsSectionLine(line) || keyPart.empty()) continue;
        if (keyPart.find(key) != std::string_view::npos) {
            value = TrimSpaces(std::string(line.substr(equals + 1)));
            return true;
        }
    }
    return false;
}

bool IniFile::ReadInt(const std::string& section, const std::string& key, int32_t& value) {
    std::string text;
    if (!ReadString(section, key, text)) return false;
    value = ParseInt(text);
    return true;
}

std::string IniFile::TrimSpaces(const std::string& text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

int32_t IniFile::ParseInt(const std::string& text) {
    std::size_t i = 0;
    // atoi skips leading white space as isspace() knows it.
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t result = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        result = result * 10 + (text[i] - '0');
        if (result > static_cast<int64_t>(INT32_MAX) + 1) break;  // saturate, never overflow
    }
    if (negative) result = -result;
    if (result > INT32_MAX) return INT32_MAX;
    if (result < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(result);
}

}  // namespace ohmlet
