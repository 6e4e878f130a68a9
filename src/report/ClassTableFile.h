#pragma once
// A user's corrosion-class table kept in a settings file:
//
//   [Classes]
//   ; Name is optional, the file's base name without it
//   Name=site table
//   ; from the highest class down, at most Class6
//   Class1=negligible
//   ; bound in kΩ·cm, whole number: the class takes the readings above it
//   Bound1=100
//   Class2=low
//   Bound2=50
//   ; the last class has no bound: it takes the rest
//   Class3=high
//
// Keys count whole and only inside [Classes]; lines starting with ";" or "#" are
// comments. Texts may be UTF-8 or GBK, the code page of every other settings file.
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
