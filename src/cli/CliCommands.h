#pragma once
// The ohmlet-cli commands. Their one table, in the order help lists them, is in
// main.cpp; each command's file defines its runner and its --help text.
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
    const char* name;
    const char* usage;  // the arguments after the command name
    int (*run)(Args);
    const CommandHelp& help;
};

int RunInfo(Args args);
int RunStats(Args args);
int RunMap(Args args);
int RunDump(Args args);
int RunConvert(Args args);
int RunGrid(Args args);
int RunConditions(Args args);
int RunCriterion(Args args);
int RunDecode(Args args);
int RunExport(Args args);
int RunFetch(Args args);
int RunSimulate(Args args);

extern const CommandHelp kInfoHelp;
extern const CommandHelp kStatsHelp;
extern const CommandHelp kMapHelp;
extern const CommandHelp kDumpHelp;
extern const CommandHelp kConvertHelp;
extern const CommandHelp kGridHelp;
extern const CommandHelp kConditionsHelp;
extern const CommandHelp kCriterionHelp;
extern const CommandHelp kDecodeHelp;
extern const CommandHelp kExportHelp;
extern const CommandHelp kFetchHelp;
extern const CommandHelp kSimulateHelp;

}  // namespace ohmlet::cli
