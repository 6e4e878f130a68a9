#include "report/office/WordTemplateDocument.h"

#include <pugixml.hpp>

#include <cstdlib>
#include <cstring>
#include <sstream>
#include <utility>

namespace ohmlet {

namespace {

constexpr char kMainNamespace[] = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr char kTableMark[] = "ohmlet-data-table-goes-here";
// A4 with 2 cm margins, for templates that do not say.
constexpr int kFallbackTextWidth = 9638;

std::string LocalName(const char* name) {
    const char* colon = std::strchr(name, ':');
    return colon ? colon + 1 : name;
}

// The prefix the root binds to WordprocessingML; binds "w" when it has none.
bool ResolvePrefix(pugi::xml_node root, std::string& prefix) {
    for (pugi::xml_attribute a : root.attributes()) {
        if (std::strncmp(a.name(), "xmlns:", 6) == 0 &&
            std::strcmp(a.value(), kMainNamespace) == 0) {
            prefix = a.name() + 6;
            return true;
        }
    }
    if (root.attribute("xmlns:w")) return false;
    root.append_attribute("xmlns:w") = kMainNamespace;
    prefix = "w";
    return true;
}

int Twips(pugi::xml_node node, const std::string& attribute, int fallback) {
    pugi::xml_attribute a = node.attribute(attribute.c_str());
    if (!a) return fallback;
    char* end = nullptr;
    long value = std::strtol(a.value(), &end, 10);
    if (end == a.value() || value < 0 || value > 31680) return fallback;
    return static_cast<int>(value);
}

int TextWidth(pugi::xml_node sectPr, const std::string& w) {
    if (!sectPr) return kFallbackTextWidth;
    pugi::xml_node size = sectPr.child((w + ":pgSz").c_str());
    pugi::xml_node margins = sectPr.child((w + ":pgMar").c_str());
    int width = Twips(size, w + ":w", 11906) - Twips(margins, w + ":left", 1134) -
                Twips(margins, w + ":right", 1134);
    return width >= 1440 ? width : kFallbackTextWidth;
}

// A paragraph that shows nothing: only paragraph properties, if anything.
bool IsEmptyParagraph(pugi::xml_node node, const std::string& w) {
    if (std::string(node.name()) != w + ":p") return false;
    for (pugi::xml_node child : node.children())
        if (child.type() == pugi::node_element && std::string(child.name()) != w + ":pPr")
            return false;
    return true;
}

WordTemplateDocument Unusable(std::string why) {
    WordTemplateDocument result;
    result.code = TemplateCode::Unusable;
    result.cause = std::move(why);
    return result;
}

}  // namespace

WordTemplateDocument OpenWordTemplateDocument(const std::string& documentXml,
                                              const std::string& captionUtf8) {
    WordTemplateDocument result;
    pugi::xml_document xml;
    // Keep whitespace-only texts: a run of blanks in the template is content.
    pugi::xml_parse_result parsed = xml.load_buffer(
        documentXml.data(), documentXml.size(),
        pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata, pugi::encoding_utf8);
    if (!parsed) {
        return Unusable(std::string("its document part is not well-formed XML (") +
                        parsed.description() + ")");
    }
    pugi::xml_node root = xml.document_element();
    if (LocalName(root.name()) != "document" || !ResolvePrefix(root, result.prefix)) {
        return Unusable("its document part is not a Word document body");
    }
    const std::string& w = result.prefix;
    pugi::xml_node body = root.child((w + ":body").c_str());
    if (!body) {
        return Unusable("its document part has no body");
    }

    pugi::xml_node caption = body.prepend_child((w + ":p").c_str());
    caption.append_child((w + ":r").c_str())
        .append_child((w + ":t").c_str())
        .text()
        .set(captionUtf8.c_str());

    // The table goes at the end of the body; Word keeps a paragraph after a table,
    // so an empty last paragraph of the template serves, else one is added.
    pugi::xml_node sectPr = body.last_child();
    if (std::string(sectPr.name()) != w + ":sectPr") sectPr = pugi::xml_node();
    result.textWidth = TextWidth(sectPr, w);
    pugi::xml_node last = sectPr ? sectPr.previous_sibling() : body.last_child();
    while (last && last.type() != pugi::node_element) last = last.previous_sibling();
    pugi::xml_node mark;
    if (last && last != caption && IsEmptyParagraph(last, w)) {
        mark = body.insert_child_before(pugi::node_comment, last);
    } else {
        pugi::xml_node paragraph = sectPr ? body.insert_child_before((w + ":p").c_str(), sectPr)
                                          : body.append_child((w + ":p").c_str());
        mark = body.insert_child_before(pugi::node_comment, paragraph);
    }
    mark.set_value(kTableMark);

    std::ostringstream out;
    xml.save(out, "", pugi::format_raw, pugi::encoding_utf8);
    std::string text = out.str();
    const std::string token = std::string("<!--") + kTableMark + "-->";
    std::size_t at = text.rfind(token);
    if (at == std::string::npos) {
        return Unusable("its document part could not be filled");
    }
    result.before = text.substr(0, at);
    result.after = text.substr(at + token.size());
    return result;
}

}  // namespace ohmlet
