#pragma once
// The outcome of a call on an instrument link, keeping its cause.
#include <string>

namespace ohmlet {

enum class LinkStatus {
    Ok,
    NoSuchDevice,
    PermissionDenied,
    InUse,
    TimedOut,
    Aborted,
    Failed,  // any other cause, described in the detail
};

struct LinkResult {
    LinkStatus status = LinkStatus::Ok;
    std::string detail;  // the system's words, when there are any
    bool ok() const { return status == LinkStatus::Ok; }
    static LinkResult Success() { return {}; }
};

// One English sentence for the user: the cause, and a hint where one helps.
std::string DescribeLinkResult(const LinkResult& result);

}  // namespace ohmlet
