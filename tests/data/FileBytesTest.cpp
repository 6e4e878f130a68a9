#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "data/FileBytes.h"

namespace ohmlet {
namespace {

// The read loop against a file whose bytes differ from the size it had when opened:
// the source hands out `there` in pieces of at most `piece` bytes and fails once
// `failAt` bytes are read.
TEST(FileBytes, ReadLoopTellsAChangedFileFromAWholeOne) {
    struct Case {
        const char* what;
        std::string there;
        std::size_t expected;
        std::size_t piece;
        std::size_t failAt;
        FileBytes::Status status;
        const char* reason;  // a part of it
    } cases[] = {
        {"in one read", "0123456789", 10, 64, SIZE_MAX, FileBytes::Status::Ok, ""},
        {"a byte at a time", "0123456789", 10, 1, SIZE_MAX, FileBytes::Status::Ok, ""},
        {"cut short", "0123", 10, 3, SIZE_MAX, FileBytes::Status::Changed,
         "changed while it was read (10 bytes when opened, 4 there to read)"},
        {"emptied", "", 10, 64, SIZE_MAX, FileBytes::Status::Changed, "0 there to read"},
        {"grown", "0123456789ab", 10, 64, SIZE_MAX, FileBytes::Status::Changed,
         "changed while it was read (10 bytes when opened, more to read)"},
        {"grown from empty", "x", 0, 64, SIZE_MAX, FileBytes::Status::Changed, "more to read"},
        {"failing on the way", "0123456789", 10, 4, 4, FileBytes::Status::CannotOpen,
         "Input/output error"},
    };
    for (const Case& k : cases) {
        std::size_t at = 0;
        const ReadSome source = [&](unsigned char* into, std::size_t size,
                                    std::string& error) -> long long {
            if (at >= k.failAt) {
                error = "Input/output error";
                return -1;
            }
            const std::size_t n = std::min({size, k.piece, k.there.size() - at});
            std::copy_n(k.there.data() + at, n, into);
            at += n;
            return static_cast<long long>(n);
        };
        std::vector<unsigned char> bytes{'o', 'l', 'd'};
        std::string reason;
        EXPECT_EQ(ReadExpectedBytes(source, k.expected, bytes, reason), k.status) << k.what;
        EXPECT_NE(reason.find(k.reason), std::string::npos) << k.what << ": " << reason;
        const std::string read(bytes.begin(), bytes.end());
        EXPECT_EQ(read, k.status == FileBytes::Status::Ok ? k.there : "") << k.what;
        // Never more than one byte past what the size promised, however much is there.
        EXPECT_LE(at, k.expected + 1) << k.what;
    }
}

}  // namespace
}  // namespace ohmlet
