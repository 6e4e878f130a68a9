// Feeds arbitrary bytes to IniFile as a settings file and looks up sections and keys,
// some fixed (the report's own, in GBK) and some taken from the input itself.
// ParseInt is checked against strtoll saturated to 32 bits.
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "report/IniFile.h"

namespace {

std::string g_folder;

void Check(bool condition) {
    if (!condition) std::abort();
}

int32_t Reference(const std::string& text) {
    // strtoll stops at a NUL byte where ParseInt stops at any non-digit: the same place.
    long long v = std::strtoll(text.c_str(), nullptr, 10);
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/ini_file_fuzz.XXXXXX";
    if (!mkdtemp(pattern.data())) std::abort();
    g_folder = pattern;
    std::atexit([] {
        std::remove((g_folder + "/fuzz.ini").c_str());
        rmdir(g_folder.c_str());
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    {
        std::FILE* f = std::fopen((g_folder + "/fuzz.ini").c_str(), "wb");
        if (!f) std::abort();
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    ohmlet::IniFile file;
    file.SetPath(g_folder);
    file.SetFileName("fuzz");
    if (!file.OpenForRead()) std::abort();

    // A key and a section made of the input's first line, split at '='.
    std::size_t eol = bytes.find('\n');
    std::string first = bytes.substr(0, eol);
    std::size_t eq = first.find('=');
    std::string key = first.substr(0, eq);
    std::string section = eq == std::string::npos ? first : first.substr(eq + 1);

    const std::string keys[] = {key, "\xb4\xf2\xd3\xa1\xd2\xb3\xc3\xbc" /* 打印页眉 */,
                                "\xb1\xa8\xb8\xe6\xb8\xf1\xca\xbd" /* 报告格式 */, "=", ""};
    const std::string sections[] = {"Data", section, "[", ""};
    for (const std::string& s : sections) {
        (void)file.FindSection(s);
        for (const std::string& k : keys) {
            std::string value;
            if (file.ReadString(s, k, value)) {
                Check(value.size() <= size);
                Check(value.empty() || (value.front() != ' ' && value.back() != ' '));
                Check(ohmlet::IniFile::ParseInt(value) == Reference(value));
            }
            int32_t number = 0;
            (void)file.ReadInt(s, k, number);
        }
    }
    Check(ohmlet::IniFile::ParseInt(bytes) == Reference(bytes));
    std::string trimmed = ohmlet::IniFile::TrimSpaces(bytes);
    Check(trimmed.size() <= size);
    return 0;
}
