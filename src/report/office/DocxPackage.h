#pragma once
// A .docx file as a set of named parts: read whole from the template, written out
// again with the main document part made by a generator, so that a table of a million
// cells never has to sit in memory at once.
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "report/office/OfficeSave.h"

namespace ohmlet {

// Produces the main document part piece by piece. Rewind starts it over; Next appends
// the following piece to `out` and returns false when everything has been given.
class PartGenerator {
public:
    virtual ~PartGenerator() = default;
    virtual void Rewind() = 0;
    virtual bool Next(std::string& out) = 0;
};

class DocxPackage {
public:
    static constexpr const char* kDocumentPart = "word/document.xml";

    // Reads every part of the .docx at `path`. Returns an empty text on success, else
    // a sentence saying what is wrong with the file.
    QString Load(const QString& path);

    const std::string& DocumentXml() const;

    // Adds a PNG picture part for the document part, its relationship and the png
    // content type; returns the relationship's id, or empty when the template's
    // relationships or content types cannot be read.
    std::string AddPicture(const std::string& fileName, std::string pngBytes);

    // Makes the package of the parts in the template's order, the document part taken
    // from `generator`, and hands its bytes to `sink`; `path` names the file in messages.
    QString Write(const QString& path, PartGenerator& generator, const OfficeSink& sink) const;

private:
    struct Part {
        std::string name;
        std::string bytes;
    };
    Part* FindPart(const std::string& name);

    std::vector<Part> parts_;
    std::size_t documentIndex_ = 0;
};

}  // namespace ohmlet
