#include "report/InterpretationSettings.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstdlib>

#include "report/ClassTableFile.h"
#include "report/SettingsLocation.h"

namespace ohmlet {
namespace {

constexpr char kSection[] = "Interpretation";
constexpr char kTableKey[] = "ClassTable";
constexpr const char* kCriterionKeys[] = {"DownloadDesignValue", "DownloadLowerTolerance",
                                          "DownloadUpperTolerance"};
constexpr char kLimitKey[] = "OverflowLimit";
constexpr char kMinimumKey[] = "DefaultMinimum";

// The key's whole number; nothing when it is missing or not a number.
std::optional<int64_t> ReadWhole(IniFile& file, const char* key) {
    std::string text;
    if (!file.ReadString(kSection, key, text)) return std::nullopt;
    const std::string trimmed = IniFile::TrimSpaces(text);
    if (trimmed.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(trimmed.c_str(), &end, 10);
    if (errno != 0 || *end != '\0') return std::nullopt;
    return value;
}

}  // namespace

const char* ClassTableChoiceName(ClassTableChoice choice) {
    switch (choice) {
        case ClassTableChoice::Langford:
            return "langford";
        case ClassTableChoice::User:
            return "user";
        case ClassTableChoice::Rilem:
            break;
    }
    return "rilem";
}

std::optional<ClassTableChoice> ParseClassTableChoice(std::string_view name) {
    if (name == "rilem") return ClassTableChoice::Rilem;
    if (name == "langford") return ClassTableChoice::Langford;
    if (name == "user") return ClassTableChoice::User;
    return std::nullopt;
}

InterpretationSettings LoadInterpretationSettings(const QString& programFolder) {
    InterpretationSettings settings;
    IniFile file;
    file.SetExactLookup(true);
    if (!OpenSettingsFile(file, programFolder, kInterpretationFile, SettingsAccess::Read))
        return settings;
    std::string name;
    if (file.ReadString(kSection, kTableKey, name))
        settings.classTable =
            ParseClassTableChoice(IniFile::TrimSpaces(name)).value_or(ClassTableChoice::Rilem);
    if (const std::optional<int64_t> limit = ReadWhole(file, kLimitKey)) {
        if (const std::optional<std::string> problem = OverflowLimitProblem(*limit))
            settings.problems.push_back(std::string(kLimitKey) + ": " + *problem);
        else
            settings.overflowLimit = static_cast<int32_t>(*limit);
    }
    if (const std::optional<int64_t> minimum = ReadWhole(file, kMinimumKey)) {
        if (*minimum <= 0 || *minimum >= settings.overflowLimit)
            settings.problems.push_back(std::string(kMinimumKey) +
                                        ": the minimum must be above 0 and below the overflow "
                                        "limit");
        else
            settings.defaultMinimum = static_cast<int32_t>(*minimum);
    }
    // A half-given criterion is not one: the three go together or not at all.
    std::optional<int64_t> values[3];
    for (int i = 0; i < 3; ++i) values[i] = ReadWhole(file, kCriterionKeys[i]);
    if (values[0] && values[1] && values[2]) {
        const Criterion band{static_cast<float>(*values[0]), static_cast<float>(*values[1]),
                             static_cast<float>(*values[2])};
        if (const std::optional<CriterionFault> fault = CriterionProblem(band))
            settings.problems.push_back("Download criterion: " + CriterionFaultText(*fault));
        else
            settings.downloadCriterion = band;
    }
    file.Close();
    return settings;
}

SettingsOutcome SaveInterpretationSettings(const QString& programFolder,
                                           const InterpretationSettings& settings) {
    IniFile file;
    if (!OpenSettingsFile(file, programFolder, kInterpretationFile, SettingsAccess::Write))
        return file.LastOutcome();
    file.WriteSection(kSection);
    file.WriteString(kTableKey, ClassTableChoiceName(settings.classTable));
    file.WriteInt(kLimitKey, settings.overflowLimit);
    file.WriteInt(kMinimumKey, settings.defaultMinimum);
    if (settings.downloadCriterion) {
        const Criterion& c = *settings.downloadCriterion;
        const float values[] = {c.designValue, c.lowerTolerance, c.upperTolerance};
        for (int i = 0; i < 3; ++i) file.WriteInt(kCriterionKeys[i], SaturateToInt(values[i]));
    }
    file.Commit();
    return file.LastOutcome();
}

InterpretationSettings ApplyInterpretationSettings(const QString& programFolder) {
    InterpretationSettings settings = LoadInterpretationSettings(programFolder);
    SetOverflowLimit(settings.overflowLimit);
    return settings;
}

std::string UserClassTablePath(const QString& programFolder) {
    IniFile probe;
    OpenSettingsFile(probe, programFolder, kUserClassTableFile, SettingsAccess::Read);
    probe.Close();
    return probe.FullPath();
}

SettingsOutcome SaveUserClassTable(const QString& programFolder, const ClassTable& table) {
    IniFile file;
    if (!OpenSettingsFile(file, programFolder, kUserClassTableFile, SettingsAccess::Write))
        return file.LastOutcome();
    // UTF-8, which the reader takes as readily as GBK, so that no name is cut to fit.
    file.WriteSection(kClassTableSection);
    file.WriteString("Name", table.Name());
    const std::vector<CorrosionClass>& classes = table.Classes();
    for (std::size_t i = 0; i < classes.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        file.WriteString("Class" + n, classes[i].name);
        if (i + 1 < classes.size())
            file.WriteInt("Bound" + n, static_cast<int32_t>(classes[i].lowerBound));
    }
    file.Commit();
    return file.LastOutcome();
}

std::string ChosenClassTable::Warning() const {
    if (problem.empty()) return std::string();
    return "Using the " + table.Name() + " class table instead of the user's: " + problem;
}

ChosenClassTable LoadChosenClassTable(const QString& programFolder) {
    ChosenClassTable chosen;
    switch (LoadInterpretationSettings(programFolder).classTable) {
        case ClassTableChoice::Rilem:
            break;
        case ClassTableChoice::Langford:
            chosen.table = ClassTable::Langford();
            break;
        case ClassTableChoice::User: {
            ClassTableFileResult read = ReadClassTableFile(UserClassTablePath(programFolder));
            if (read.table)
                chosen.table = *read.table;
            else
                chosen.problem = read.text;
            break;
        }
    }
    return chosen;
}

}  // namespace ohmlet
