// ohmlet-cli simulate: a virtual instrument on a pseudo-terminal that answers every
// "BHV20!" at the pace of a 2400-baud line.
#include <atomic>
#include <csignal>
#include <fstream>
#include <iostream>

#include "cli/CliCommands.h"
#include "data/DzlFile.h"
#include "transfer/PseudoTerminal.h"
#include "transfer/ReplyEncoder.h"
#include "transfer/sim/SerialSimulator.h"

namespace ohmlet::cli {

namespace {

std::atomic<bool> stopRequested{false};

void OnSignal(int) { stopRequested = true; }

}  // namespace

int RunSimulate(Args args) {
    std::string from, replyFile;
    if (!TakeOption(args, "--from", "--from", from) ||
        !TakeOption(args, "--reply", "--reply", replyFile) || !TakeFlag(args, "--serial") ||
        !args.empty() || (!from.empty() && !replyFile.empty())) {
        return UsageError("usage: simulate --serial [--from FILE.DZL | --reply REPLY.bin]", args);
    }
    ByteBuffer reply;
    if (!replyFile.empty()) {
        std::ifstream in(replyFile, std::ios::binary);
        if (!in) return Fail(kExitIo, "Cannot open " + replyFile + ".");
        reply.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } else {
        std::vector<Component> components;
        if (!from.empty()) {
            DzlReadResult file = ReadDzlWarning(from);
            if (!file.Ok()) return Fail(kExitIo, file.text);
            components = std::move(file.components);
        }
        // Without a file the instrument holds nothing, and says so.
        EncodedReply encoded = EncodeSerialReply(components);
        if (!encoded.Ok()) return Fail(kExitIo, from + " cannot be sent: " + encoded.cause);
        reply = std::move(encoded.bytes);
    }

    std::string error;
    auto pty = PseudoTerminal::Open(error);
    if (!pty) return Fail(kExitIo, error);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::cout << pty->PortPath() << std::endl;
    LinkResult ran = RunSerialSimulator(*pty, reply, stopRequested, kSerialBytesPerSecond,
                                        [](const std::string& line) { std::cerr << line << '\n'; });
    if (!ran.Ok())
        return Fail(kExitIo, "The pseudo-terminal failed: " + DescribeLinkResult(ran) + ".");
    return kExitOk;
}

const CommandHelp kSimulateHelp = {
    "Runs a virtual instrument on a pseudo-terminal and prints its port name; stop it with "
    "Ctrl+C.",
    {{"--serial", "Simulate the serial instrument (the only kind so far)."},
     {"--from FILE.DZL", "Send the components of this file (without it: no data)."},
     {"--reply REPLY.bin", "Send these bytes as the reply."}}};

}  // namespace ohmlet::cli
