#pragma once
// The USB download over a Ch375 chip: open the device, then request block 0, 1, ...
// until the heads are in, then 168, 169, ... for the point area, until the transfer
// buffer holds a complete reply; then the end request and close. Plain C++, so the
// worker thread, the command line and the tests all run the same steps.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "transfer/Ch375.h"
#include "transfer/LinkStatus.h"
#include "transfer/ReplyDecoder.h"

namespace ohmlet {

// State of one connection, shared by the UI and the worker and kept alive by both,
// so a dialog that goes away first leaves nothing dangling.
struct UsbConnection {
    UsbConnection(std::unique_ptr<Ch375> chip, unsigned deviceIndex)
        : chip(std::move(chip)), deviceIndex(deviceIndex) {}
    const std::unique_ptr<Ch375> chip;
    const unsigned deviceIndex;
    std::atomic<bool> connectionOpen{false};
    std::atomic<bool> workerRunning{false};
    std::atomic<bool> cancelRequested{false};
    std::atomic<uint64_t> received{0};
    std::atomic<uint64_t> expected{0};
};

struct UsbOpenOutcome {
    bool ok = true;
    std::string message;  // the "DEBUG372" box text when not ok
    LinkResult cause;
};

// Opens the device and checks it has a name to talk to. A failure leaves nothing open.
UsbOpenOutcome OpenUsbConnection(UsbConnection& connection);

struct UsbTransferOutcome {
    enum class Status {
        Complete,       // reply holds a complete USB reply
        RequestFailed,  // "端点2下传失败！..."
        ReadFailed,     // no message box; the cause is kept
        Cancelled,
        BadReply,  // the instrument's answers cannot make a reply
    };
    Status status = Status::Complete;
    std::string message;
    LinkResult cause;
    ByteBuffer reply;  // every byte that belongs to the reply, complete or not
};

// Runs the block loop on an open connection, then sends the end request and closes
// the device whatever happened. progress runs after every block, on this thread.
UsbTransferOutcome RunUsbTransfer(UsbConnection& connection,
                                  const std::function<void()>& progress = {});

// Asks a running transfer to stop: it ends at its next step, the call in progress
// is aborted. Safe from any thread.
void RequestUsbCancel(UsbConnection& connection);

// Aborts what is pending, closes the device; does nothing when it is not open.
void CloseUsbConnection(UsbConnection& connection);

}  // namespace ohmlet
