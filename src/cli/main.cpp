// ohmlet-cli: the headless front end over the same libraries as the program.
#include <algorithm>
#include <iostream>
#include <new>

#include "cli/CliCommands.h"
#include "cli/CliOutput.h"
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

std::vector<ohmlet::cli::CommandInfo> SortedCommands() {
    auto commands = ohmlet::cli::Commands();
    std::stable_sort(commands.begin(), commands.end(),
                     [](const auto& a, const auto& b) { return Rank(a.name) < Rank(b.name); });
    return commands;
}

void PrintHelp(std::ostream& out) {
    out << "usage: ohmlet-cli COMMAND [ARGS]\n       ohmlet-cli COMMAND --help\n"
           "       ohmlet-cli --version\n\ncommands:\n";
    for (const auto& c : SortedCommands())
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
void PrintCommandHelp(std::ostream& out, const ohmlet::cli::CommandInfo& command) {
    out << "usage: ohmlet-cli " << command.name << ' ' << command.usage << '\n';
    if (!command.help.summary.empty()) {
        out << '\n';
        PrintWrapped(out, command.help.summary);
    }
    std::vector<ohmlet::cli::OptionHelp> options = command.help.options;
    options.push_back({"-h, --help", "Show this help and exit."});
    std::size_t width = 0;
    for (const auto& o : options) width = std::max(width, o.names.size());
    out << "\noptions:\n";
    for (const auto& o : options)
        out << "  " << o.names << std::string(width + 2 - o.names.size(), ' ') << o.text << '\n';
}

bool AsksForHelp(const std::string& word) { return word == "--help" || word == "-h"; }

}  // namespace

namespace {

int Run(int argc, char** argv) {
    if (argc < 2) {
        PrintHelp(std::cerr);
        return ohmlet::cli::kExitUsage;
    }
    std::string name = argv[1];
    if (name == "--version" || name == "-v") {
        std::cout << "ohmlet-cli " << ohmlet::kVersion << '\n';
        return ohmlet::cli::kExitOk;
    }
    // "help COMMAND" is the same as "COMMAND --help".
    const bool helpWord = name == "help" || AsksForHelp(name);
    if (helpWord && argc == 2) {
        PrintHelp(std::cout);
        return ohmlet::cli::kExitOk;
    }
    ohmlet::cli::Args args(argv + (helpWord ? 3 : 2), argv + argc);
    if (helpWord) name = argv[2];
    for (const auto& c : ohmlet::cli::Commands()) {
        if (c.name != name) continue;
        // A file named "--help" is still reachable as ./--help.
        if (helpWord || std::any_of(args.begin(), args.end(), AsksForHelp)) {
            PrintCommandHelp(std::cout, c);
            return ohmlet::cli::kExitOk;
        }
        try {
            return c.run(std::move(args));
        } catch (const std::bad_alloc&) {
            // Nothing was replaced: every file is written whole or not at all.
            return ohmlet::cli::Fail(ohmlet::cli::kExitIo,
                                     "not enough memory to run '" + name + "'.");
        }
    }
    return ohmlet::cli::UsageError("unknown command '" + name + "'.");
}

}  // namespace

int main(int argc, char** argv) {
    // Every command's output is checked here once: cut output is never a success.
    ohmlet::cli::BeginOutput();
    return ohmlet::cli::FinishOutput(Run(argc, argv));
}
