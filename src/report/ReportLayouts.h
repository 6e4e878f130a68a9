#pragma once
// The six report layouts: their fields in file and screen order, their settings files,
// and the texts a field prints while it holds nothing.
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace ohmlet {

enum class FieldKind { Text, Date, Grade };

struct ReportField {
    const char* key;  // UTF-8; also the label on the page
    FieldKind kind;
};

struct ReportLayoutInfo {
    const char* comboItem;  // UTF-8
    const char* baseName;   // settings file base name
    std::vector<ReportField> fileOrder;
    std::vector<const char*> leftColumn;  // screen order, keys
    std::vector<const char*> rightColumn;
};

inline constexpr int kReportLayoutCount = 6;

// Index 0..5 in the order of the combo box; anything else gives nullptr.
const ReportLayoutInfo* ReportLayoutInfoAt(int layout);
FieldKind KindOfField(const ReportLayoutInfo& info, const std::string& utf8Key);

// The strength grades offered on the pages.
QStringList StrengthGrades();

// The text a field of layout number 1..6 shows and prints while it holds nothing (UTF-8
// key); empty for most fields.
QString DefaultReportParameter(int layoutNumber, const QString& key);

}  // namespace ohmlet
