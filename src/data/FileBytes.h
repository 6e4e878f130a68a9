#pragma once
// A regular file's bytes, read into memory. Anything else is refused before a byte is
// read, so a folder, a FIFO or a device neither hangs nor floods memory. The bytes are
// copied, not mapped: a mapped file that another program cuts short kills the reader.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace ohmlet {

class FileBytes {
public:
    enum class Status { Ok, CannotOpen, NotRegular, TooLarge, Changed };

    // `reason` is filled with why the file cannot be read, without the file's name.
    // Changed: the file was written to while it was read; reading it again may work.
    Status Open(const std::string& path, std::string& reason,
                std::size_t maxBytes = static_cast<std::size_t>(-1));
    const unsigned char* data() const { return bytes_.data(); }
    std::size_t size() const { return bytes_.size(); }

private:
    std::vector<unsigned char> bytes_;
};

// Reads up to `size` bytes into `into`: how many it read, 0 at the end of the file, or
// -1 with `error` set.
using ReadSome =
    std::function<long long(unsigned char* into, std::size_t size, std::string& error)>;

// The read loop under every system: reads until the end of the file, expecting `expected`
// bytes because that was the file's size when it was opened, and never more than one
// byte past them. Fewer or more bytes mean the file changed while it was read.
FileBytes::Status ReadExpectedBytes(const ReadSome& readSome, std::size_t expected,
                                    std::vector<unsigned char>& bytes, std::string& reason);

// The reason given when the size at the end differs from the size at the start.
std::string ChangedSizeReason(std::size_t before, unsigned long long after);

}  // namespace ohmlet
