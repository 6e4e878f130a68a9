#include "report/office/WordTableGenerator.h"

#include <algorithm>

#include "report/office/OfficeLayout.h"

namespace ohmlet {

namespace {

// Pieces handed to the zip writer are about this large.
constexpr std::size_t kPieceBytes = 256 * 1024;

void AppendEscaped(std::string& out, const std::string& text) {
    for (char ch : text) {
        switch (ch) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += ch;
        }
    }
}

}  // namespace

WordTableGenerator::WordTableGenerator(const WordTemplateDocument& page,
                                       std::vector<const Component*> components,
                                       std::vector<std::optional<WordPicture>> pictures)
    : page_(page), components_(std::move(components)), pictures_(std::move(pictures)) {
    pictures_.resize(components_.size());
    const std::string& w = page.prefix;
    const int column = page.textWidth / kReadingsPerRow;
    const std::string tableWidth = std::to_string(column * kReadingsPerRow);

    // Single lines all round, fixed equal columns: a plain grid like Word's default table.
    tableStart_ = "<" + w + ":tbl><" + w + ":tblPr><" + w + ":tblW " + w + ":w=\"" + tableWidth +
                  "\" " + w + ":type=\"dxa\"/><" + w + ":tblBorders>";
    for (const char* edge : {"top", "left", "bottom", "right", "insideH", "insideV"})
        tableStart_ += "<" + w + ":" + edge + " " + w + ":val=\"single\" " + w + ":sz=\"4\" " + w +
                       ":space=\"0\" " + w + ":color=\"auto\"/>";
    tableStart_ += "</" + w + ":tblBorders><" + w + ":tblLayout " + w + ":type=\"fixed\"/><" + w +
                   ":tblLook " + w + ":val=\"04A0\"/></" + w + ":tblPr><" + w + ":tblGrid>";
    for (int c = 0; c < kReadingsPerRow; ++c)
        tableStart_ += "<" + w + ":gridCol " + w + ":w=\"" + std::to_string(column) + "\"/>";
    tableStart_ += "</" + w + ":tblGrid>";

    // No row is cut by a page break, and a heading stays on the page of its first readings.
    rowStart_ = "<" + w + ":tr><" + w + ":trPr><" + w + ":cantSplit/></" + w + ":trPr>";
    headingStart_ = rowStart_ + "<" + w + ":tc><" + w + ":tcPr><" + w + ":tcW " + w + ":w=\"" +
                    tableWidth + "\" " + w + ":type=\"dxa\"/><" + w + ":gridSpan " + w + ":val=\"" +
                    std::to_string(kReadingsPerRow) + "\"/></" + w + ":tcPr><" + w + ":p><" + w +
                    ":pPr><" + w + ":keepNext/></" + w + ":pPr><" + w + ":r><" + w +
                    ":t xml:space=\"preserve\">";
    headingEnd_ = "</" + w + ":t></" + w + ":r></" + w + ":p></" + w + ":tc></" + w + ":tr>";
    rowEnd_ = "</" + w + ":tr>";
    cellStart_ = "<" + w + ":tc><" + w + ":p><" + w + ":r><" + w + ":t>";
    cellEnd_ = "</" + w + ":t></" + w + ":r></" + w + ":p></" + w + ":tc>";
    emptyCell_ = "<" + w + ":tc><" + w + ":p/></" + w + ":tc>";
    tableEnd_ = "</" + w + ":tbl>";
}

void WordTableGenerator::Rewind() {
    step_ = Step::Before;
    nextComponent_ = 0;
    nextPoint_ = -1;
    tableOpen_ = false;
}

bool WordTableGenerator::Next(std::string& out) {
    switch (step_) {
        case Step::Before:
            out += page_.before;
            // No component to list, no table: Word cannot hold a table without rows.
            step_ = components_.empty() ? Step::After : Step::TableStart;
            return true;
        case Step::TableStart:
            out += tableStart_;
            tableOpen_ = true;
            step_ = Step::Components;
            return true;
        case Step::Components:
            AppendComponents(out);
            if (nextComponent_ == components_.size()) step_ = Step::TableEnd;
            return true;
        case Step::TableEnd: {
            // The rows reserved for components without points stay empty at the end.
            const auto empty =
                std::count_if(components_.begin(), components_.end(),
                              [](const Component* c) { return c->HeldPointCount() == 0; });
            if (!tableOpen_ && empty > 0) out += tableStart_;
            for (auto k = empty; k > 0; --k) AppendEmptyRow(out);
            if (tableOpen_ || empty > 0) out += tableEnd_;
            step_ = Step::After;
            return true;
        }
        case Step::After:
            out += page_.after;
            step_ = Step::Done;
            return true;
        case Step::Done:
            return false;
    }
    return false;
}

// Stops after about one piece's worth, also inside a component, so that a component
// of very many readings never has to be held whole.
void WordTableGenerator::AppendComponents(std::string& out) {
    while (nextComponent_ < components_.size() && out.size() < kPieceBytes) {
        const Component& component = *components_[nextComponent_];
        if (nextPoint_ < 0) {
            out += headingStart_;
            AppendEscaped(out, WordHeadingText(component));
            out += headingEnd_;
            nextPoint_ = 0;
        }
        const int n = component.HeldPointCount();
        while (nextPoint_ < n && out.size() < kPieceBytes) {
            AppendValueRow(out, component, nextPoint_);
            nextPoint_ += kReadingsPerRow;
        }
        if (nextPoint_ >= n) {
            if (pictures_[nextComponent_]) AppendPicture(out, nextComponent_);
            ++nextComponent_;
            nextPoint_ = -1;
            if (!tableOpen_ && nextComponent_ < components_.size()) {
                out += tableStart_;
                tableOpen_ = true;
            }
        }
    }
}

void WordTableGenerator::AppendValueRow(std::string& out, const Component& component,
                                        int first) const {
    const int last = std::min(component.HeldPointCount(), first + kReadingsPerRow);
    out += rowStart_;
    for (int j = first; j < last; ++j) {
        out += cellStart_;
        AppendOneDecimal(out, static_cast<float>(ReadingAt(component, j)));
        out += cellEnd_;
    }
    for (int j = last; j < first + kReadingsPerRow; ++j) out += emptyCell_;
    out += rowEnd_;
}

void WordTableGenerator::AppendPicture(std::string& out, std::size_t k) {
    const WordPicture& picture = *pictures_[k];
    if (picture.width <= 0 || picture.height <= 0) return;
    out += tableEnd_;
    tableOpen_ = false;
    // The width of the text; one twentieth of a point is 635 EMU.
    const long long cx = static_cast<long long>(page_.textWidth) * 635;
    const long long cy = cx * picture.height / picture.width;
    const std::string extent =
        "cx=\"" + std::to_string(cx) + "\" cy=\"" + std::to_string(cy) + "\"";
    const std::string number = std::to_string(k + 1);
    const std::string& w = page_.prefix;
    // The drawing's namespaces are declared where used: a template need not declare them.
    out += "<" + w + ":p><" + w + ":pPr><" + w + ":jc " + w + ":val=\"center\"/></" + w + ":pPr><" +
           w + ":r><" + w + ":drawing>";
    out +=
        "<wp:inline xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/"
        "wordprocessingDrawing\" distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\"><wp:extent " +
        extent + "/><wp:docPr id=\"" + std::to_string(9000 + k) + "\" name=\"Map " + number +
        "\"/><wp:cNvGraphicFramePr/>";
    out +=
        "<a:graphic xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\">"
        "<a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
        "<pic:pic xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
        "<pic:nvPicPr><pic:cNvPr id=\"0\" name=\"map" +
        number +
        ".png\"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill><a:blip "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
        "r:embed=\"" +
        picture.relationshipId +
        "\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr><a:xfrm><a:off "
        "x=\"0\" y=\"0\"/><a:ext " +
        extent +
        "/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr></pic:pic>"
        "</a:graphicData></a:graphic></wp:inline>";
    out += "</" + w + ":drawing></" + w + ":r></" + w + ":p>";
}

void WordTableGenerator::AppendEmptyRow(std::string& out) const {
    out += rowStart_;
    for (int c = 0; c < kReadingsPerRow; ++c) out += emptyCell_;
    out += rowEnd_;
}

}  // namespace ohmlet
