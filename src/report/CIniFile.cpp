#include "CIniFile.h"

#include <climits>
#include <cstdint>

namespace ohmlet {

CIniFile::~CIniFile() { CIniFile::Close(); }

void CIniFile::Close() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    reading_ = false;
    content_.clear();
    cursor_ = 0;
}

void CIniFile::SetPath(const std::string& folder) {
    folder_ = folder;
    if (!folder_.empty() && folder_.back() != '/' && folder_.back() != '\\') folder_ += '/';
}

void CIniFile::SetFileName(const std::string& baseName) { fileName_ = baseName + ".ini"; }

bool CIniFile::OpenForRead() {
    Close();
    // Binary mode: the CR LF of every line is handled here, the same on every system.
    std::FILE* file = std::fopen(GetFullPath().c_str(), "rb");
    if (!file) return false;
    char buffer[8192];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) content_.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        content_.clear();
        return false;
    }
    reading_ = true;
    return true;
}

bool CIniFile::OpenForWrite() {
    Close();
    file_ = std::fopen(GetFullPath().c_str(), "wb");
    return file_ != nullptr;
}

bool CIniFile::WriteLine(const std::string& line) {
    if (!file_) return false;
    return std::fwrite(line.data(), 1, line.size(), file_) == line.size() &&
           std::fwrite("\r\n", 1, 2, file_) == 2;
}

bool CIniFile::WriteSection(const std::string& section) { return WriteLine("[" + section + "]"); }

bool CIniFile::WriteInt(const std::string& key, int32_t value) {
    return WriteLine(key + "=" + std::to_string(value));
}

bool CIniFile::WriteString(const std::string& key, const std::string& value) {
    return WriteLine(key + "=" + value);
}

bool CIniFile::ReadLine(std::string_view& line) {
    if (cursor_ >= content_.size()) return false;
    std::size_t end = content_.find('\n', cursor_);
    if (end == std::string::npos) end = content_.size();
    line = std::string_view(content_).substr(cursor_, end - cursor_);
    cursor_ = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
}

bool CIniFile::FindSection(const std::string& section) {
    if (!reading_) return false;
    cursor_ = 0;
    std::string_view line;
    while (ReadLine(line)) {
        if (line.find(section) != std::string_view::npos) return true;
    }
    return false;
}

bool CIniFile::ReadString(const std::string& section, const std::string& key, std::string& value) {
    if (!FindSection(section)) return false;
    std::string_view line;
    while (ReadLine(line)) {
        std::size_t equals = line.find('=');
        std::string_view keyPart =
            equals == std::string_view::npos ? std::string_view() : line.substr(0, equals);
        if (line.find('[') != std::string_view::npos || keyPart.empty()) continue;
        if (keyPart.find(key) != std::string_view::npos) {
            value = TrimSpaces(std::string(line.substr(equals + 1)));
            return true;
        }
    }
    return false;
}

bool CIniFile::ReadInt(const std::string& section, const std::string& key, int32_t& value) {
    std::string text;
    if (!ReadString(section, key, text)) return false;
    value = ParseInt(text);
    return true;
}

std::string CIniFile::TrimSpaces(const std::string& text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

int32_t CIniFile::ParseInt(const std::string& text) {
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
