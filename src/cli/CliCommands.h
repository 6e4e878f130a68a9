#pragma once
// The ohmlet-cli commands. Each command file registers itself with a static
// CommandRegistration, so adding a command is adding a file.
#include <functional>
#include <string>
#include <vector>

#include "cli/CliCommon.h"

namespace ohmlet::cli {

struct CommandInfo {
    std::string name;
    std::string usage;  // the arguments after the command name
    std::function<int(Args)> run;
};

std::vector<CommandInfo>& Commands();

struct CommandRegistration {
    CommandRegistration(std::string name, std::string usage, std::function<int(Args)> run) {
        Commands().push_back({std::move(name), std::move(usage), std::move(run)});
    }
};

}  // namespace ohmlet::cli
