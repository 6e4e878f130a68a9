#include <windows.h>

#include "report/GbkCodec.h"

// Qt for Windows is built without ICU and knows no GBK by name: the system's code page
// 936 converts instead. Bad bytes come out as ICU's GBK decoder gives them on Linux, so
// a file reads the same on both.

namespace ohmlet {
namespace {

constexpr UINT kGbk = 936;

bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

// One character's bytes; false when the code page has no character for them.
bool DecodeOne(const char* bytes, QString& out) {
    wchar_t wide[2];
    const int n = MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, bytes, 2, wide, 2);
    if (n <= 0) return false;
    out.append(QString::fromWCharArray(wide, n));
    return true;
}

// The two bytes that stand alone above ASCII. Windows' own table and wine's differ on
// 0xFF, so both are fixed here as Microsoft's code page and ICU give them.
QChar SingleByte(unsigned char b) { return b == 0x80 ? QChar(0x20AC) : QChar(0xF8F5); }

// GBK has nothing outside the Basic Multilingual Plane: one '?' per character, not one per
// UTF-16 half.
std::wstring WithoutSurrogates(const QString& text) {
    std::wstring wide;
    wide.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
        wide.push_back(c.isSurrogate() ? L'?' : static_cast<wchar_t>(c.unicode()));
    }
    return wide;
}

}  // namespace

QString FromGbk(std::string_view gbk) {
    QString text;
    text.reserve(static_cast<qsizetype>(gbk.size()));
    std::size_t i = 0;
    while (i < gbk.size()) {
        const auto b = static_cast<unsigned char>(gbk[i]);
        if (b < 0x80) {
            text.append(QChar(b));
            ++i;
        } else if (!IsLeadByte(b)) {
            text.append(SingleByte(b));
            ++i;
        } else if (i + 1 == gbk.size()) {
            break;  // half a character at the end: dropped, as ICU does
        } else if (!IsTrailByte(static_cast<unsigned char>(gbk[i + 1]))) {
            text.append(QChar::ReplacementCharacter);
            ++i;  // the second byte is read again on its own
        } else {
            if (!DecodeOne(&gbk[i], text)) text.append(QChar::ReplacementCharacter);
            i += 2;
        }
    }
    return text;
}

std::string ToGbk(const QString& text) {
    if (text.isEmpty()) return {};
    const std::wstring wide = WithoutSurrogates(text);
    const int wideSize = static_cast<int>(wide.size());
    // Characters GBK lacks become '?', as with the ICU encoder on Linux.
    const int size =
        WideCharToMultiByte(kGbk, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(kGbk, 0, wide.data(), wideSize, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

}  // namespace ohmlet
