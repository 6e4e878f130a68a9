#include "cli/JsonStream.h"

#include <QByteArray>
#include <QCborValue>
#include <QJsonValue>
#include <QLocale>
#include <QString>
#include <charconv>
#include <cmath>

#include "cli/CliCommon.h"
#include "report/GbkCodec.h"

namespace ohmlet::cli {

namespace {

constexpr std::size_t kBlock = 1 << 16;

char HexDigit(unsigned value) {
    return static_cast<char>(value < 10 ? '0' + value : 'a' + value - 10);
}

// Quotes, backslashes and control characters escaped as Qt's writer does; everything else,
// valid UTF-8 from our decoders, is copied.
void AppendQuoted(std::string& to, std::string_view utf8) {
    to += '"';
    for (char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c != '"' && c != '\\') {
            to += ch;
            continue;
        }
        to += '\\';
        switch (c) {
            case '"':
                to += '"';
                break;
            case '\\':
                to += '\\';
                break;
            case '\b':
                to += 'b';
                break;
            case '\f':
                to += 'f';
                break;
            case '\n':
                to += 'n';
                break;
            case '\r':
                to += 'r';
                break;
            case '\t':
                to += 't';
                break;
            default:
                to += "u00";
                to += HexDigit(c >> 4);
                to += HexDigit(c & 0xF);
        }
    }
    to += '"';
}

}  // namespace

JsonStream::JsonStream(std::ostream& out) : out_(out) { buffer_.reserve(kBlock + 4096); }

JsonStream::~JsonStream() { Flush(); }

void JsonStream::Flush() {
    if (!buffer_.empty()) out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
}

bool JsonStream::Good() {
    if (buffer_.size() >= kBlock) Flush();
    return out_.good();
}

void JsonStream::Indent(std::size_t level) { buffer_.append(4 * level, ' '); }

void JsonStream::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (hasItems_.empty()) return;
    buffer_ += hasItems_.back() ? ",\n" : "";
    hasItems_.back() = true;
    Indent(hasItems_.size());
}

JsonStream& JsonStream::Key(std::string_view key) {
    BeforeValue();
    AppendQuoted(buffer_, key);
    buffer_ += ": ";
    afterKey_ = true;
    return *this;
}

void JsonStream::BeginObject() {
    BeforeValue();
    buffer_ += "{\n";
    hasItems_.push_back(false);
}

void JsonStream::BeginArray() {
    BeforeValue();
    buffer_ += "[\n";
    hasItems_.push_back(false);
}

void JsonStream::Close(char bracket) {
    if (hasItems_.back()) buffer_ += '\n';
    hasItems_.pop_back();
    Indent(hasItems_.size());
    buffer_ += bracket;
    if (hasItems_.empty()) buffer_ += '\n';
    if (buffer_.size() >= kBlock || hasItems_.empty()) Flush();
}

void JsonStream::EndObject() { Close('}'); }

void JsonStream::EndArray() { Close(']'); }

void JsonStream::Null() {
    BeforeValue();
    buffer_ += "null";
}

void JsonStream::Bool(bool value) {
    BeforeValue();
    buffer_ += value ? "true" : "false";
}

void JsonStream::Int(int64_t value) {
    BeforeValue();
    char text[24];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    buffer_.append(text, end);
}

void JsonStream::Number(double value) {
    // Qt decides which doubles are integers and how the others are spelled.
    const QCborValue stored = QCborValue::fromJsonValue(QJsonValue(value));
    if (stored.isInteger()) return Int(stored.toInteger());
    if (!std::isfinite(value)) return Null();
    BeforeValue();
    buffer_ += QByteArray::number(value, 'g', QLocale::FloatingPointShortest).toStdString();
}

void JsonStream::String(std::string_view utf8) {
    BeforeValue();
    AppendQuoted(buffer_, utf8);
}

void WriteGbkText(JsonStream& json, std::string_view key, const std::string& gbk) {
    bool replaced = false;
    const std::string shown = GbkToUtf8(gbk, &replaced);
    if (!replaced) {
        json.Key(key).String(FromGbk(gbk).toUtf8().toStdString());
        return;
    }
    json.Key(key).String(shown);
    const QByteArray raw = QByteArray::fromRawData(gbk.data(), static_cast<qsizetype>(gbk.size()));
    json.Key(std::string(key) + "Bytes").String(raw.toHex().toStdString());
}

}  // namespace ohmlet::cli
