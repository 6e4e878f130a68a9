#pragma once
// JSON written piece by piece, so a large file's dump never exists whole in memory. The
// layout is the one QJsonDocument::Indented gives (four spaces a level, "key": value, a
// newline at the end), so scripts see the same bytes as before. Callers give an object's
// keys in sorted order, as QJsonObject keeps them.
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace ohmlet::cli {

class JsonStream {
public:
    explicit JsonStream(std::ostream& out);
    ~JsonStream();  // writes what is still buffered

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    JsonStream& Key(std::string_view key);  // the next value is the key's

    void Null();
    void Bool(bool value);
    void Int(int64_t value);
    void Number(double value);  // as QJsonValue(double): whole numbers print as integers
    void String(std::string_view utf8);

    // False once the output could not be written; the rest is not worth producing.
    bool Good();

private:
    void BeforeValue();
    void Close(char bracket);
    void Indent(std::size_t level);
    void Flush();

    std::ostream& out_;
    std::string buffer_;
    std::vector<bool> hasItems_;  // one per open container
    bool afterKey_ = false;
};

// A GBK text as readable UTF-8. When some of its bytes are no GBK character (they show
// as U+FFFD, as in every other output), the exact bytes follow as lowercase hex under
// "<key>Bytes", so nothing of the file is lost.
void WriteGbkText(JsonStream& json, std::string_view key, const std::string& gbk);

}  // namespace ohmlet::cli
