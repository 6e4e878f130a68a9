#pragma once
// What an operation that can fail tells its caller: what happened, the sentence the user
// reads, and the system's own words (errno text, libusb's name) kept apart so a message can
// show both and a test can check each.
#include <string>

namespace ohmlet {

template <typename Code>
struct Outcome {
    Code code{};        // the enum's first value is success
    std::string text;   // for the user: the program's fixed message where there is one
    std::string cause;  // the system's words, empty when none applies

    bool Ok() const { return code == Code{}; }
};

}  // namespace ohmlet
