// ohmlet-cli convert: read a DZL file and write it back with our writer.
#include "cli/CliCommands.h"
#include "data/DzlFile.h"

namespace ohmlet::cli {

int RunConvert(Args args) {
    std::string output;
    if (!TakeOption(args, "-o", "--output", output)) return UsageError("-o needs a file name.");
    if (args.size() != 1 || output.empty())
        return UsageError("usage: convert IN.DZL -o OUT.DZL", args);
    DzlReadResult file = ReadDzlWarning(args[0]);
    if (!file.Ok()) return Fail(kExitIo, file.text);
    DzlWriteResult written = WriteDzlFile(output, file.components);
    if (!written.Ok()) return Fail(kExitIo, written.text);
    return kExitOk;
}

const CommandHelp kConvertHelp = {
    "Reads a DZL file and writes it again with the program's own writer.",
    {{"-o, --output OUT.DZL", "The file to write (replaced only once it is whole)."}}};

}  // namespace ohmlet::cli
