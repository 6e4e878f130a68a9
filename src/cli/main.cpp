// ohmlet-cli: the headless front end over the same libraries as the program.
#include <algorithm>
#include <iostream>
#include <new>

#include "cli/CliCommands.h"
#include "data/HeapTuning.h"
#include "data/Version.h"

namespace ohmlet::cli {

std::vector<CommandInfo>& Commands() {
    static std::vector<CommandInfo> commands;
    return commands;
}

}  // namespace ohmlet::cli

namespace {

// Commands in the order a user meets them.
const char* const kOrder[] = {"info",   "stats",  "dump",  "convert",
                              "decode", "export", "fetch", "simulate"};

int Rank(const std::string& name) {
    auto it = std::find(std::begin(kOrder), std::end(kOrder), name);
    return static_cast<int>(it - std::begin(kOrder));
}

void PrintHelp(std::ostream& out) {
    auto commands = ohmlet::cli::Commands();
    std::stable_sort(commands.begin(), commands.end(),
                     [](const auto& a, const auto& b) { return Rank(a.name) < Rank(b.name); });
    out << "usage: ohmlet-cli COMMAND [ARGS]\n\ncommands:\n";
    for (const auto& c : commands) out << "  ohmlet-cli " << c.name << ' ' << c.usage << '\n';
    out << "  ohmlet-cli --version\n";
    out << "\nexit status: 0 success, 1 file or device error, 2 usage, 3 no data in the reply,\n"
           "4 incomplete or inconsistent reply\n";
}

}  // namespace

int main(int argc, char** argv) {
    ohmlet::KeepFreedMemoryForReuse();
    if (argc < 2) {
        PrintHelp(std::cerr);
        return ohmlet::cli::kExitUsage;
    }
    std::string name = argv[1];
    if (name == "help" || name == "--help" || name == "-h") {
        PrintHelp(std::cout);
        return ohmlet::cli::kExitOk;
    }
    if (name == "--version") {
        std::cout << "ohmlet-cli " << ohmlet::kVersion << '\n';
        return ohmlet::cli::kExitOk;
    }
    for (const auto& c : ohmlet::cli::Commands()) {
        if (c.name != name) continue;
        try {
            return c.run(ohmlet::cli::Args(argv + 2, argv + argc));
        } catch (const std::bad_alloc&) {
            // Nothing was replaced: every file is written whole or not at all.
            return ohmlet::cli::Fail(ohmlet::cli::kExitIo,
                                     "not enough memory to run '" + name + "'.");
        }
    }
    return ohmlet::cli::UsageError("unknown command '" + name + "'.");
}
