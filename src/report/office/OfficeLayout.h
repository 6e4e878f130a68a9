#pragma once
// What the Word table and the Excel sheet show of a component: which components take
// part, the heading texts and the reading texts. Texts come out as UTF-8, ready for
// the XML inside both files.
#include <cstdint>
#include <string>
#include <vector>

#include "data/Component.h"

namespace ohmlet {

inline constexpr int kReadingsPerRow = 10;

// The components whose `selected` flag is set, in file order.
std::vector<const Component*> SelectedComponents(const std::vector<Component>& components);

int32_t ReadingAt(const Component& component, int index);

// Rows under a component's heading: ceil(points / 10), none for a component without points.
int ValueRowCount(const Component& component);

// GBK model text as UTF-8 that XML can hold (control characters become U+FFFD).
std::string XmlSafeUtf8(const std::string& gbk);

// "%.1f" of a reading as printf gives it, written fast for whole numbers.
void AppendOneDecimal(std::string& out, float value);
// Word writes "%.1f" for every reading (0 is "0.0").
std::string WordReadingText(float value);
// Excel gets "0" for a zero reading and "%.1f" for the others.
std::string ExcelReadingText(float value);

// "%s(%s)         平均电阻率:%.1f KΩ*cm        %s": number, name, average, test date.
std::string WordHeadingText(const Component& component);
// number + "(" + name + ")"
std::string ExcelIdentityText(const Component& component);
// "电阻率:%.1f KΩ*cm" with the average.
std::string ExcelAverageText(const Component& component);
std::string TestDateText(const Component& component);

}  // namespace ohmlet
