#include "data/CorrosionClasses.h"

#include <climits>
#include <cstdio>

namespace ohmlet {

ClassTable ClassTable::Rilem() {
    return ClassTable("rilem", {{"negligible", 100}, {"low", 50}, {"moderate", 10}, {"high", 0}});
}

ClassTable ClassTable::Langford() {
    return ClassTable("langford",
                      {{"low", 20}, {"low-moderate", 10}, {"high", 5}, {"very-high", 0}});
}

std::optional<ClassTable> ClassTable::BuiltIn(std::string_view name) {
    if (name == "rilem") return Rilem();
    if (name == "langford") return Langford();
    return std::nullopt;
}

namespace {

// The control character that starts at byte i of UTF-8 text, or -1: C0 controls and
// DEL are single bytes, the C1 controls are C2 80..C2 9F.
int ControlAt(const std::string& text, std::size_t i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7F) return c;
    if (c != 0xC2 || i + 1 == text.size()) return -1;
    const unsigned char next = static_cast<unsigned char>(text[i + 1]);
    return next >= 0x80 && next <= 0x9F ? next : -1;
}

// The text with each control character shown as '?', for messages that quote it.
std::string Printable(const std::string& text) {
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int code = ControlAt(text, i);
        shown += code < 0 ? text[i] : '?';
        if (code >= 0x80) ++i;  // the two bytes of a C1 control
    }
    return shown;
}

// Names reach terminals, reports and workbooks: a control character could move a
// terminal's cursor, and a NUL cuts the name short in the workbook's cells.
bool HoldsControlCharacter(const std::string& text, std::string& error, const std::string& whose) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int code = ControlAt(text, i);
        if (code < 0) continue;
        char shown[8];
        std::snprintf(shown, sizeof shown, "U+%04X", static_cast<unsigned>(code));
        error = whose + " holds a control character (" + shown + " at byte " +
                std::to_string(i + 1) + "); names must be plain text";
        return true;
    }
    return false;
}

}  // namespace

std::optional<ClassTable> ClassTable::Make(std::string name, std::vector<CorrosionClass> classes,
                                           std::string& error) {
    if (name.empty()) {
        error = "the table has no name";
        return std::nullopt;
    }
    if (HoldsControlCharacter(name, error, "the table's name")) return std::nullopt;
    if (classes.size() < kMinClasses || classes.size() > kMaxClasses) {
        error = "a table needs 2 to 6 classes, not " + std::to_string(classes.size());
        return std::nullopt;
    }
    for (std::size_t i = 0; i < classes.size(); ++i) {
        const std::string& n = classes[i].name;
        if (n.empty() || n.size() > kMaxNameBytes) {
            error = "class " + std::to_string(i + 1) + " needs a name of 1 to " +
                    std::to_string(kMaxNameBytes) + " bytes";
            return std::nullopt;
        }
        if (HoldsControlCharacter(n, error, "the name of class " + std::to_string(i + 1)))
            return std::nullopt;
        for (std::size_t j = 0; j < i; ++j) {
            if (classes[j].name == n) {
                error = "the class name '" + n + "' is used twice";
                return std::nullopt;
            }
        }
        // The last bound is not used, so only the ones above it must fall.
        if (i > 0 && i + 1 < classes.size() && classes[i].lowerBound >= classes[i - 1].lowerBound) {
            error = "the lower bound of '" + n + "' (" + std::to_string(classes[i].lowerBound) +
                    ") must be below that of '" + classes[i - 1].name + "' (" +
                    std::to_string(classes[i - 1].lowerBound) + ")";
            return std::nullopt;
        }
    }
    return ClassTable(std::move(name), std::move(classes));
}

std::vector<std::string> ClassTable::Ranges() const {
    std::vector<std::string> ranges;
    const std::size_t last = classes_.size() - 1;
    for (std::size_t i = 0; i < classes_.size(); ++i) {
        const CorrosionClass& c = i < last ? classes_[i] : classes_[i - 1];
        ranges.push_back(classes_[i].name + (i < last ? " > " : " <= ") +
                         std::to_string(c.lowerBound));
    }
    return ranges;
}

namespace {

std::string Trim(const std::string& text) {
    const char* space = " \t\r\n";
    std::size_t first = text.find_first_not_of(space);
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

// A whole number and nothing else, inside the 32-bit range.
bool ParseBound(const std::string& text, int64_t& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    long long result = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        result = result * 10 + (text[i] - '0');
        if (result > static_cast<long long>(INT32_MAX) + 1) return false;
    }
    if (negative) result = -result;
    if (result < INT32_MIN || result > INT32_MAX) return false;
    value = result;
    return true;
}

}  // namespace

std::optional<ClassTable> ClassTableFromSettings(
    const std::string& defaultName,
    const std::function<std::optional<std::string>(const std::string& key)>& lookup,
    std::string& error) {
    std::vector<CorrosionClass> classes;
    std::size_t count = 0;
    for (std::size_t i = 1; i <= ClassTable::kMaxClasses + 1; ++i) {
        std::optional<std::string> name = lookup("Class" + std::to_string(i));
        if (!name) continue;
        if (i > ClassTable::kMaxClasses) {
            error = "a table has at most 6 classes (Class1 to Class6)";
            return std::nullopt;
        }
        if (count + 1 != i) {
            error = "Class" + std::to_string(i) + " is given but Class" +
                    std::to_string(count + 1) + " is missing";
            return std::nullopt;
        }
        count = i;
        classes.push_back({Trim(*name), 0});
    }
    if (count == 0) {
        error = "no classes found (keys Class1, Bound1, Class2, ...)";
        return std::nullopt;
    }
    for (std::size_t i = 1; i <= count; ++i) {
        const std::string key = "Bound" + std::to_string(i);
        std::optional<std::string> bound = lookup(key);
        if (i == count) {
            if (bound) {
                error = key + " is given, but the last class takes every reading below Bound" +
                        std::to_string(i - 1) + " and has no bound";
                return std::nullopt;
            }
            break;
        }
        if (!bound) {
            error = key + " is missing: every class but the last needs a lower bound";
            return std::nullopt;
        }
        if (!ParseBound(Trim(*bound), classes[i - 1].lowerBound)) {
            error = key + " is not a whole number: '" + Printable(*bound) + "'";
            return std::nullopt;
        }
    }
    std::optional<std::string> name = lookup("Name");
    std::string tableName = name ? Trim(*name) : defaultName;
    return ClassTable::Make(tableName, std::move(classes), error);
}

}  // namespace ohmlet
