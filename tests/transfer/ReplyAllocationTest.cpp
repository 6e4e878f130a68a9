// How much the serial decoder allocates for a reply that claims more than it holds.
// Its own binary: it counts every allocation of the process.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "transfer/ReplyDecoder.h"

namespace {
std::atomic<std::size_t> g_largest{0};
}

void* operator new(std::size_t size) {
    std::size_t seen = g_largest.load();
    while (size > seen && !g_largest.compare_exchange_weak(seen, size)) {
    }
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace ohmlet {
namespace {

// Found by the fuzzer: eight header bytes claiming 65,535 components made the decoder
// allocate them all (about 13 MB) before finding that not even one was there.
TEST(ReplyAllocation, ComponentCountAloneAllocatesNothingLarge) {
    struct Case {
        const char* what;
        ByteBuffer reply;
    } cases[] = {
        {"header only", {0, 0, 0, 0, 0xff, 0xff, 0, 8}},
        {"L beyond the bytes", {0, 0, 0, 0, 0xff, 0xff, 0xff, 0xff, 1, 2, 3}},
        {"one empty block",
         {0, 0, 0, 0, 0xff, 0xff, 0, 22, 0, 0, 0, 1, 26, 1, 1, 0, 20, 0, 0, 0, 0, 50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_largest = 0;
        DecodedReply r = DecodeSerialReply(c.reply);
        EXPECT_EQ(r.code, DecodedReply::Status::Inconsistent);
        EXPECT_NE(r.cause.find("of 65535"), std::string::npos) << r.cause;
        EXPECT_LT(g_largest.load(), 4096u);
    }
}

}  // namespace
}  // namespace ohmlet
