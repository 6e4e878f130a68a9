#pragma once
// The template's main document part, opened where the caption and the data table go.
#include <string>

#include "data/Outcome.h"

namespace ohmlet {

enum class TemplateCode { Opened, Unusable };

// cause: why the part could not be used (UTF-8), empty when it opened.
struct WordTemplateDocument : Outcome<TemplateCode> {
    std::string before;  // up to where the table goes, the caption already in place
    std::string after;   // the rest of the part
    std::string prefix;  // the WordprocessingML namespace prefix used in the part, e.g. "w"
    int textWidth = 0;   // width between the page margins, in twentieths of a point
};

// Puts the caption paragraph at the start of the body and marks the end of the body
// (before the section properties) for the table, which is how the old program placed them.
WordTemplateDocument OpenWordTemplateDocument(const std::string& documentXml,
                                              const std::string& captionUtf8);

}  // namespace ohmlet
