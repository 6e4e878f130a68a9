#pragma once
// The outcome of a call on an instrument link, keeping its cause.
#include <string>

#include "data/Outcome.h"

namespace ohmlet {

enum class LinkStatus {
    Ok,
    NoSuchDevice,
    PermissionDenied,
    InUse,
    TimedOut,
    Aborted,
    Failed,  // any other cause, described in the cause
};

// text: the program's fixed message where the link has one (the USB open boxes);
// cause: the system's words.
using LinkResult = Outcome<LinkStatus>;

inline LinkResult LinkFailure(LinkStatus code, std::string cause, std::string text = {}) {
    return {code, std::move(text), std::move(cause)};
}

// One English sentence for the user: what went wrong, a hint where one helps, the cause.
std::string DescribeLinkResult(const LinkResult& result);

}  // namespace ohmlet
