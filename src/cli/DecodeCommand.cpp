// ohmlet-cli decode: a captured instrument reply into a DZL file, so a user's failing
// download can be looked at (and kept as a test case).
#include <iostream>

#include "cli/CliCommands.h"
#include "data/FileBytes.h"
#include "transfer/ReplyDecoder.h"
#include "transfer/TransferOutcome.h"

namespace ohmlet::cli {

namespace {

// A USB reply is at most 16·65536 + 65535 bytes; anything much larger is not one.
constexpr std::size_t kMaxReplyFile = 4 * 1024 * 1024;

}  // namespace

int RunDecode(Args args) {
    std::string output;
    if (!TakeOption(args, "-o", "--output", output)) return UsageError("-o needs a file name.");
    bool serial = TakeFlag(args, "--serial");
    bool usb = TakeFlag(args, "--usb");
    if (serial == usb || args.size() != 1 || output.empty())
        return UsageError("usage: decode --serial|--usb REPLY.bin -o OUT.DZL", args);
    const std::string& input = args[0];
    FileBytes file;
    std::string reason;
    switch (file.Open(input, reason, kMaxReplyFile)) {
        case FileBytes::Status::Ok:
            break;
        case FileBytes::Status::TooLarge:
            return Fail(kExitBadReply, input + " is too large to be an instrument reply.");
        default:
            return Fail(kExitIo, "Cannot open " + input + ": " + reason + ".");
    }
    ByteBuffer reply(file.data(), file.data() + file.size());
    if (reply.size() < kSerialHeaderSize) {
        return Fail(kExitBadReply,
                    input +
                        (reply.empty() ? std::string(" is empty")
                                       : " holds only " + std::to_string(reply.size()) +
                                             (reply.size() == 1 ? " byte" : " bytes")) +
                        ": an instrument reply starts with an " +
                        std::to_string(kSerialHeaderSize) + "-byte header.");
    }

    ReplyLayout layout = serial ? ReplyLayout::Serial : ReplyLayout::Usb;
    bool complete = serial ? IsSerialReplyComplete(reply) : IsUsbReplyComplete(reply);
    if (!complete) {
        return Fail(kExitBadReply, input + " holds an incomplete " + (serial ? "serial" : "USB") +
                                       " reply: " + std::to_string(reply.size()) + " of " +
                                       std::to_string(ExpectedReplySize(layout, reply)) +
                                       " bytes.");
    }
    TransferOutcome result = DecodeAndWrite(layout, reply, output);
    switch (result.code) {
        case TransferCode::Written:
            std::cout << output << ": " << result.componentCount << " components\n";
            return kExitOk;
        case TransferCode::NoData:
            return Fail(kExitNoData,
                        input + " holds no data (the instrument reported no components).");
        case TransferCode::Inconsistent:
            return Fail(kExitBadReply, input + " is inconsistent: " + result.cause);
        case TransferCode::WriteFailed:
            return Fail(kExitIo, result.cause);
        default:  // only a download ends otherwise
            break;
    }
    return kExitIo;
}

const CommandHelp kDecodeHelp = {"Decodes a captured instrument reply into a DZL file.",
                                 {{"--serial", "The reply came over a serial port."},
                                  {"--usb", "The reply came over USB."},
                                  {"-o, --output OUT.DZL", "The DZL file to write."}}};

}  // namespace ohmlet::cli
