// ohmlet-cli: the headless front end over the same libraries as the program.
#include <cstring>
#include <iostream>

#include "CliCommands.h"

namespace {

struct Command {
    const char* name;
    const char* usage;
    int (*run)(ohmlet::cli::Args);
};

const Command kCommands[] = {
    {"info", "info FILE.DZL", ohmlet::cli::RunInfo},
    {"dump", "dump FILE.DZL", ohmlet::cli::RunDump},
    {"convert", "convert IN.DZL -o OUT.DZL", ohmlet::cli::RunConvert},
};

void PrintHelp(std::ostream& out) {
    out << "usage: ohmlet-cli COMMAND [ARGS]\n\ncommands:\n";
    for (const Command& c : kCommands) out << "  ohmlet-cli " << c.usage << '\n';
    out << "\nexit status: 0 success, 1 file or device error, 2 usage, 3 no data in the reply,\n"
           "4 incomplete or inconsistent reply\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintHelp(std::cerr);
        return ohmlet::cli::kExitUsage;
    }
    const char* name = argv[1];
    if (!std::strcmp(name, "help") || !std::strcmp(name, "--help") || !std::strcmp(name, "-h")) {
        PrintHelp(std::cout);
        return ohmlet::cli::kExitOk;
    }
    for (const Command& c : kCommands) {
        if (std::strcmp(c.name, name) == 0) return c.run(ohmlet::cli::Args(argv + 2, argv + argc));
    }
    return ohmlet::cli::UsageError(std::string("unknown command '") + name + "'.");
}
