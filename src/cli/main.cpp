// ohmlet-cli: the headless front end over the same libraries as the program.
#include <algorithm>
#include <iostream>
#include <new>

#include "cli/CliCommands.h"
#include "cli/CliOutput.h"
#include "cli/CliSettings.h"
#include "data/Version.h"

namespace ohmlet::cli {
namespace {

// Every command, in the order a user meets them.
const CommandInfo kCommands[] = {
    {"info", "FILE.DZL", RunInfo, kInfoHelp},
    {"stats", "FILE.DZL [--table rilem|langford|FILE.ini] [--json]", RunStats, kStatsHelp},
    {"map",
     "FILE.DZL --component NUMBER -o OUT.png|OUT.pdf [--table rilem|langford|user|FILE.ini] "
     "[--smooth] [--rows R --columns C [--order ORDER] [--first-corner CORNER] [--spacing X[xY]]]",
     RunMap, kMapHelp},
    {"dump", "FILE.DZL", RunDump, kDumpHelp},
    {"convert", "IN.DZL -o OUT.DZL", RunConvert, kConvertHelp},
    {"grid",
     "FILE.DZL --component NUMBER (--rows R --columns C [--spacing X,Y] [--order ORDER] "
     "[--first-corner CORNER] | --clear) -o OUT.DZL",
     RunGrid, kGridHelp},
    {"conditions",
     "FILE.DZL --component NUMBER [--probe-spacing MM] [--temperature C] [--moisture TEXT] "
     "[--surface TEXT] [--note TEXT] [--clear] -o OUT.DZL",
     RunConditions, kConditionsHelp},
    {"criterion",
     "FILE.DZL (--minimum X | --band DESIGN,LOWER,UPPER) [--component NUMBER | --ticked] "
     "-o OUT.DZL",
     RunCriterion, kCriterionHelp},
    {"decode", "--serial|--usb REPLY.bin -o OUT.DZL", RunDecode, kDecodeHelp},
    {"export", "--format FORMAT FILE.DZL -o OUT [--no-bom]", RunExport, kExportHelp},
    {"fetch", "--serial PORT | --usb INDEX [-o FOLDER] [--timeout SECONDS] [--save-reply FILE]",
     RunFetch, kFetchHelp},
    {"simulate", "--serial [--from FILE.DZL | --reply REPLY.bin]", RunSimulate, kSimulateHelp},
};

void PrintHelp(std::ostream& out) {
    out << "usage: ohmlet-cli COMMAND [ARGS]\n       ohmlet-cli COMMAND --help\n"
           "       ohmlet-cli --version\n\ncommands:\n";
    for (const CommandInfo& c : kCommands)
        out << "  ohmlet-cli " << c.name << ' ' << c.usage << '\n';
    out << "\nexit status: 0 success, 1 file or device error, 2 usage, 3 no data in the reply,\n"
           "4 incomplete or inconsistent reply\n";
}

// Words wrapped to lines of at most 79 columns.
void PrintWrapped(std::ostream& out, const std::string& text) {
    std::size_t column = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        const std::size_t length = end - start;
        if (column > 0 && column + 1 + length > 79) {
            out << '\n';
            column = 0;
        }
        if (column > 0) {
            out << ' ';
            ++column;
        }
        out << text.substr(start, length);
        column += length;
        start = end + 1;
    }
    out << '\n';
}

// Options in two columns, the texts lined up after the longest spelling.
void PrintCommandHelp(std::ostream& out, const CommandInfo& command) {
    out << "usage: ohmlet-cli " << command.name << ' ' << command.usage << '\n';
    if (!command.help.summary.empty()) {
        out << '\n';
        PrintWrapped(out, command.help.summary);
    }
    std::vector<OptionHelp> options = command.help.options;
    options.push_back({"-h, --help", "Show this help and exit."});
    std::size_t width = 0;
    for (const auto& o : options) width = std::max(width, o.names.size());
    out << "\noptions:\n";
    for (const auto& o : options)
        out << "  " << o.names << std::string(width + 2 - o.names.size(), ' ') << o.text << '\n';
}

bool AsksForHelp(const std::string& word) { return word == "--help" || word == "-h"; }

int Run(int argc, char** argv) {
    if (argc < 2) {
        PrintHelp(std::cerr);
        return kExitUsage;
    }
    std::string name = argv[1];
    if (name == "--version" || name == "-v") {
        std::cout << "ohmlet-cli " << ohmlet::kVersion << '\n';
        return kExitOk;
    }
    // "help COMMAND" is the same as "COMMAND --help".
    const bool helpWord = name == "help" || AsksForHelp(name);
    if (helpWord && argc == 2) {
        PrintHelp(std::cout);
        return kExitOk;
    }
    Args args(argv + (helpWord ? 3 : 2), argv + argc);
    if (helpWord) name = argv[2];
    for (const CommandInfo& c : kCommands) {
        if (c.name != name) continue;
        // A file named "--help" is still reachable as ./--help.
        if (helpWord || std::any_of(args.begin(), args.end(), AsksForHelp)) {
            PrintCommandHelp(std::cout, c);
            return kExitOk;
        }
        try {
            ApplyProgramSettings();
            return c.run(std::move(args));
        } catch (const std::bad_alloc&) {
            // Nothing was replaced: every file is written whole or not at all.
            return Fail(kExitIo, "not enough memory to run '" + name + "'.");
        }
    }
    return UsageError("unknown command '" + name + "'.");
}

}  // namespace
}  // namespace ohmlet::cli

int main(int argc, char** argv) {
    // Every command's output is checked here once: cut output is never a success.
    ohmlet::cli::BeginOutput();
    return ohmlet::cli::FinishOutput(ohmlet::cli::Run(argc, argv));
}
