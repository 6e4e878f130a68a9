#pragma once
// One USB download step by step, as the session's worker runs it: open the link, run
// the block loop, close. Tests look at each step and at the chip in between.
#include <atomic>
#include <memory>

#include "transfer/Ch375Link.h"
#include "transfer/Download.h"

namespace ohmlet::test {

struct UsbRun {
    UsbRun(std::unique_ptr<Ch375> chip, unsigned index) : link(std::move(chip), index, clock) {}

    LinkResult Open() { return link.Open(); }
    DownloadOutcome Run() {
        DownloadOutcome out =
            RunUsbDownload(link, reply, cancel, [this](std::size_t r, std::size_t e) {
                received = r;
                expected = e;
            });
        link.Close();
        return out;
    }
    // As the session cancels: the flag, then an abort of the call in progress.
    void Cancel() {
        cancel = true;
        link.Abort();
    }

    SimulatedClock clock;  // the close's pauses take no real time
    Ch375Link link;
    std::atomic<bool> cancel{false};
    ByteBuffer reply;
    std::size_t received = 0, expected = 0;
};

}  // namespace ohmlet::test
