#pragma once
// How readings are judged, kept beside the other settings ("interpretini"):
//
//   [Interpretation]
//   ; rilem (the default), langford or user
//   ClassTable=rilem
//   ; readings at or above this (kΩ·cm) are off the instrument's scale
//   OverflowLimit=1000
//   ; a downloaded component without a pass band must reach this minimum, unless the
//   ; instrument sent its own
//   DefaultMinimum=10
//   ; or a band instead: all three or none
//   DownloadDesignValue=45
//   DownloadLowerTolerance=-20
//   DownloadUpperTolerance=30
//
// Keys count whole and only inside their section; ";" and "#" lines are comments.
// The user's own class table lives in "classtableini" (see ClassTableFile.h), so that
// saving the choice here never rewrites it.
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "data/CorrosionClasses.h"
#include "data/Criterion.h"
#include "data/ReadingValidity.h"
#include "report/IniFile.h"

namespace ohmlet {

inline constexpr char kInterpretationFile[] = "interpretini";
inline constexpr char kUserClassTableFile[] = "classtableini";

enum class ClassTableChoice { Rilem, Langford, User };

struct InterpretationSettings {
    ClassTableChoice classTable = ClassTableChoice::Rilem;
    std::optional<Criterion> downloadCriterion;  // none: a minimum of defaultMinimum
    int32_t overflowLimit = kDefaultOverflowLimit;
    int32_t defaultMinimum = static_cast<int32_t>(kDefaultMinimum);
    // Values the file held that could not be used, one sentence each.
    std::vector<std::string> problems;

    Criterion DownloadCriterion() const {
        return downloadCriterion.value_or(MinimumCriterion(static_cast<float>(defaultMinimum)));
    }
};

// "rilem", "langford", "user"; and back (nothing for any other text).
const char* ClassTableChoiceName(ClassTableChoice choice);
std::optional<ClassTableChoice> ParseClassTableChoice(std::string_view name);

// What the file holds; anything missing or unreadable stays at its default, and what
// was unusable is named in `problems`.
InterpretationSettings LoadInterpretationSettings(const QString& programFolder);
// Loads the settings and makes their overflow limit the program's; returns them.
InterpretationSettings ApplyInterpretationSettings(const QString& programFolder);
SettingsOutcome SaveInterpretationSettings(const QString& programFolder,
                                           const InterpretationSettings& settings);

// The path of the user's class table file in the settings folder, for reading.
std::string UserClassTablePath(const QString& programFolder);
// Writes `table` as the user's class table, in the form ReadClassTableFile reads.
SettingsOutcome SaveUserClassTable(const QString& programFolder, const ClassTable& table);

struct ChosenClassTable {
    ClassTable table = ClassTable::Rilem();
    std::string problem;  // why the user table was not taken; empty when it was fine

    // One sentence for the terminal: the table used instead and why; empty when fine.
    std::string Warning() const;
};
// The table the settings choose; the default one, with the reason, when the user's
// table is chosen but missing or unusable.
ChosenClassTable LoadChosenClassTable(const QString& programFolder);

}  // namespace ohmlet
