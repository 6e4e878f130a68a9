#pragma once
// What every ohmlet-cli command shares: exit codes, argument helpers, messages.
#include <string>
#include <vector>

#include "data/Component.h"

#include "data/DzlFile.h"

namespace ohmlet::cli {

enum ExitCode {
    kExitOk = 0,
    kExitIo = 1,  // a file or device could not be read or written
    kExitUsage = 2,
    kExitNoData = 3,    // the instrument reply holds no data
    kExitBadReply = 4,  // the reply is incomplete or inconsistent
};

using Args = std::vector<std::string>;

// Prints one sentence to stderr and returns code.
int Fail(int code, const std::string& message);
int UsageError(const std::string& message);
// The same, naming first an option among `rest` (the words no option took) that the
// command does not know.
int UsageError(const std::string& message, const Args& rest);
// A problem that does not stop the command, one sentence on stderr.
void Warn(const std::string& message);

// Reads a DZL file the way every command does: what beyond the readings could not be
// used is warned about on stderr, and the readings are there all the same.
DzlReadResult ReadDzlWarning(const std::string& path);
void WarnAll(const std::vector<std::string>& warnings);

// Takes "-o VALUE" (or "--output VALUE") out of args; empty when absent.
// Returns false when the option is there without a value.
bool TakeOption(Args& args, const std::string& shortName, const std::string& longName,
                std::string& value);
bool TakeFlag(Args& args, const std::string& name);

// The DZL files' texts are GBK; the terminal and JSON get UTF-8. Bytes that are no GBK
// character become U+FFFD, and *replaced (when given) says whether there were any.
std::string GbkToUtf8(const std::string& gbk, bool* replaced = nullptr);

// A UTF-8 text as it may reach a terminal: control characters and bytes that are not
// UTF-8 shown as replacement characters; `columns` gets its display width.
std::string TerminalText(const std::string& utf8, int* columns = nullptr);

// Pads a UTF-8 text to a display width (CJK characters take two columns), at least
// one space after it.
std::string Pad(const std::string& utf8, int width);

// A whole number that is the whole text: no sign-less junk, spaces or fraction around it.
bool ParseWhole(const std::string& text, int& out);

// The component the user names by its number (UTF-8); -1 with `error` set when no
// component, or more than one, has that number.
int FindComponent(const std::vector<Component>& list, const std::string& number,
                  std::string& error);

}  // namespace ohmlet::cli
