#pragma once
// The control panel's fields, as a table: label, place and widest value of each, and how
// their values are written.
#include <QString>
#include <string>

#include "views/ControlPanel.h"

namespace ohmlet {

struct PanelField {
    ControlPanel::Field field;
    const char* label;       // UTF-8
    const char* objectName;  // the edit's objectName
    bool readOnly;
    bool visible;
    int row;
    int column;          // 0 = left pair, 1 = right pair
    const char* widest;  // the widest value the field shows, or null for free text
};

// A resistivity as the fields show it, at its widest.
inline constexpr const char* kWidestResistivity = "99999.9 kΩ*cm";

// Shown fields first, in reading order; the hidden ones are still filled.
inline constexpr PanelField kPanelFields[] = {
    {ControlPanel::kName, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "构件名称"), "nameField", false,
     true, 0, 0, nullptr},
    {ControlPanel::kNumber, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "构件编号"), "numberField",
     true, true, 0, 1, "00000000"},
    // The pass criterion: a reading passes from design value + negative deviation up
    // to design value + positive deviation.
    {ControlPanel::kDesignValue, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "设计值(kΩ·cm)"),
     "designValueField", false, true, 2, 0, "-1000000"},
    {ControlPanel::kLowerTolerance, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "允许负偏差"),
     "lowerToleranceField", false, true, 3, 0, "-1000000"},
    {ControlPanel::kUpperTolerance, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "允许正偏差"),
     "upperToleranceField", false, true, 3, 1, "-1000000"},
    {ControlPanel::kMaximum, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "电阻最大值"),
     "maximumField", true, true, 4, 0, kWidestResistivity},
    {ControlPanel::kMinimum, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "电阻最小值"),
     "minimumField", true, true, 4, 1, kWidestResistivity},
    {ControlPanel::kPointCount, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "数据个数"),
     "pointCountField", true, true, 5, 0, "00000"},
    {ControlPanel::kAverage, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "平均电阻率"),
     "averageField", true, true, 5, 1, kWidestResistivity},
    {ControlPanel::kPassCount, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "合格点数"),
     "passCountField", true, true, 6, 0, "00000"},
    {ControlPanel::kPassRate, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "合格率"), "passRateField",
     true, true, 6, 1, "100.0%"},
};

inline constexpr PanelField kPanelTotals[] = {
    {ControlPanel::kTotalPoints, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "所有测点个数"),
     "totalPointsField", true, false, 0, 0, "0000000"},
    {ControlPanel::kTotalPassing, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "所有合格测点数"),
     "totalPassingField", true, false, 0, 1, "0000000"},
    {ControlPanel::kOverallPassRate, QT_TRANSLATE_NOOP("ohmlet::ControlPanel", "整体合格率"),
     "overallPassRateField", true, false, 1, 0, "100.0%"},
};

// "45.1 kΩ*cm", "95.0%": the fields' own formats.
QString PanelResistivity(float value);
QString PanelPercent(float rate);
// The longest prefix of text whose GBK bytes fit, never splitting a character.
std::string GbkPrefix(const QString& text, std::size_t maxBytes);

}  // namespace ohmlet
