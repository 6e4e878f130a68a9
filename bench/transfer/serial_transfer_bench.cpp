// How long a serial download of a 5 kB reply takes against the virtual instrument
// on a pseudo-terminal, next to the time the bytes need on a 2400-baud line.
// Run by hand: build/bin/serial_transfer_bench
#include <QCoreApplication>
#include <QElapsedTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "transfer/Download.h"
#include "transfer/PseudoTerminal.h"
#include "transfer/ReplyEncoder.h"
#include "transfer/SerialLink.h"
#include "transfer/TransferOutcome.h"
#include "transfer/sim/SerialSimulator.h"

using namespace ohmlet;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // Ten components of 243 readings: 8 + 10 × (14 + 486) = 5008 bytes.
    std::vector<Component> components(10);
    for (std::size_t k = 0; k < components.size(); ++k) {
        components[k].SetNumber("000" + std::to_string(k));
        components[k].ResizePoints(243);
        for (int i = 0; i < 243; ++i) components[k].points[i].value = 20 + (i * 13 + int(k)) % 60;
    }
    EncodedReply reply = EncodeSerialReply(components);
    std::string error;
    auto pty = PseudoTerminal::Open(error);
    if (!reply.Ok() || !pty) {
        std::fprintf(stderr, "setup failed: %s\n", error.c_str());
        return 1;
    }
    std::atomic<bool> stop{false};
    std::thread instrument([&] { RunSerialSimulator(*pty, reply.bytes, stop); });

    ByteBuffer buffer;
    SerialLink link(pty->PortPath());
    int reads = 0;
    QElapsedTimer clock;
    clock.start();
    LinkResult opened = link.Open();
    if (!opened.Ok()) {
        std::fprintf(stderr, "cannot open %s: %s\n", pty->PortPath().c_str(),
                     DescribeLinkResult(opened).c_str());
        stop = true;
        instrument.join();
        return 1;
    }
    const std::atomic<bool> cancel{false};
    DownloadOutcome download = RunSerialDownload(
        link, buffer, cancel, [&](std::size_t, std::size_t) { ++reads; }, 120000);
    link.Close();
    double transfer = clock.nsecsElapsed() / 1e9;
    bool complete = download.Ok() && IsSerialReplyComplete(buffer);

    QElapsedTimer decodeClock;
    decodeClock.start();
    TransferOutcome result =
        DecodeAndWrite(ReplyLayout::Serial, buffer, "/tmp/serial_transfer_bench.DZL");
    double decode = decodeClock.nsecsElapsed() / 1e6;
    stop = true;
    instrument.join();

    double line = reply.bytes.size() * 10.0 / 2400.0;
    std::printf("reply                 %zu bytes, %zu components\n", reply.bytes.size(),
                components.size());
    std::printf("line time (2400 baud) %.3f s\n", line);
    std::printf("transfer              %.3f s (%s, %d reads with data)\n", transfer,
                complete ? "complete" : "INCOMPLETE", reads);
    std::printf("over the line time    %.0f ms (a read waits at most %d ms)\n",
                (transfer - line) * 1000, kSerialPollMs);
    std::printf("decode and write      %.2f ms (%s)\n", decode,
                result.Ok() ? "written" : result.cause.c_str());
    return complete && result.Ok() ? 0 : 1;
}
