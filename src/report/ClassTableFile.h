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

#include "data/CorrosionClasses.h"
#include "data/Outcome.h"

namespace ohmlet {

enum class ClassTableFileCode { Ok, CannotOpen, Invalid };
// The text is one sentence naming the file; the table is there only when Ok.
struct ClassTableFileResult : Outcome<ClassTableFileCode> {
    std::optional<ClassTable> table;
};

inline constexpr const char* kClassTableSection = "Classes";

// `path` names the file with its ".ini" ending.
ClassTableFileResult ReadClassTableFile(const std::string& path);

}  // namespace ohmlet
