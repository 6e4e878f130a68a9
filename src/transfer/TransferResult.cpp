#include "transfer/TransferResult.h"

#include "data/DzlFile.h"
#include "transfer/TransferTexts.h"

namespace ohmlet {

TransferResult DecodeAndWrite(ReplyLayout layout, const ByteBuffer& reply,
                              const std::string& path) {
    TransferResult result;
    DecodedReply decoded = DecodeReply(layout, reply);
    switch (decoded.status) {
        case DecodedReply::Status::NoData:
            result.status = TransferResult::Status::NoData;
            result.message = transfer_texts::kNoData;
            return result;
        case DecodedReply::Status::Inconsistent:
            result.status = TransferResult::Status::Inconsistent;
            result.message = transfer_texts::kBadReply;
            result.detail = decoded.detail;
            return result;
        case DecodedReply::Status::Ok:
            break;
    }
    result.componentCount = static_cast<int>(decoded.components.size());
    DzlWriteResult written = WriteDzlFile(path, decoded.components);
    if (!written.ok) {
        result.status = TransferResult::Status::WriteFailed;
        result.message = transfer_texts::kCannotWrite;
        result.detail = written.message;
        return result;
    }
    result.message = transfer_texts::kTransferEnded;
    return result;
}

TransferResult CompleteTransfer(ReplyLayout layout, ByteBuffer& transferBuffer,
                                const std::string& path) {
    ByteBuffer reply;
    reply.swap(transferBuffer);
    return DecodeAndWrite(layout, reply, path);
}

}  // namespace ohmlet
