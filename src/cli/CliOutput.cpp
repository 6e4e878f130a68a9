#include "cli/CliOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <streambuf>
#include <string>

#include "cli/CliCommon.h"

namespace ohmlet::cli {
namespace {

// Hands full blocks to an unbuffered stdout, so errno right after a short fwrite is the
// cause. After the first failure the rest is dropped: there is no one left to read it.
class CheckedBuffer : public std::streambuf {
public:
    CheckedBuffer() { setp(block_, block_ + sizeof block_); }

    bool Failed() const { return failed_; }
    int Cause() const { return cause_; }

protected:
    int_type overflow(int_type c) override {
        if (!Drain()) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }

    int sync() override { return Drain() ? 0 : -1; }

private:
    bool Drain() {
        const auto size = static_cast<std::size_t>(pptr() - pbase());
        setp(block_, block_ + sizeof block_);
        if (failed_) return false;
        if (size == 0) return true;
        errno = 0;
        if (std::fwrite(block_, 1, size, stdout) == size) return true;
        failed_ = true;
        cause_ = errno;
        return false;
    }

    char block_[1 << 16];
    bool failed_ = false;
    int cause_ = 0;
};

CheckedBuffer& Buffer() {
    static CheckedBuffer buffer;
    return buffer;
}

}  // namespace

void BeginOutput() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::cout.rdbuf(&Buffer());
}

int FinishOutput(int code) {
    std::cout.flush();
    bool failed = Buffer().Failed() || std::ferror(stdout) != 0;
    int cause = Buffer().Cause();
    // Nothing may reach the buffer once stdout is closed, not even the flush at exit.
    std::cout.rdbuf(nullptr);
    errno = 0;
    // A stdout closed from the start is no error for a command that printed nothing: any
    // write would have failed above.
    if (std::fclose(stdout) != 0 && errno != EBADF && !failed) {
        failed = true;
        cause = errno;
    }
    if (!failed) return code;
    std::string message = "cannot write the output";
    if (cause != 0) message += std::string(": ") + std::strerror(cause);
    Fail(kExitIo, message + ".");
    return code == kExitOk ? kExitIo : code;
}

}  // namespace ohmlet::cli
