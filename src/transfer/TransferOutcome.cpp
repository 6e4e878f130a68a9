#include "transfer/TransferOutcome.h"

#include "data/DzlFile.h"
#include "transfer/TransferTexts.h"

namespace ohmlet {

TransferOutcome DecodeAndWrite(ReplyLayout layout, const ByteBuffer& reply,
                               const std::string& path) {
    TransferOutcome result;
    DecodedReply decoded = DecodeReply(layout, reply);
    switch (decoded.code) {
        case DecodedReply::Status::NoData:
            result.code = TransferCode::NoData;
            result.text = transfer_texts::kNoData;
            return result;
        case DecodedReply::Status::Inconsistent:
            result.code = TransferCode::Inconsistent;
            result.text = transfer_texts::kBadReply;
            result.cause = decoded.cause;
            return result;
        case DecodedReply::Status::Ok:
            break;
    }
    result.componentCount = static_cast<int>(decoded.components.size());
    DzlWriteResult written = WriteDzlFile(path, decoded.components);
    if (!written.Ok()) {
        result.code = TransferCode::WriteFailed;
        result.text = transfer_texts::kCannotWrite;
        result.cause = written.text;
        return result;
    }
    result.text = transfer_texts::kTransferEnded;
    return result;
}

}  // namespace ohmlet
