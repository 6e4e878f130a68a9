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

}  // namespace

int RunExport(Args args) {
    std::string format;
    std::string output;
    if (!TakeOption(args, "--format", "-f", format)) return UsageError("--format needs a value.");
    if (!TakeOption(args, "-o", "--output", output)) return UsageError("-o needs a file name.");
    const bool noBom = TakeFlag(args, "--no-bom");
    if (args.size() != 1 || format.empty() || output.empty())
        return UsageError("usage: export --format " + FormatNames() + " FILE.DZL -o OUT [--no-bom]",
                          args);
    auto it = ExportFormats().find(format);
    if (it == ExportFormats().end())
        return UsageError("unknown format '" + format + "'; known: " + FormatNames() + ".");
    if (noBom && format != "csv") return UsageError("--no-bom applies to csv only.");
    DzlReadResult file = ReadDzlWarning(args[0]);
    if (!file.Ok()) return Fail(kExitIo, file.text);
    ExportJob job{args[0], output, std::move(file.components), !noBom};
    return it->second(job);
}

const CommandHelp kExportHelp = {
    "Writes the ticked components of a DZL file as a Word table (docx), an Excel workbook "
    "(xlsx), CSV (csv) or the printed report (pdf).",
    {{"-f, --format FORMAT", "docx, xlsx, csv or pdf."},
     {"-o, --output OUT", "The file to write."},
     {"--no-bom", "csv: leave out the UTF-8 byte-order mark at the start of the file."}}};

}  // namespace ohmlet::cli
