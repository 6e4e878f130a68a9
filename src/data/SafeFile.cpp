#include "data/SafeFile.h"

#include <cstdint>
#include <cstdio>

#include "data/SafeFileInternal.h"

namespace ohmlet {

namespace safefile {

std::string TempNameStart(const std::string& name) {
    // ".", the name and ".saving-XXXXXX" must fit in NAME_MAX (255) bytes.
    constexpr std::size_t kLongestWhole = 255 - 15;
    if (name.size() <= kLongestWhole) return "." + name + ".saving-";
    // A fixed hash (FNV-1a): leftovers of a killed save must be found by later versions.
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (unsigned char c : name) hash = (hash ^ c) * 0x100000001b3ULL;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    // "." + cut + "~" + 16 + ".saving~" + 6 = 255; never end inside a UTF-8 character.
    std::size_t cut = 255 - 32;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    return "." + name.substr(0, cut) + "~" + hex + ".saving~";
}

}  // namespace safefile

SafeFileWriter::SafeFileWriter(std::string path) : path_(std::move(path)) {}

SafeFileWriter::~SafeFileWriter() { Abort(); }

void SafeFileWriter::Abort() {
    if (fd_ != -1) safefile::CloseTemp(fd_);
    fd_ = -1;
    if (!temp_.empty()) safefile::RemoveTemp(temp_);
    temp_.clear();
}

SafeWriteResult SafeFileWriter::Fail(const std::string& what, int error) {
    Abort();
    failed_ = true;
    SafeWriteResult r;
    r.code = SafeWriteCode::Failed;
    r.error = error;
    r.text = "Cannot write " + path_ + ": " + what + ".";
    return r;
}

SafeWriteResult WriteFileSafely(const std::string& path, const void* data, std::size_t size) {
    SafeFileWriter writer(path);
    SafeWriteResult r = writer.Open();
    if (r.Ok()) r = writer.Write(data, size);
    if (r.Ok()) r = writer.Commit();
    return r;
}

}  // namespace ohmlet
