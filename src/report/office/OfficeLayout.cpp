#include "report/office/OfficeLayout.h"

#include <QString>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "report/GbkCodec.h"

namespace ohmlet {

namespace {

std::string Printf(const char* format, double value) {
    char buffer[64];
    int length = std::snprintf(buffer, sizeof buffer, format, value);
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < sizeof buffer) return std::string(buffer, length);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, value);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

}  // namespace

std::vector<const Component*> SelectedComponents(const std::vector<Component>& components) {
    std::vector<const Component*> selected;
    for (const Component& c : components)
        if (c.selected) selected.push_back(&c);
    return selected;
}

int32_t ReadingAt(const Component& component, int index) {
    return component.points[static_cast<std::size_t>(index)].value;
}

int ValueRowCount(const Component& component) {
    int n = component.HeldPointCount();
    return n / kReadingsPerRow + (n % kReadingsPerRow ? 1 : 0);
}

std::string XmlSafeUtf8(const std::string& gbk) {
    QString text = FromGbk(gbk);
    for (QChar& ch : text) {
        char16_t u = ch.unicode();
        bool allowed = u >= 0x20 || u == 0x09 || u == 0x0A || u == 0x0D;
        if (!allowed || u == 0xFFFE || u == 0xFFFF) ch = QChar(0xFFFD);
    }
    return text.toStdString();
}

void AppendOneDecimal(std::string& out, float value) {
    // Readings are whole numbers; printf's "%.1f" of a whole number is its digits and
    // ".0", which is much cheaper to make by hand a million times over.
    double d = value;
    if (d == std::floor(d) && std::fabs(d) < 1e15 && !(d == 0 && std::signbit(d))) {
        char buffer[24];
        auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, static_cast<int64_t>(d));
        if (error == std::errc()) {
            out.append(buffer, end);
            out.append(".0", 2);
            return;
        }
    }
    out += Printf("%.1f", d);
}

std::string WordReadingText(float value) {
    std::string text;
    AppendOneDecimal(text, value);
    return text;
}

std::string ExcelReadingText(float value) {
    if (value == 0) return "0";
    return WordReadingText(value);
}

namespace {
// Said wherever the mean is, so a reader knows what it leaves out.
std::string InvalidNote(const Component& component) {
    const int invalid = component.InvalidCount();
    return invalid > 0 ? "（无效读数" + std::to_string(invalid) + "个未计入）" : std::string();
}
}  // namespace

std::string WordHeadingText(const Component& component) {
    // Nine blanks after the bracket, eight before the date: the old reports line up so.
    return XmlSafeUtf8(component.Number()) + "(" + XmlSafeUtf8(component.Name()) +
           ")         平均电阻率:" + Printf("%.1f", component.ComputeAverage()) + " KΩ*cm" +
           InvalidNote(component) + "        " + XmlSafeUtf8(component.TestDate());
}

std::string ExcelIdentityText(const Component& component) {
    return XmlSafeUtf8(component.Number()) + "(" + XmlSafeUtf8(component.Name()) + ")";
}

std::string ExcelAverageText(const Component& component) {
    return "电阻率:" + Printf("%.1f", component.ComputeAverage()) + " KΩ*cm" +
           InvalidNote(component);
}

std::string TestDateText(const Component& component) { return XmlSafeUtf8(component.TestDate()); }

}  // namespace ohmlet
