#pragma once
// A user's corrosion-class table kept in a settings file:
//
//   [Classes]
//   Name=site table          ; optional, the file's base name without it
//   Class1=negligible        ; from the highest class down, at most Class6
//   Bound1=100               ; lower bound in kΩ·cm, whole number, inclusive
//   Class2=low
//   Bound2=50
//   Class3=high              ; the last class has no bound: it takes the rest
//
// Texts may be UTF-8 or GBK, the code page of every other settings file.
#include <optional>
#include <string>

#include "CorrosionClasses.h"

namespace ohmlet {

struct ClassTableFileResult {
    enum class Status { Ok, CannotOpen, Invalid };
    Status status = Status::Ok;
    std::string message;  // one sentence naming the file, empty on success
    std::optional<ClassTable> table;
};

inline constexpr const char* kClassTableSection = "Classes";

// `path` names the file with its ".ini" ending.
ClassTableFileResult ReadClassTableFile(const std::string& path);

}  // namespace ohmlet
