// Where the caption and the table go in templates of other shapes than ours.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "report/office/WordTemplateDocument.h"

namespace ohmlet::test {
namespace {

const std::string kNs = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";

struct TemplateCase {
    const char* name;
    std::string xml;
    // The body's elements after filling, the table as "tbl"; empty: the template is refused.
    std::string body;
    std::string prefix;
    int textWidth;
};

void PrintTo(const TemplateCase& c, std::ostream* out) { *out << c.name; }

class WordTemplateShapes : public ::testing::TestWithParam<TemplateCase> {};

TEST_P(WordTemplateShapes, CaptionFirstTableLast) {
    const TemplateCase& c = GetParam();
    WordTemplateDocument page = OpenWordTemplateDocument(c.xml, "CAP");
    if (c.body.empty()) {
        EXPECT_FALSE(page.Ok());
        EXPECT_FALSE(page.cause.empty());
        return;
    }
    ASSERT_TRUE(page.Ok()) << page.cause;
    EXPECT_EQ(page.prefix, c.prefix);
    EXPECT_EQ(page.textWidth, c.textWidth);

    const std::string w = page.prefix;
    const std::string filled = page.before + "<" + w + ":tbl/>" + page.after;
    pugi::xml_document xml;
    ASSERT_TRUE(xml.load_string(filled.c_str(), pugi::parse_default | pugi::parse_ws_pcdata))
        << filled;
    pugi::xml_node body = xml.document_element().child((w + ":body").c_str());
    std::string names;
    for (pugi::xml_node child : body.children()) {
        if (child.type() != pugi::node_element) continue;
        std::string name = child.name();
        names += (names.empty() ? "" : " ") + name.substr(name.find(':') + 1);
    }
    EXPECT_EQ(names, c.body);
    EXPECT_EQ(std::string(body.first_child().first_child().first_child().text().get()), "CAP");
    // Texts of the template survive, blanks included.
    if (c.xml.find("xml:space") != std::string::npos) {
        EXPECT_NE(filled.find("<" + w + ":t xml:space=\"preserve\">  </" + w + ":t>"),
                  std::string::npos)
            << filled;
    }
}

std::string Document(const std::string& prefix, const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<" + prefix +
           ":document xmlns:" + prefix + "=\"" + kNs + "\"><" + prefix + ":body>" + body + "</" +
           prefix + ":body></" + prefix + ":document>";
}

const std::string kSect =
    "<w:sectPr><w:pgSz w:w=\"11906\" w:h=\"16838\"/><w:pgMar w:left=\"1000\" "
    "w:right=\"906\"/></w:sectPr>";

INSTANTIATE_TEST_SUITE_P(
    Cases, WordTemplateShapes,
    ::testing::Values(
        TemplateCase{"EmptyLastParagraphFollowsTheTable", Document("w", "<w:p/>" + kSect),
                     "p tbl p sectPr", "w", 10000},
        TemplateCase{
            "TextAtTheEndGetsAParagraphAfterTheTable",
            Document("w", "<w:p><w:r><w:t xml:space=\"preserve\">  </w:t></w:r></w:p>" + kSect),
            "p p tbl p sectPr", "w", 10000},
        TemplateCase{"NoSectionProperties", Document("w", "<w:p><w:r><w:t>x</w:t></w:r></w:p>"),
                     "p p tbl p", "w", 9638},
        TemplateCase{"EmptyBody", Document("w", ""), "p tbl p", "w", 9638},
        TemplateCase{"OtherPrefix", Document("ns0", "<ns0:p/>"), "p tbl p", "ns0", 9638},
        TemplateCase{"NotXml", "<w:document><w:body>", "", "", 0},
        TemplateCase{"NoBody", "<w:document xmlns:w=\"" + kNs + "\"/>", "", "", 0},
        TemplateCase{"NotADocument", "<w:styles xmlns:w=\"" + kNs + "\"/>", "", "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ohmlet::test
