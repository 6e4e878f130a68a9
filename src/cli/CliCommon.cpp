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

}  // namespace ohmlet::cli
