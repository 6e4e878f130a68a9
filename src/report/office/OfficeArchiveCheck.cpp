#include "report/office/OfficeArchiveCheck.h"

#include <zip.h>

#include <QByteArray>
#include <algorithm>
#include <memory>
#include <string>

namespace ohmlet {

namespace {

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};

struct FileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

bool IsXmlPart(const std::string& name) {
    for (const char* suffix : {".xml", ".rels"}) {
        const std::size_t n = std::char_traits<char>::length(suffix);
        if (name.size() >= n && name.compare(name.size() - n, n, suffix) == 0) return true;
    }
    return false;
}

// Whether an XML part ends with the end tag of the element it starts with. Spill files
// that run out of room lose their end, and every part the library writes closes its root
// with an end tag. A full parse would take three times as long as writing the workbook.
class XmlEnd {
public:
    void Add(const char* data, std::size_t size) {
        if (head_.size() < kKeep) head_.append(data, std::min(size, kKeep - head_.size()));
        const std::size_t take = std::min(size, kKeep);
        tail_.append(data + size - take, take);
        if (tail_.size() > kKeep) tail_.erase(0, tail_.size() - kKeep);
    }
    bool Whole() const {
        std::size_t open = head_.find('<');
        while (open != std::string::npos && open + 1 < head_.size() &&
               (head_[open + 1] == '?' || head_[open + 1] == '!'))
            open = head_.find('<', open + 1);
        if (open == std::string::npos) return false;
        const std::size_t name = open + 1;
        const std::size_t nameEnd = head_.find_first_of(" \t\r\n/>", name);
        if (nameEnd == std::string::npos || nameEnd == name) return false;
        const std::string endTag = "</" + head_.substr(name, nameEnd - name) + ">";
        const std::size_t last = tail_.find_last_not_of(" \t\r\n");
        return last != std::string::npos && last + 1 >= endTag.size() &&
               tail_.compare(last + 1 - endTag.size(), endTag.size(), endTag) == 0;
    }

private:
    static constexpr std::size_t kKeep = 4096;
    std::string head_;
    std::string tail_;
};

// Reads part `index` to its end; returns what is wrong with it, or nothing.
QString CheckPart(zip_t* archive, zip_uint64_t index) {
    zip_stat_t stat;
    if (zip_stat_index(archive, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME))
        return QStringLiteral("a part has no readable entry");
    const QString name = QString::fromUtf8(stat.name);
    std::unique_ptr<zip_file_t, FileCloser> part(zip_fopen_index(archive, index, 0));
    if (!part) return QStringLiteral("%1 cannot be opened").arg(name);
    const bool xml = IsXmlPart(stat.name);
    XmlEnd end;
    std::string piece(1u << 16, '\0');
    zip_int64_t got = 0;
    while ((got = zip_fread(part.get(), piece.data(), piece.size())) > 0)
        if (xml) end.Add(piece.data(), static_cast<std::size_t>(got));
    if (got < 0)
        return QStringLiteral("%1 cannot be read (%2)")
            .arg(name, QString::fromLocal8Bit(zip_file_strerror(part.get())));
    if (xml && !end.Whole()) return QStringLiteral("%1 is cut short").arg(name);
    return {};
}

}  // namespace

QString CheckOfficeArchive(const unsigned char* data, std::size_t size) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(data, size, 0, &error);
    zip_t* opened = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    if (!opened) {
        const QString cause = QString::fromLocal8Bit(zip_error_strerror(&error));
        if (source) zip_source_free(source);
        zip_error_fini(&error);
        return cause;
    }
    zip_error_fini(&error);
    std::unique_ptr<zip_t, ArchiveCloser> archive(opened);
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    if (count <= 0) return QStringLiteral("it holds no parts");
    for (zip_int64_t i = 0; i < count; ++i) {
        QString cause = CheckPart(archive.get(), static_cast<zip_uint64_t>(i));
        if (!cause.isEmpty()) return cause;
    }
    return {};
}

}  // namespace ohmlet
