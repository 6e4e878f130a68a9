#pragma once
// The written document's own properties: the template's are those of the day it was made.
#include <string>

namespace ohmlet {

// `xml` of the package part `partName` as this program writes it: the core properties name
// Ohmlet as author and `isoTime` (UTC, as 2026-12-10T08:30:00Z) as created and modified;
// the extended properties name Ohmlet as the application. Other parts come back unchanged,
// and so does a part that cannot be parsed.
std::string StampDocumentProperties(const std::string& partName, const std::string& xml,
                                    const std::string& isoTime);

}  // namespace ohmlet
