#pragma once
// The formats of `ohmlet-cli export`. A format file registers itself with
// ExportFormatRegistration; its function writes the components whose `selected`
// flag is set and returns an exit code.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "cli/CliCommon.h"
#include "data/Component.h"

namespace ohmlet::cli {

struct ExportJob {
    std::string inputPath;
    std::string outputPath;
    std::vector<Component> components;  // as read; the format picks the selected ones
    bool byteOrderMark = true;          // csv only
};

using ExportFunction = std::function<int(const ExportJob&)>;

std::map<std::string, ExportFunction>& ExportFormats();

struct ExportFormatRegistration {
    ExportFormatRegistration(const std::string& name, ExportFunction fn) {
        ExportFormats()[name] = std::move(fn);
    }
};

}  // namespace ohmlet::cli
