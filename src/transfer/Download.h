#pragma once
// The two download protocols as plain functions over a link, so the session's worker,
// the benchmarks and the tests all run the same steps. Both expect an open link and
// leave closing it to the caller; both check cancel between steps (an Abort on the
// link ends the step in progress) and report progress as (bytes received, bytes
// expected, 0 until the header is in).
#include <atomic>
#include <cstddef>
#include <functional>

#include "data/Outcome.h"
#include "transfer/Clock.h"
#include "transfer/Link.h"
#include "transfer/ReplyDecoder.h"

namespace ohmlet {

inline constexpr char kDownloadRequest[] = "BHV20!";
inline constexpr int kSerialPollMs = 200;
inline constexpr std::size_t kSerialReceiveArea = 1024;

enum class DownloadCode {
    Complete,       // the reply is whole
    Cancelled,      // the cancel flag was set
    RequestFailed,  // a USB block request could not be sent: "端点2下传失败！..."
    ReadFailed,     // the link failed while receiving
    BadReply,       // the instrument's answers cannot make a reply: kBadReply
    Stalled,        // nothing arrived for the idle time allowed
};

struct DownloadOutcome : Outcome<DownloadCode> {
    LinkStatus link = LinkStatus::Ok;  // the link's own code when it failed
};

using DownloadProgress = std::function<void(std::size_t received, std::size_t expected)>;

// Sends "BHV20!" once, then appends what arrives to reply until it holds a complete
// serial reply. The user cancels; idleMs > 0 gives up after that long without a byte,
// measured on clock.
DownloadOutcome RunSerialDownload(Link& link, ByteBuffer& reply, const std::atomic<bool>& cancel,
                                  const DownloadProgress& progress = {}, int idleMs = 0,
                                  Clock& clock = SystemClock::Instance());

// Requests block 0, 1, ... until the heads are in, then 168, 169, ... for the point
// area, until reply holds a complete USB reply; then sends the end request whatever
// happened. reply keeps every byte that belongs to the reply, complete or not.
DownloadOutcome RunUsbDownload(Link& link, ByteBuffer& reply, const std::atomic<bool>& cancel,
                               const DownloadProgress& progress = {});

}  // namespace ohmlet
