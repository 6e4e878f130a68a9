#include "transfer/LinkStatus.h"

namespace ohmlet {

std::string DescribeLinkResult(const LinkResult& result) {
    std::string text;
    switch (result.code) {
        case LinkStatus::Ok:
            return "no error";
        case LinkStatus::NoSuchDevice:
            text = "no such device";
            break;
        case LinkStatus::PermissionDenied:
            text =
                "permission denied (for USB install the udev rule 60-ohmlet-ch375.rules shipped "
                "with Ohmlet, for serial ports join the dialout group)";
            break;
        case LinkStatus::InUse:
            text = "the port is in use by another program";
            break;
        case LinkStatus::TimedOut:
            text = "timed out";
            break;
        case LinkStatus::Aborted:
            text = "aborted";
            break;
        case LinkStatus::Failed:
            text = "failed";
            break;
    }
    if (!result.cause.empty()) text += ": " + result.cause;
    return text;
}

}  // namespace ohmlet
