#pragma once
// The ohmlet-cli commands. Each command file registers itself with a static
// CommandRegistration, so adding a command is adding a file.
#include <functional>
#include <string>
#include <vector>

#include "cli/CliCommon.h"

namespace ohmlet::cli {

// One option as `COMMAND --help` lists it.
struct OptionHelp {
    std::string names;  // every spelling and the value it takes: "-o, --output OUT"
    std::string text;
};

struct CommandHelp {
    std::string summary;  // one sentence: what the command does
    std::vector<OptionHelp> options;
};

struct CommandInfo {
    std::string name;
    std::string usage;  // the arguments after the command name
    std::function<int(Args)> run;
    CommandHelp help;
};

std::vector<CommandInfo>& Commands();

struct CommandRegistration {
    CommandRegistration(std::string name, std::string usage, std::function<int(Args)> run,
                        CommandHelp help = {}) {
        Commands().push_back({std::move(name), std::move(usage), std::move(run), std::move(help)});
    }
};

}  // namespace ohmlet::cli
