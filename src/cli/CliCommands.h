#pragma once
// One function per ohmlet-cli command; each takes the arguments after its name.
#include "CliCommon.h"

namespace ohmlet::cli {

int RunInfo(Args args);
int RunDump(Args args);
int RunConvert(Args args);

}  // namespace ohmlet::cli
