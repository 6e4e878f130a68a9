#pragma once
// Helpers every test may use, with no Qt: hand-built file bytes, temporary folders,
// a recording observer and the one way tests make a component.
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "data/Document.h"
#include "data/DocumentObserver.h"
#include "data/ReadingValidity.h"

namespace ohmlet::test {

// Appends little-endian fields the way another DZL writer would lay them out.
class Bytes {
public:
    Bytes& Int(int32_t v) {
        for (int i = 0; i < 4; ++i)
            data.push_back(static_cast<unsigned char>(uint32_t(v) >> (8 * i)));
        return *this;
    }
    Bytes& Float(float f) {
        int32_t v;
        std::memcpy(&v, &f, 4);
        return Int(v);
    }
    Bytes& Byte(unsigned char b) {
        data.push_back(b);
        return *this;
    }
    Bytes& Text(const std::string& s, std::size_t width, unsigned char fill = 0) {
        for (std::size_t i = 0; i < width; ++i)
            data.push_back(i < s.size() ? static_cast<unsigned char>(s[i])
                                        : (i == s.size() ? 0 : fill));
        return *this;
    }
    std::vector<unsigned char> data;
};

class TempDir {
public:
    TempDir() {
        path_ = std::filesystem::temp_directory_path() /
                ("ohmlet-test-" + std::to_string(std::random_device{}()) + "-" +
                 std::to_string(counter_++));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

private:
    static inline int counter_ = 0;
    std::filesystem::path path_;
};

inline std::vector<unsigned char> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

inline void WriteAll(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Records what the document asks the views to do, in order.
class RecordingObserver : public DocumentObserver {
public:
    void ShowComponent(const Component* c) override {
        calls.push_back(c ? "Show:" + c->Number() : std::string("Show:none"));
    }
    void RefreshComponentList() override { calls.push_back("List"); }
    void RefreshPointCount() override { calls.push_back("PointCount"); }
    void RebuildGrid() override { calls.push_back("Grid"); }
    void RefreshComponentRow(int index) override {
        calls.push_back("Row:" + std::to_string(index));
    }
    std::vector<std::string> calls;
};

// Text bytes as the model keeps them (GBK). A type of its own, so that a UTF-8 literal
// cannot be handed over by mistake: QtTestSupport's Gbk() converts one.
struct GbkText {
    std::string bytes;
};

// A component with the given readings and the default pass band 17..25; name and test
// date empty unless given.
inline Component MakeComponent(const std::string& number, const std::vector<int>& values,
                               int selected = 1, const GbkText& name = {},
                               const GbkText& testDate = {}) {
    Component c;
    c.SetNumber(number);
    c.SetName(name.bytes);
    c.SetTestDate(testDate.bytes);
    c.selected = selected;
    c.designValue = 20;
    c.lowerTolerance = -3;
    c.upperTolerance = 5;
    c.ResizePoints(static_cast<int32_t>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) c.points[i].value = values[i];
    return c;
}

inline std::tm FixedDay(int year, int month, int day) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    return t;
}

// The program's overflow limit for one test, restored after it.
class OverflowLimitScope {
public:
    explicit OverflowLimitScope(int32_t limit) : before_(OverflowLimit()) {
        SetOverflowLimit(limit);
    }
    ~OverflowLimitScope() { SetOverflowLimit(before_); }
    OverflowLimitScope(const OverflowLimitScope&) = delete;
    OverflowLimitScope& operator=(const OverflowLimitScope&) = delete;

private:
    int32_t before_;
};

}  // namespace ohmlet::test
