// ohmlet-cli export: the selected components of a file in another format. Each format
// lives in its own file and registers itself here.
#include <map>

#include "cli/CliCommands.h"
#include "cli/ExportFormats.h"
#include "data/DzlFile.h"

namespace ohmlet::cli {

std::map<std::string, ExportFunction>& ExportFormats() {
    static std::map<std::string, ExportFunction> formats;
    return formats;
}

namespace {

std::string FormatNames() {
    std::string names;
    for (const auto& [name, fn] : ExportFormats()) names += (names.empty() ? "" : "|") + name;
    return names;
}

int RunExport(Args args) {
    std::string format;
    std::string output;
    if (!TakeOption(args, "--format", "-f", format)) return UsageError("--format needs a value.");
    if (!TakeOption(args, "-o", "--output", output)) return UsageError("-o needs a file name.");
    if (args.size() != 1 || format.empty() || output.empty())
        return UsageError("usage: export --format " + FormatNames() + " FILE.DZL -o OUT");
    auto it = ExportFormats().find(format);
    if (it == ExportFormats().end())
        return UsageError("unknown format '" + format + "'; known: " + FormatNames() + ".");
    DzlReadResult file = ReadDzlFile(args[0]);
    if (!file.Ok()) return Fail(kExitIo, file.text);
    ExportJob job{args[0], output, std::move(file.components)};
    return it->second(job);
}

const CommandRegistration kRegistration("export", "--format FORMAT FILE.DZL -o OUT", RunExport);

}  // namespace
}  // namespace ohmlet::cli
