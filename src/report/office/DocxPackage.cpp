#include "report/office/DocxPackage.h"

#include <zip.h>

#include <pugixml.hpp>
#include <sstream>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <ctime>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "report/office/DocxProperties.h"

namespace ohmlet {

namespace {

// A template is a page layout with a few styles; anything far larger is not one.
constexpr qint64 kMaxTemplateBytes = 64LL << 20;
constexpr zip_uint64_t kMaxPartBytes = 64ULL << 20;
constexpr zip_uint64_t kMaxUnpackedBytes = 256ULL << 20;
constexpr zip_int64_t kMaxParts = 1000;

QString ZipErrorText(zip_error_t* error) {
    return QString::fromLocal8Bit(zip_error_strerror(error));
}

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

struct SourceFreer {
    void operator()(zip_source_t* source) const { zip_source_free(source); }
};
using Source = std::unique_ptr<zip_source_t, SourceFreer>;

// Hands the finished archive in `memory` to the sink.
QString CopyOut(zip_source_t* memory, const QString& path, const OfficeSink& sink) {
    auto fail = [&] {
        return QStringLiteral("%1 cannot be written: %2.")
            .arg(path, ZipErrorText(zip_source_error(memory)));
    };
    if (zip_source_open(memory) != 0) return fail();
    std::string piece(1u << 20, '\0');
    zip_int64_t got = 0;
    while ((got = zip_source_read(memory, piece.data(), piece.size())) > 0)
        if (!sink(piece.data(), static_cast<std::size_t>(got))) break;
    zip_source_close(memory);
    return got < 0 ? fail() : QString();
}

struct FileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

// Feeds libzip from a PartGenerator: libzip asks for the size first, then reads.
class GeneratedSource {
public:
    GeneratedSource(PartGenerator& generator, zip_uint64_t size)
        : generator_(generator), size_(size) {
        zip_error_init(&error_);
    }
    ~GeneratedSource() { zip_error_fini(&error_); }

    static zip_int64_t Callback(void* self, void* data, zip_uint64_t length,
                                zip_source_cmd_t command) {
        try {
            return static_cast<GeneratedSource*>(self)->Handle(data, length, command);
        } catch (const std::bad_alloc&) {
            zip_error_set(&static_cast<GeneratedSource*>(self)->error_, ZIP_ER_MEMORY, 0);
            return -1;
        }
    }

private:
    zip_int64_t Handle(void* data, zip_uint64_t length, zip_source_cmd_t command) {
        switch (command) {
            case ZIP_SOURCE_OPEN:
                generator_.Rewind();
                buffer_.clear();
                offset_ = 0;
                return 0;
            case ZIP_SOURCE_READ: {
                auto* out = static_cast<char*>(data);
                zip_uint64_t copied = 0;
                while (copied < length) {
                    if (offset_ == buffer_.size()) {
                        buffer_.clear();
                        offset_ = 0;
                        if (!generator_.Next(buffer_)) break;
                        continue;
                    }
                    std::size_t take = std::min<std::size_t>(
                        buffer_.size() - offset_, static_cast<std::size_t>(length - copied));
                    std::memcpy(out + copied, buffer_.data() + offset_, take);
                    offset_ += take;
                    copied += take;
                }
                return static_cast<zip_int64_t>(copied);
            }
            case ZIP_SOURCE_CLOSE:
            case ZIP_SOURCE_FREE:
                return 0;
            case ZIP_SOURCE_STAT: {
                auto* stat = static_cast<zip_stat_t*>(data);
                zip_stat_init(stat);
                stat->size = size_;
                stat->mtime = std::time(nullptr);
                stat->valid |= ZIP_STAT_SIZE | ZIP_STAT_MTIME;
                return sizeof(zip_stat_t);
            }
            case ZIP_SOURCE_ERROR:
                return zip_error_to_data(&error_, data, length);
            case ZIP_SOURCE_SUPPORTS:
                return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ,
                                                      ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                                      ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
            default:
                zip_error_set(&error_, ZIP_ER_OPNOTSUPP, 0);
                return -1;
        }
    }

    PartGenerator& generator_;
    zip_uint64_t size_;
    zip_error_t error_;
    std::string buffer_;
    std::size_t offset_ = 0;
};

zip_uint64_t MeasureGenerated(PartGenerator& generator) {
    generator.Rewind();
    std::string piece;
    zip_uint64_t size = 0;
    while (generator.Next(piece)) {
        size += piece.size();
        piece.clear();
    }
    return size;
}

}  // namespace

QString DocxPackage::Load(const QString& path) {
    parts_.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("The template %1 cannot be opened: %2.")
            .arg(path, file.errorString());
    if (file.size() > kMaxTemplateBytes)
        return QStringLiteral("The template %1 is too large to be a Word template.").arg(path);
    QByteArray bytes = file.readAll();

    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(
        bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0, &error);
    zip_t* opened = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    if (!opened) {
        QString cause = QStringLiteral("The template %1 is not a Word document (%2).")
                            .arg(path, ZipErrorText(&error));
        if (source) zip_source_free(source);
        zip_error_fini(&error);
        return cause;
    }
    zip_error_fini(&error);
    Archive archive(opened);

    zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    if (count < 0 || count > kMaxParts)
        return QStringLiteral("The template %1 holds too many parts.").arg(path);
    zip_uint64_t unpacked = 0;
    bool haveDocument = false;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(i), 0, &stat) != 0 ||
            !(stat.valid & ZIP_STAT_NAME) || !(stat.valid & ZIP_STAT_SIZE))
            return QStringLiteral("The template %1 has an unreadable part.").arg(path);
        unpacked += stat.size;
        if (stat.size > kMaxPartBytes || unpacked > kMaxUnpackedBytes)
            return QStringLiteral("The template %1 unpacks to more than a template can hold.")
                .arg(path);
        std::unique_ptr<zip_file_t, FileCloser> entry(
            zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(i), 0));
        Part part{stat.name, std::string(static_cast<std::size_t>(stat.size), '\0')};
        zip_int64_t got = entry ? zip_fread(entry.get(), part.bytes.data(), stat.size) : -1;
        if (got < 0 || static_cast<zip_uint64_t>(got) != stat.size)
            return QStringLiteral("The part %1 of the template %2 cannot be read.")
                .arg(QString::fromStdString(part.name), path);
        if (part.name == kDocumentPart) {
            haveDocument = true;
            documentIndex_ = parts_.size();
        }
        parts_.push_back(std::move(part));
    }
    if (!haveDocument)
        return QStringLiteral("The template %1 has no %2 part.").arg(path, kDocumentPart);
    return {};
}

const std::string& DocxPackage::DocumentXml() const { return parts_.at(documentIndex_).bytes; }

DocxPackage::Part* DocxPackage::FindPart(const std::string& name) {
    for (Part& part : parts_)
        if (part.name == name) return &part;
    return nullptr;
}

namespace {

constexpr char kRelationshipsPart[] = "word/_rels/document.xml.rels";
constexpr char kContentTypesPart[] = "[Content_Types].xml";
constexpr char kImageType[] =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";

bool LoadXml(pugi::xml_document& doc, const std::string& bytes) {
    return doc.load_buffer(bytes.data(), bytes.size(),
                           pugi::parse_default | pugi::parse_declaration) &&
           doc.document_element();
}

std::string SavedXml(const pugi::xml_document& doc) {
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw);
    return out.str();
}

// An id no relationship of the part has yet.
std::string FreeId(const pugi::xml_node& relationships) {
    for (int n = 1;; ++n) {
        const std::string id = "rIdMap" + std::to_string(n);
        if (!relationships.find_child_by_attribute("Relationship", "Id", id.c_str())) return id;
    }
}

}  // namespace

std::string DocxPackage::AddPicture(const std::string& fileName, std::string pngBytes) {
    Part* types = FindPart(kContentTypesPart);
    pugi::xml_document typesXml;
    if (!types || !LoadXml(typesXml, types->bytes)) return {};
    // A template without pictures has no relationships of its document part yet.
    Part* rels = FindPart(kRelationshipsPart);
    pugi::xml_document relsXml;
    if (rels ? !LoadXml(relsXml, rels->bytes)
             : !relsXml.load_string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                                    "<Relationships xmlns=\"http://schemas.openxmlformats.org/"
                                    "package/2006/relationships\"/>",
                                    pugi::parse_default | pugi::parse_declaration))
        return {};
    pugi::xml_node relationships = relsXml.document_element();
    const std::string id = FreeId(relationships);
    pugi::xml_node added = relationships.append_child("Relationship");
    added.append_attribute("Id") = id.c_str();
    added.append_attribute("Type") = kImageType;
    added.append_attribute("Target") = ("media/" + fileName).c_str();

    pugi::xml_node root = typesXml.document_element();
    bool known = false;
    for (pugi::xml_node d : root.children("Default"))
        known = known || QString::fromUtf8(d.attribute("Extension").value())
                                 .compare(QLatin1String("png"), Qt::CaseInsensitive) == 0;
    if (!known) {
        pugi::xml_node png = root.prepend_child("Default");
        png.append_attribute("Extension") = "png";
        png.append_attribute("ContentType") = "image/png";
    }
    types->bytes = SavedXml(typesXml);
    if (rels)
        rels->bytes = SavedXml(relsXml);
    else
        parts_.push_back({kRelationshipsPart, SavedXml(relsXml)});
    parts_.push_back({"word/media/" + fileName, std::move(pngBytes)});
    return id;
}

QString DocxPackage::Write(const QString& path, PartGenerator& generator,
                           const OfficeSink& sink) const {
    const zip_uint64_t documentSize = MeasureGenerated(generator);
    GeneratedSource generated(generator, documentSize);

    // The archive is built in memory: libzip never writes, renames or leaves a file.
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* memory = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* opened = memory ? zip_open_from_source(memory, ZIP_TRUNCATE, &error) : nullptr;
    if (!opened) {
        QString cause = QStringLiteral("%1 cannot be written: %2.").arg(path, ZipErrorText(&error));
        if (memory) zip_source_free(memory);
        zip_error_fini(&error);
        return cause;
    }
    zip_error_fini(&error);
    zip_source_keep(memory);  // the finished bytes are read from it after closing
    Source bytes(memory);
    Archive archive(opened);
    auto fail = [&](const QString& what) {
        return QStringLiteral("%1 cannot be written (%2): %3.")
            .arg(path, what, QString::fromLocal8Bit(zip_strerror(archive.get())));
    };

    // The archive reads every part's bytes at closing: they must live until then.
    const std::string now = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
    std::vector<std::string> stamped(parts_.size());
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        const Part& part = parts_[i];
        const bool properties = part.name.rfind("docProps/", 0) == 0;
        if (properties) stamped[i] = StampDocumentProperties(part.name, part.bytes, now);
        const std::string& bytes = properties ? stamped[i] : part.bytes;
        zip_source_t* source =
            i == documentIndex_
                ? zip_source_function(archive.get(), &GeneratedSource::Callback, &generated)
                : zip_source_buffer(archive.get(), bytes.data(), bytes.size(), 0);
        if (!source) return fail(QString::fromStdString(part.name));
        zip_int64_t index = zip_file_add(archive.get(), part.name.c_str(), source,
                                         ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
        if (index < 0) {
            zip_source_free(source);
            return fail(QString::fromStdString(part.name));
        }
        // The document part is large, repetitive XML: the fastest deflate level takes a
        // fifth of the default level's time for a file about twice as large.
        if (i == documentIndex_)
            zip_set_file_compression(archive.get(), static_cast<zip_uint64_t>(index),
                                     ZIP_CM_DEFLATE, 1);
    }
    if (zip_close(archive.get()) != 0) return fail(QStringLiteral("closing"));
    archive.release();
    return CopyOut(bytes.get(), path, sink);
}

}  // namespace ohmlet
