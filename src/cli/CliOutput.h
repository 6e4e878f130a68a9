#pragma once
// Standard output of every command: one buffer that remembers why a write failed, checked
// once when the command is done, so cut output never ends with exit status 0.

namespace ohmlet::cli {

// Sends std::cout through the checked buffer; called before anything is printed.
void BeginOutput();

// Writes what is left and closes standard output. Returns code when every byte got out;
// otherwise says why on stderr and returns kExitIo (or code, when that is already an error).
int FinishOutput(int code);

}  // namespace ohmlet::cli
