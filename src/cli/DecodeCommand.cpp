// ohmlet-cli decode: a captured instrument reply into a DZL file, so a user's failing
// download can be looked at (and kept as a test case).
#include <fstream>
#include <iostream>
#include <iterator>

#include "CliCommands.h"
#include "ReplyDecoder.h"
#include "TransferResult.h"

namespace ohmlet::cli {

namespace {

// A USB reply is at most 16·65536 + 65535 bytes; anything much larger is not one.
constexpr std::streamoff kMaxReplyFile = 4 * 1024 * 1024;

int RunDecode(Args args) {
    std::string output;
    if (!TakeOption(args, "-o", "--output", output)) return UsageError("-o needs a file name.");
    bool serial = TakeFlag(args, "--serial");
    bool usb = TakeFlag(args, "--usb");
    if (serial == usb || args.size() != 1 || output.empty())
        return UsageError("usage: decode --serial|--usb REPLY.bin -o OUT.DZL");
    const std::string& input = args[0];
    std::ifstream in(input, std::ios::binary);
    if (!in) return Fail(kExitIo, "Cannot open " + input + ".");
    in.seekg(0, std::ios::end);
    std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size < 0 || size > kMaxReplyFile)
        return Fail(kExitBadReply, input + " is too large to be an instrument reply.");
    ByteBuffer reply(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(reply.data()), size);
    if (in.gcount() != size) return Fail(kExitIo, "Cannot read " + input + ".");

    ReplyLayout layout = serial ? ReplyLayout::Serial : ReplyLayout::Usb;
    bool complete = serial ? IsSerialReplyComplete(reply) : IsUsbReplyComplete(reply);
    if (!complete) {
        return Fail(kExitBadReply, input + " holds an incomplete " + (serial ? "serial" : "USB") +
                                       " reply: " + std::to_string(reply.size()) + " of " +
                                       std::to_string(ExpectedReplySize(layout, reply)) +
                                       " bytes.");
    }
    TransferResult result = DecodeAndWrite(layout, reply, output);
    switch (result.status) {
        case TransferResult::Status::Written:
            std::cout << output << ": " << result.componentCount << " components\n";
            return kExitOk;
        case TransferResult::Status::NoData:
            return Fail(kExitNoData,
                        input + " holds no data (the instrument reported no components).");
        case TransferResult::Status::Inconsistent:
            return Fail(kExitBadReply, input + " is inconsistent: " + result.detail);
        case TransferResult::Status::WriteFailed:
            return Fail(kExitIo, result.detail);
    }
    return kExitIo;
}

const CommandRegistration kRegistration("decode", "--serial|--usb REPLY.bin -o OUT.DZL", RunDecode);

}  // namespace
}  // namespace ohmlet::cli
