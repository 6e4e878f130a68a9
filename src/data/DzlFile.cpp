#include "data/DzlFile.h"

#include <cerrno>
#include <cstring>

#include "data/ByteOrder.h"
#include "data/DzlTrailer.h"
#include "data/FileBytes.h"

namespace ohmlet {
namespace {

static_assert(sizeof(MeasuringPoint) == kDzlPointSize, "points are copied as file images");

constexpr bool kHostIsLittleEndian = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;

// Offsets inside a component record.
enum : std::size_t {
    kOffNumber = 0,
    kOffName = 5,
    kOffTestDate = 105,
    kOffSelected = 125,
    kOffAuxParam = 126,
    kOffDesignValue = 130,
    kOffLowerTolerance = 134,
    kOffUpperTolerance = 138,
    kOffPointCount = 142,
    kOffBlockOffset = 146,
    kOffReservedFloat = 150,
    kOffMaxValue = 154,
    kOffMinValue = 158,
    kOffPassCount = 162,
    kOffPassRate = 166,
};

// A record image whose bytes the file does not cover keeps the fresh record's bytes.
void DecodeRecord(const unsigned char* r, Component& c) {
    std::memcpy(c.number, r + kOffNumber, Component::kNumberWidth);
    std::memcpy(c.name, r + kOffName, Component::kNameWidth);
    std::memcpy(c.testDate, r + kOffTestDate, Component::kTestDateWidth);
    c.selected = r[kOffSelected];
    c.auxParam = LoadLEInt(r + kOffAuxParam);
    c.designValue = LoadLEFloat(r + kOffDesignValue);
    c.lowerTolerance = LoadLEFloat(r + kOffLowerTolerance);
    c.upperTolerance = LoadLEFloat(r + kOffUpperTolerance);
    c.pointCount = LoadLEInt(r + kOffPointCount);
    c.blockOffset = LoadLEInt(r + kOffBlockOffset);
    c.reservedFloat = LoadLEFloat(r + kOffReservedFloat);
    c.maxValue = LoadLEFloat(r + kOffMaxValue);
    c.minValue = LoadLEFloat(r + kOffMinValue);
    c.passCount = LoadLEFloat(r + kOffPassCount);
    c.passRate = LoadLEFloat(r + kOffPassRate);
}

// Texts are written up to their NUL with zeros after it, whatever the memory held
// there, so the same model always gives the same bytes.
void EncodeText(const char* text, std::size_t width, unsigned char* out) {
    const void* nul = std::memchr(text, 0, width);
    std::size_t n = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : width;
    std::memcpy(out, text, n);
    std::memset(out + n, 0, width - n);
}

void EncodeRecord(const Component& c, int32_t pointCount, unsigned char* r) {
    EncodeText(c.number, Component::kNumberWidth, r + kOffNumber);
    EncodeText(c.name, Component::kNameWidth, r + kOffName);
    EncodeText(c.testDate, Component::kTestDateWidth, r + kOffTestDate);
    r[kOffSelected] = static_cast<unsigned char>(c.selected);
    StoreLEInt(r + kOffAuxParam, c.auxParam);
    StoreLEFloat(r + kOffDesignValue, c.designValue);
    StoreLEFloat(r + kOffLowerTolerance, c.lowerTolerance);
    StoreLEFloat(r + kOffUpperTolerance, c.upperTolerance);
    StoreLEInt(r + kOffPointCount, pointCount);
    StoreLEInt(r + kOffBlockOffset, c.blockOffset);
    StoreLEFloat(r + kOffReservedFloat, c.reservedFloat);
    StoreLEFloat(r + kOffMaxValue, c.maxValue);
    StoreLEFloat(r + kOffMinValue, c.minValue);
    StoreLEFloat(r + kOffPassCount, c.passCount);
    StoreLEFloat(r + kOffPassRate, c.passRate);
}

void DecodePoints(const unsigned char* p, std::size_t count, MeasuringPoint* out) {
    if (count == 0) return;  // an empty vector's data() may be null
    if constexpr (kHostIsLittleEndian) {
        std::memcpy(static_cast<void*>(out), p, count * kDzlPointSize);
    } else {
        for (std::size_t i = 0; i < count; ++i, p += kDzlPointSize) {
            out[i].position = LoadLEInt(p);
            out[i].value = LoadLEInt(p + 4);
            out[i].spare = LoadLEInt(p + 8);
        }
    }
}

void EncodePoints(const MeasuringPoint* in, std::size_t count, unsigned char* p) {
    if (count == 0) return;
    if constexpr (kHostIsLittleEndian) {
        std::memcpy(p, static_cast<const void*>(in), count * kDzlPointSize);
    } else {
        for (std::size_t i = 0; i < count; ++i, p += kDzlPointSize) {
            StoreLEInt(p, in[i].position);
            StoreLEInt(p + 4, in[i].value);
            StoreLEInt(p + 8, in[i].spare);
        }
    }
}

bool IsWritten(const Component& c, DzlSelection which) {
    return which == DzlSelection::All || c.selected != 0;
}

// The records and their points into `result`'s list, sized to the count the file
// claims; a count the bytes cannot back marks the result Corrupt. Returns where the
// records end.
std::size_t ParseComponents(const unsigned char* data, std::size_t size, const std::string& name,
                            DzlReadResult& result) {
    Component fresh;
    unsigned char freshRecord[kDzlRecordSize];
    EncodeRecord(fresh, 0, freshRecord);

    std::size_t pos = kDzlHeaderSize;
    const std::size_t count = result.components.size();
    for (std::size_t i = 0; i < count && pos < size; ++i) {
        Component& c = result.components[i];
        std::size_t have = std::min(kDzlRecordSize, size - pos);
        if (have == kDzlRecordSize) {
            DecodeRecord(data + pos, c);
        } else {
            unsigned char record[kDzlRecordSize];
            std::memcpy(record, freshRecord, kDzlRecordSize);
            std::memcpy(record, data + pos, have);
            DecodeRecord(record, c);
        }
        pos += have;

        int32_t points = c.pointCount;
        std::size_t backed = (size - pos) / kDzlPointSize;
        if (points > kDzlMaxUnbackedCount && static_cast<std::size_t>(points) > backed) {
            result.code = DzlReadCode::Corrupt;
            result.text = name + " is not a valid DZL file: component " + std::to_string(i + 1) +
                          " claims " + std::to_string(points) +
                          " readings but the file holds at most " + std::to_string(backed) + ".";
            return pos;
        }
        c.ResizePoints(points);  // a negative count reads as no points
        std::size_t covered = std::min<std::size_t>(static_cast<std::size_t>(c.pointCount), backed);
        DecodePoints(data + pos, covered, c.points.data());
        pos += covered * kDzlPointSize;
        // A point cut in the middle keeps the bytes that are there.
        if (covered < c.points.size() && pos < size) {
            unsigned char partial[kDzlPointSize] = {};
            std::memcpy(partial, data + pos, size - pos);
            DecodePoints(partial, 1, &c.points[covered]);
            pos = size;
        }
    }
    return pos;
}

}  // namespace

DzlReadResult ParseDzl(const unsigned char* data, std::size_t size, const std::string& name) {
    DzlReadResult result;
    if (size < kDzlHeaderSize) return result;
    int32_t count = LoadLEInt(data);
    if (count <= 0) return result;

    std::size_t records = (size - kDzlHeaderSize) / kDzlRecordSize;
    if (count > kDzlMaxUnbackedCount && static_cast<std::size_t>(count) > records) {
        result.code = DzlReadCode::Corrupt;
        result.text = name + " is not a valid DZL file: it claims " + std::to_string(count) +
                      " components but holds at most " + std::to_string(records) + ".";
        return result;
    }

    result.components.resize(static_cast<std::size_t>(count));
    const std::size_t end = ParseComponents(data, size, name, result);
    if (!result.Ok()) {
        result.components.clear();
        return result;
    }
    ApplyDzlTrailer(data + end, size - end, result.components, name, result.warnings);
    return result;
}

DzlReadResult ReadDzlFile(const std::string& path) {
    DzlReadResult result;
    FileBytes file;
    std::string reason;
    if (file.Open(path, reason, kDzlMaxFileBytes) != FileBytes::Status::Ok) {
        result.code = DzlReadCode::CannotOpen;
        result.text = "Cannot open " + path + ": " + reason + ".";
        return result;
    }
    return ParseDzl(file.data(), file.size(), path);
}

namespace {
// The bytes of the header and the records, without a trailer.
std::size_t RecordsSize(const std::vector<const Component*>& written) {
    std::size_t size = kDzlHeaderSize;
    for (const Component* c : written) size += kDzlRecordSize + c->points.size() * kDzlPointSize;
    return size;
}

std::vector<const Component*> Written(const std::vector<Component>& components,
                                      DzlSelection which) {
    std::vector<const Component*> written;
    for (const Component& c : components)
        if (IsWritten(c, which)) written.push_back(&c);
    return written;
}
}  // namespace

std::vector<unsigned char> SerializeDzl(const std::vector<Component>& components,
                                        DzlSelection which) {
    const std::vector<const Component*> written = Written(components, which);
    const std::size_t size = RecordsSize(written);
    const int32_t count = static_cast<int32_t>(written.size());
    const std::vector<unsigned char> trailer = EncodeDzlTrailer(written);
    std::vector<unsigned char> bytes(size + trailer.size());
    unsigned char* p = bytes.data();
    StoreLEInt(p, count);
    p += kDzlHeaderSize;
    for (const Component* c : written) {
        EncodeRecord(*c, static_cast<int32_t>(c->points.size()), p);
        p += kDzlRecordSize;
        EncodePoints(c->points.data(), c->points.size(), p);
        p += c->points.size() * kDzlPointSize;
    }
    if (!trailer.empty()) std::memcpy(p, trailer.data(), trailer.size());
    return bytes;
}

DzlWriteResult WriteFileAtomically(const std::string& path,
                                   const std::vector<unsigned char>& bytes) {
    return WriteFileSafely(path, bytes);
}

DzlWriteResult WriteDzlFile(const std::string& path, const std::vector<Component>& components,
                            DzlSelection which) {
    const std::vector<unsigned char> bytes = SerializeDzl(components, which);
    // Extras a reader would refuse are not written: the file keeps what it had.
    const std::size_t trailer = bytes.size() - RecordsSize(Written(components, which));
    if (trailer > kDzlTrailerHeaderSize + kDzlMaxTrailerPayload) {
        DzlWriteResult refused;
        refused.code = SafeWriteCode::Failed;
        refused.text = "Cannot save " + path +
                       ": the survey grids and conditions of its components take more than 1 MB; "
                       "shorten their notes and save again.";
        return refused;
    }
    return WriteFileAtomically(path, bytes);
}

}  // namespace ohmlet
