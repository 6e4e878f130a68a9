// How long a serial download of a 5 kB reply takes against the virtual instrument
// on a pseudo-terminal, next to the time the bytes need on a 2400-baud line.
// Run by hand: build/bin/serial_transfer_bench
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "transfer/PseudoTerminal.h"
#include "transfer/ReplyEncoder.h"
#include "transfer/SerialLink.h"
#include "transfer/SerialSimulator.h"
#include "transfer/SerialTransport.h"
#include "transfer/TransferResult.h"

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
    if (!reply.ok || !pty) {
        std::fprintf(stderr, "setup failed: %s\n", error.c_str());
        return 1;
    }
    std::atomic<bool> stop{false};
    std::thread instrument([&] { RunSerialSimulator(*pty, reply.bytes, stop); });

    ByteBuffer buffer;
    SerialLink link(buffer);
    QEventLoop loop;
    int polls = 0;
    QObject::connect(&link, &SerialLink::replyComplete, &loop, &QEventLoop::quit);
    QObject::connect(&link, &SerialLink::progress, [&] { ++polls; });
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    LinkResult opened =
        link.Start(std::make_unique<SerialTransport>(QString::fromStdString(pty->PortPath())));
    if (!opened.ok()) {
        std::fprintf(stderr, "cannot open %s: %s\n", pty->PortPath().c_str(),
                     DescribeLinkResult(opened).c_str());
        stop = true;
        instrument.join();
        return 1;
    }
    loop.exec();
    double transfer = clock.nsecsElapsed() / 1e9;
    bool complete = !link.IsRunning() && IsSerialReplyComplete(buffer);

    QElapsedTimer decodeClock;
    decodeClock.start();
    TransferResult result =
        CompleteTransfer(ReplyLayout::Serial, buffer, "/tmp/serial_transfer_bench.DZL");
    double decode = decodeClock.nsecsElapsed() / 1e6;
    stop = true;
    instrument.join();

    double line = reply.bytes.size() * 10.0 / 2400.0;
    std::printf("reply                 %zu bytes, %zu components\n", reply.bytes.size(),
                components.size());
    std::printf("line time (2400 baud) %.3f s\n", line);
    std::printf("transfer              %.3f s (%s, %d polls with data)\n", transfer,
                complete ? "complete" : "INCOMPLETE", polls);
    std::printf("over the line time    %.0f ms (one poll interval is %d ms)\n",
                (transfer - line) * 1000, kSerialPollMs);
    std::printf("decode and write      %.2f ms (%s)\n", decode,
                result.written() ? "written" : result.detail.c_str());
    return complete && result.written() ? 0 : 1;
}
