#pragma once
// What a transfer came to: the text the user is shown and the cause behind it.
#include <string>

#include "data/Criterion.h"
#include "data/Outcome.h"
#include "transfer/LinkStatus.h"
#include "transfer/ReplyDecoder.h"

namespace ohmlet {

enum class TransferCode {
    Written,        // "数据传输结束!"
    NoData,         // "没有数据，请测试数据后再进行传输!"
    Inconsistent,   // the counts overrun the reply: nothing written
    WriteFailed,    // the file could not be written: the previous one is intact
    RequestFailed,  // USB: a block request could not be sent
    ReadFailed,     // the link failed while receiving; no box, the cause is shown
    BadBlocks,      // USB: the instrument's answers cannot make a reply
    Stalled,        // nothing arrived for the idle time allowed
    Cancelled,
};

struct TransferOutcome : Outcome<TransferCode> {
    int componentCount = 0;            // when written
    LinkStatus link = LinkStatus::Ok;  // the link's own code when it failed
    ByteBuffer received;               // what arrived, when the transfer did not end written
};

// Decodes a complete reply and writes it as a DZL file at path. Only a reply that
// decodes to components is written, and it replaces the file only once it is whole.
// The instrument sends no pass band: a component that comes without one gets `fill`
// as its criterion, so the file and everything made from it judge alike.
TransferOutcome DecodeAndWrite(ReplyLayout layout, const ByteBuffer& reply, const std::string& path,
                               const Criterion& fill = BuiltInDownloadCriterion());

}  // namespace ohmlet
