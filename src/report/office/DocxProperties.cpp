#include "report/office/DocxProperties.h"

#include <pugixml.hpp>
#include <sstream>

namespace ohmlet {

namespace {

constexpr char kProduct[] = "Ohmlet";

// The child of `parent` whose name ends in ":local" (any prefix), made when missing.
pugi::xml_node Child(pugi::xml_node parent, const char* qualified) {
    const std::string local = std::string(qualified).substr(std::string(qualified).find(':') + 1);
    for (pugi::xml_node child : parent.children()) {
        const std::string name = child.name();
        const std::size_t colon = name.find(':');
        if ((colon == std::string::npos ? name : name.substr(colon + 1)) == local) return child;
    }
    return parent.append_child(qualified);
}

void SetText(pugi::xml_node node, const char* text) {
    node.remove_children();
    node.append_child(pugi::node_pcdata).set_value(text);
}

}  // namespace

std::string StampDocumentProperties(const std::string& partName, const std::string& xml,
                                    const std::string& isoTime) {
    const bool core = partName == "docProps/core.xml";
    const bool app = partName == "docProps/app.xml";
    if (!core && !app) return xml;
    pugi::xml_document doc;
    if (!doc.load_buffer(xml.data(), xml.size(), pugi::parse_default | pugi::parse_declaration))
        return xml;
    pugi::xml_node root = doc.document_element();
    if (core) {
        SetText(Child(root, "dc:creator"), kProduct);
        SetText(Child(root, "cp:lastModifiedBy"), kProduct);
        for (const char* when : {"dcterms:created", "dcterms:modified"})
            SetText(Child(root, when), isoTime.c_str());
    } else {
        SetText(Child(root, "Application"), kProduct);
        root.remove_child("AppVersion");  // the version of the program named before
    }
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw);
    return out.str();
}

}  // namespace ohmlet
