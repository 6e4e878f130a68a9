#include "CliCommon.h"

#include <algorithm>
#include <iostream>

#include "GbkCodec.h"

namespace ohmlet::cli {

int Fail(int code, const std::string& message) {
    std::cerr << "ohmlet-cli: " << message << '\n';
    return code;
}

int UsageError(const std::string& message) {
    std::cerr << "ohmlet-cli: " << message << "\nRun 'ohmlet-cli help' for the commands.\n";
    return kExitUsage;
}

bool TakeOption(Args& args, const std::string& shortName, const std::string& longName,
                std::string& value) {
    for (auto it = args.begin(); it != args.end(); ++it) {
        if (*it != shortName && *it != longName) continue;
        if (it + 1 == args.end()) return false;
        value = *(it + 1);
        args.erase(it, it + 2);
        return true;
    }
    return true;
}

bool TakeFlag(Args& args, const std::string& name) {
    auto it = std::find(args.begin(), args.end(), name);
    if (it == args.end()) return false;
    args.erase(it);
    return true;
}

std::string GbkToUtf8(const std::string& gbk) { return FromGbk(gbk).toStdString(); }

std::string Pad(const std::string& utf8, int width) {
    int columns = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        unsigned char b = static_cast<unsigned char>(utf8[i]);
        int len = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        columns += len >= 3 ? 2 : 1;
        i += static_cast<std::size_t>(len);
    }
    return utf8 + std::string(columns < width ? static_cast<std::size_t>(width - columns) : 1, ' ');
}

}  // namespace ohmlet::cli
