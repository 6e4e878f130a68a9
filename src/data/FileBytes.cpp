#include "data/FileBytes.h"

namespace ohmlet {
namespace {

std::string ChangedReason(const std::string& detail) {
    return "it changed while it was read (" + detail + "); try again once it is written";
}

}  // namespace

FileBytes::Status ReadExpectedBytes(const ReadSome& readSome, std::size_t expected,
                                    std::vector<unsigned char>& bytes, std::string& reason) {
    bytes.assign(expected, 0);
    std::size_t got = 0;
    while (got < expected) {
        const long long n = readSome(bytes.data() + got, expected - got, reason);
        if (n < 0) {
            bytes.clear();
            return FileBytes::Status::CannotOpen;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    if (got < expected) {
        bytes.clear();
        reason = ChangedReason(std::to_string(expected) + " bytes when opened, " +
                               std::to_string(got) + " there to read");
        return FileBytes::Status::Changed;
    }
    // One byte more tells a file that grew from one read in full.
    unsigned char probe = 0;
    const long long more = readSome(&probe, 1, reason);
    if (more < 0) {
        bytes.clear();
        return FileBytes::Status::CannotOpen;
    }
    if (more > 0) {
        bytes.clear();
        reason = ChangedReason(std::to_string(expected) + " bytes when opened, more to read");
        return FileBytes::Status::Changed;
    }
    return FileBytes::Status::Ok;
}

std::string ChangedSizeReason(std::size_t before, unsigned long long after) {
    return ChangedReason(std::to_string(before) + " bytes when opened, " + std::to_string(after) +
                         " once read");
}

}  // namespace ohmlet
