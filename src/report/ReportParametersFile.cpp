#include "report/ReportParametersFile.h"

#include "report/GbkCodec.h"
#include "report/SettingsLocation.h"

namespace ohmlet {

namespace {

constexpr char kClassSummaryKey[] = "ClassSummary";
constexpr char kMapPagesKey[] = "MapPages";

// A choice that is on unless the file says 0.
bool ReadOnByDefault(const QString& programFolder, const char* key) {
    int32_t on = 1;
    IniFile file;
    if (OpenSettingsFile(file, programFolder, kChosenLayoutFile, SettingsAccess::Read)) {
        file.ReadInt(SectionName(), key, on);
        file.Close();
    }
    return on != 0;
}

// Only called with 0..kReportLayoutCount - 1.
const ReportLayoutInfo& LayoutAt(int layout) { return *ReportLayoutInfoAt(layout); }

template <typename Map>
typename Map::mapped_type ValueOf(const Map& map, const QString& key) {
    auto it = map.find(key);
    return it == map.end() ? typename Map::mapped_type() : it->second;
}

void ReadLayout(IniFile& file, int layout, LayoutParameters& values) {
    for (const ReportField& f : LayoutAt(layout).fileOrder) {
        const QString key = QString::fromUtf8(f.key);
        std::string value;
        if (!file.ReadString(SectionName(), ToGbk(key), value)) continue;
        if (f.kind == FieldKind::Date) {
            const QDate date = ParseStoredDate(value);
            if (date.isValid()) values.dates[key] = date;
        } else {
            // An emptied field shows what the report prints for it.
            values.texts[key] =
                value.empty() ? DefaultReportParameter(layout + 1, key) : FromGbk(value);
        }
    }
}

void WriteLayout(IniFile& file, int layout, const LayoutParameters& values) {
    for (const ReportField& f : LayoutAt(layout).fileOrder) {
        const QString key = QString::fromUtf8(f.key);
        if (f.kind == FieldKind::Date)
            file.WriteString(ToGbk(key), FormatStoredDate(ValueOf(values.dates, key)));
        else
            file.WriteString(ToGbk(key), ToGbk(ValueOf(values.texts, key)));
    }
}

// Adds a failed save to what the caller hears; the first failure gives code and cause.
void Note(SettingsOutcome& all, const SettingsOutcome& one) {
    if (one.Ok()) return;
    if (all.Ok()) {
        all = one;
        return;
    }
    all.text += "\n" + one.text;
}

// One file written whole; `write` adds its keys after the section line.
template <typename Write>
SettingsOutcome SaveFile(const QString& programFolder, const char* baseName, Write write) {
    IniFile file;
    if (!OpenSettingsFile(file, programFolder, baseName, SettingsAccess::Write))
        return file.LastOutcome();
    file.WriteSection(SectionName());
    write(file);
    file.Commit();
    return file.LastOutcome();
}

}  // namespace

std::string LayoutKeyGbk() { return ToGbk(QStringLiteral("报告格式")); }
std::string SectionName() { return "Data"; }
std::string ChartPageKeyGbk() { return ToGbk(QStringLiteral("图表页")); }

bool ReadReportChartPage(const QString& programFolder) {
    int32_t on = 0;
    IniFile file;
    if (OpenSettingsFile(file, programFolder, kChosenLayoutFile, SettingsAccess::Read)) {
        file.ReadInt(SectionName(), ChartPageKeyGbk(), on);
        file.Close();
    }
    return on != 0;
}

ReportParameters LoadReportParameters(const QString& programFolder, const QDate& today) {
    ReportParameters parameters;
    for (int layout = 0; layout < kReportLayoutCount; ++layout) {
        LayoutParameters& values = parameters.layouts[static_cast<std::size_t>(layout)];
        values = FreshLayoutParameters(layout, today);
        IniFile file;
        if (!OpenSettingsFile(file, programFolder, LayoutAt(layout).baseName, SettingsAccess::Read))
            continue;
        ReadLayout(file, layout, values);
        // Layout 1's file keeps the choice too, for when "reportini" is lost.
        if (layout == 0) file.ReadInt(SectionName(), LayoutKeyGbk(), parameters.chosenLayout);
        file.Close();
    }
    IniFile chosen;
    if (OpenSettingsFile(chosen, programFolder, kChosenLayoutFile, SettingsAccess::Read)) {
        chosen.ReadInt(SectionName(), LayoutKeyGbk(), parameters.chosenLayout);
        chosen.Close();
    }
    parameters.chartPage = ReadReportChartPage(programFolder);
    parameters.classSummary = ReadClassSummaryChoice(programFolder);
    parameters.mapPages = ReadMapPagesChoice(programFolder);
    return parameters;
}

SettingsOutcome SaveReportParameters(const QString& programFolder,
                                     const ReportParameters& parameters) {
    SettingsOutcome outcome;
    for (int layout = 0; layout < kReportLayoutCount; ++layout) {
        Note(outcome, SaveFile(programFolder, LayoutAt(layout).baseName, [&](IniFile& file) {
                 WriteLayout(file, layout, parameters.layouts[static_cast<std::size_t>(layout)]);
                 if (layout == 0) file.WriteInt(LayoutKeyGbk(), parameters.chosenLayout);
             }));
    }
    Note(outcome, SaveFile(programFolder, kChosenLayoutFile, [&](IniFile& file) {
             file.WriteInt(LayoutKeyGbk(), parameters.chosenLayout);
             // Written only when on, so a file saved without charts is the file it always was.
             if (parameters.chartPage) file.WriteInt(ChartPageKeyGbk(), 1);
             // Only the change from the default is written: a file as before otherwise.
             if (!parameters.classSummary) file.WriteInt(kClassSummaryKey, 0);
             if (!parameters.mapPages) file.WriteInt(kMapPagesKey, 0);
         }));
    return outcome;
}

bool ReadClassSummaryChoice(const QString& programFolder) {
    return ReadOnByDefault(programFolder, kClassSummaryKey);
}

bool ReadMapPagesChoice(const QString& programFolder) {
    return ReadOnByDefault(programFolder, kMapPagesKey);
}

ReportParameterSet ReadReportParameters(const QString& programFolder, int layoutNumber) {
    ReportParameterSet set;
    const ReportLayoutInfo* info = ReportLayoutInfoAt(layoutNumber - 1);
    if (!info) return set;
    IniFile file;
    const bool open = OpenSettingsFile(file, programFolder, info->baseName, SettingsAccess::Read);
    for (const ReportField& f : info->fileOrder) {
        const QString key = QString::fromUtf8(f.key);
        std::string value;
        if (open) file.ReadString(SectionName(), ToGbk(key), value);
        if (value.empty()) value = ToGbk(DefaultReportParameter(layoutNumber, key));
        set.emplace(key, value);
    }
    if (open) file.Close();
    return set;
}

std::string ReadReportParameter(const QString& programFolder, int layoutNumber,
                                const QString& key) {
    const ReportLayoutInfo* info = ReportLayoutInfoAt(layoutNumber - 1);
    std::string result;
    if (!info) return result;
    IniFile file;
    if (!OpenSettingsFile(file, programFolder, info->baseName, SettingsAccess::Read)) return result;
    file.ReadString(SectionName(), ToGbk(key), result);
    file.Close();
    return result;
}

}  // namespace ohmlet
