#include "cli/CliCommon.h"

#include <charconv>

#include <algorithm>
#include <iostream>
#include <string_view>

#include <QList>
#include <QString>

#include "report/GbkCodec.h"

namespace ohmlet::cli {

int Fail(int code, const std::string& message) {
    std::cerr << "ohmlet-cli: " << message << '\n';
    return code;
}

int UsageError(const std::string& message) {
    std::cerr << "ohmlet-cli: " << message << "\nRun 'ohmlet-cli help' for the commands.\n";
    return kExitUsage;
}

int UsageError(const std::string& message, const Args& rest) {
    for (const std::string& word : rest)
        if (word.size() > 1 && word[0] == '-')
            return UsageError("unknown option '" + word + "'; " + message);
    return UsageError(message);
}
void Warn(const std::string& message) { std::cerr << "ohmlet-cli: warning: " << message << '\n'; }

void WarnAll(const std::vector<std::string>& warnings) {
    for (const std::string& w : warnings) Warn(TerminalText(w));
}

DzlReadResult ReadDzlWarning(const std::string& path) {
    DzlReadResult file = ReadDzlFile(path);
    if (file.Ok()) WarnAll(file.warnings);
    return file;
}

bool TakeOption(Args& args, const std::string& shortName, const std::string& longName,
                std::string& value) {
    for (auto it = args.begin(); it != args.end(); ++it) {
        if (*it != shortName && *it != longName) continue;
        if (it + 1 == args.end()) return false;
        value = *(it + 1);
        args.erase(it, it + 2);
        return true;
    }
    return true;
}

bool TakeFlag(Args& args, const std::string& name) {
    auto it = std::find(args.begin(), args.end(), name);
    if (it == args.end()) return false;
    args.erase(it);
    return true;
}

std::string GbkToUtf8(const std::string& gbk, bool* replaced) {
    // Byte pairs outside GBK, or mapped only to its private-use area, and a lead byte
    // cut off at the end show as replacement characters: never as raw bytes.
    QString text;
    if (replaced) *replaced = false;
    for (std::size_t i = 0; i < gbk.size();) {
        const unsigned char lead = static_cast<unsigned char>(gbk[i]);
        if (lead < 0x80) {
            text += QChar(lead);
            ++i;
            continue;
        }
        const unsigned char trail = i + 1 < gbk.size() ? static_cast<unsigned char>(gbk[i + 1]) : 0;
        const bool pair =
            lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
        const QString decoded = pair ? FromGbk(std::string_view(gbk).substr(i, 2)) : QString();
        const bool usable = decoded.size() == 1 &&
                            !(decoded[0].unicode() >= 0xE000 && decoded[0].unicode() <= 0xF8FF);
        text += usable ? decoded : QString(QChar(QChar::ReplacementCharacter));
        if (!usable && replaced) *replaced = true;
        i += pair ? 2 : 1;
    }
    return text.toStdString();
}

namespace {

// Terminal columns of a character: East Asian wide and full-width forms take two.
int Columns(char32_t c) {
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                      (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                      (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                      (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
    return wide ? 2 : 1;
}

}  // namespace

// Bytes that are not UTF-8 and control characters (C0, DEL and C1) become replacement
// characters, so a hostile name can neither shift the columns nor move the cursor.
std::string TerminalText(const std::string& utf8, int* columns) {
    const QString decoded = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    QString shown;
    int width = 0;
    for (uint code : decoded.toUcs4()) {
        char32_t c = code;
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) c = 0xFFFD;
        shown += QString::fromUcs4(&c, 1);
        width += Columns(c);
    }
    if (columns) *columns = width;
    return shown.toStdString();
}

std::string Pad(const std::string& utf8, int width) {
    int columns = 0;
    const std::string shown = TerminalText(utf8, &columns);
    return shown +
           std::string(columns < width ? static_cast<std::size_t>(width - columns) : 1, ' ');
}

bool ParseWhole(const std::string& text, int& out) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return !text.empty() && ec == std::errc() && ptr == end;
}

int FindComponent(const std::vector<Component>& list, const std::string& number,
                  std::string& error) {
    int found = -1;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (GbkToUtf8(list[i].Number()) != number) continue;
        if (found >= 0) {
            error = "more than one component has the number '" + number + "'.";
            return -1;
        }
        found = static_cast<int>(i);
    }
    if (found < 0) error = "no component has the number '" + number + "'.";
    return found;
}

}  // namespace ohmlet::cli
