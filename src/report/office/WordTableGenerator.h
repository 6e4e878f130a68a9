#pragma once
// Writes the main document part: the template's text around one ten-column table.
// Per component a heading row merged into one cell, then its readings ten to a row;
// a component without points adds one empty row at the end of the table. A component
// with a picture ends the table; the picture follows and the table goes on below it.
#include <optional>
#include <string>
#include <vector>

#include "data/Component.h"
#include "report/office/DocxPackage.h"
#include "report/office/WordTemplateDocument.h"

namespace ohmlet {

// A picture part of the package, shown at the width of the text.
struct WordPicture {
    std::string relationshipId;
    int width = 0;  // pixels; only the proportion counts
    int height = 0;
};

class WordTableGenerator : public PartGenerator {
public:
    // `pictures` runs alongside `components`; missing entries are components without one.
    WordTableGenerator(const WordTemplateDocument& page, std::vector<const Component*> components,
                       std::vector<std::optional<WordPicture>> pictures = {});

    void Rewind() override;
    bool Next(std::string& out) override;

private:
    enum class Step { Before, TableStart, Components, TableEnd, After, Done };

    void AppendComponents(std::string& out);
    void AppendValueRow(std::string& out, const Component& component, int first) const;
    void AppendEmptyRow(std::string& out) const;
    // Closes the table after component k and adds its picture; the table opens again
    // when more components follow.
    void AppendPicture(std::string& out, std::size_t k);

    const WordTemplateDocument& page_;
    std::vector<const Component*> components_;
    std::vector<std::optional<WordPicture>> pictures_;
    std::string tableStart_;
    std::string headingStart_;
    std::string headingEnd_;
    std::string rowStart_;
    std::string rowEnd_;
    std::string cellStart_;
    std::string cellEnd_;
    std::string emptyCell_;
    std::string tableEnd_;

    Step step_ = Step::Before;
    std::size_t nextComponent_ = 0;
    int nextPoint_ = -1;  // -1: the heading of nextComponent_ is still to come
    bool tableOpen_ = false;
};

}  // namespace ohmlet
