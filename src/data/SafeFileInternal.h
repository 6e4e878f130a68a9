#pragma once
// What the safe writer's back ends share: the temporary names, and the two system calls
// with which each drops an unfinished temporary file.
#include <string>

namespace ohmlet::safefile {

// The start of every temporary name of a file called `name`: ".NAME.saving-". A name too
// long for that within the system's 255 bytes is cut on a whole character and tagged with
// a hash of all of it, ".CUT~HASH.saving~", so no two files share a start.
std::string TempNameStart(const std::string& name);

void CloseTemp(int fd);
void RemoveTemp(const std::string& path);

}  // namespace ohmlet::safefile
