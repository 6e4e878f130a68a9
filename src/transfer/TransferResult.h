#pragma once
// What a finished reply came to: the text the user is shown and the cause behind it.
#include <string>

#include "transfer/ReplyDecoder.h"

namespace ohmlet {

struct TransferResult {
    enum class Status {
        Written,       // "数据传输结束!"
        NoData,        // "没有数据，请测试数据后再进行传输!"
        Inconsistent,  // the counts overrun the reply: nothing written
        WriteFailed,   // the file could not be written: the previous one is intact
    };
    Status status = Status::Written;
    std::string message;  // fixed UI text (UTF-8)
    std::string detail;   // the cause, one sentence; empty when written
    int componentCount = 0;
    bool written() const { return status == Status::Written; }
};

// Decodes a complete reply and writes it as a DZL file at path. Only a reply that
// decodes to components is written, and it replaces the file only once it is whole.
TransferResult DecodeAndWrite(ReplyLayout layout, const ByteBuffer& reply, const std::string& path);

// The same on the document's transfer buffer, which is emptied whatever the outcome.
TransferResult CompleteTransfer(ReplyLayout layout, ByteBuffer& transferBuffer,
                                const std::string& path);

}  // namespace ohmlet
