// ohmlet-cli stats: full statistics and corrosion-class counts per component and over
// the ticked components, as a table or as JSON.
#include <QJsonObject>
#include <cstdio>
#include <iostream>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/CliCommands.h"
#include "cli/ExtrasOutput.h"
#include "cli/JsonStream.h"
#include "data/DzlFile.h"
#include "data/ExtrasJson.h"
#include "data/PassRate.h"
#include "data/ReadingStats.h"
#include "report/ClassTableFile.h"

namespace ohmlet::cli {
namespace {

void WriteOrNull(JsonStream& json, std::string_view key, const std::optional<double>& value) {
    if (value)
        json.Key(key).Number(*value);
    else
        json.Key(key).Null();
}

template <typename T>
void WriteOrNull(JsonStream& json, std::string_view key, const std::optional<T>& value) {
    if (value)
        json.Key(key).Int(*value);
    else
        json.Key(key).Null();
}

// The class names as JSON keys in the order and with the duplicates QJsonObject gives them
// (sorted; a later class of the same name wins), each with its index in the table.
using ClassKeyList = std::vector<std::pair<std::string, std::size_t>>;

ClassKeyList ClassKeys(const ClassTable& table) {
    QJsonObject byName;
    for (std::size_t i = 0; i < table.Size(); ++i)
        byName[QString::fromStdString(table.Classes()[i].name)] = static_cast<qint64>(i);
    ClassKeyList keys;
    for (auto it = byName.constBegin(); it != byName.constEnd(); ++it)
        keys.emplace_back(it.key().toStdString(), static_cast<std::size_t>(it->toInteger()));
    return keys;
}

// One statistics object; with a component, its number, name and tick join in, every key in
// sorted order.
void WriteStats(JsonStream& json, const ReadingStats& s, const ClassKeyList& classKeys,
                const Component* c) {
    json.BeginObject();
    if (s.classCounts) {
        json.Key("classCounts").BeginObject();
        for (const auto& [name, index] : classKeys) json.Key(name).Int((*s.classCounts)[index]);
        json.EndObject();
    } else {
        json.Key("classCounts").Null();
    }
    if (c && !c->extras.conditions.IsEmpty())
        WriteJsonValue(json.Key("conditions"), ConditionsToJson(c->extras.conditions));
    json.Key("count").Int(s.count);
    WriteOrNull(json, "cv", s.cv);
    json.Key("invalidCount").Int(s.invalidCount);
    WriteOrNull(json, "max", s.max);
    WriteOrNull(json, "mean", s.mean);
    WriteOrNull(json, "median", s.median);
    WriteOrNull(json, "min", s.min);
    if (c) {
        WriteGbkText(json, "name", c->Name());
        WriteGbkText(json, "number", c->Number());
    }
    WriteOrNull(json, "p10", s.p10);
    WriteOrNull(json, "p90", s.p90);
    WriteOrNull(json, "passCount", s.passCount);
    WriteOrNull(json, "passRate", s.passRate);
    if (c) json.Key("selected").Bool(c->selected != 0);
    WriteOrNull(json, "stddev", s.stddev);
    json.EndObject();
}

void PrintJson(const std::vector<Component>& components, const DocumentStats& stats,
               const ClassTable& table) {
    const ClassKeyList classKeys = ClassKeys(table);
    JsonStream json(std::cout);
    json.BeginObject();
    json.Key("all");
    WriteStats(json, stats.selected, classKeys, nullptr);
    json.Key("classes").BeginArray();
    for (const CorrosionClass& c : table.Classes())
        json.String(QString::fromStdString(c.name).toStdString());
    json.EndArray();
    json.Key("components").BeginArray();
    for (std::size_t i = 0; i < components.size() && json.Good(); ++i)
        WriteStats(json, stats.components[i], classKeys, &components[i]);
    json.EndArray();
    json.Key("table").String(QString::fromStdString(table.Name()).toStdString());
    json.EndObject();
}

std::string Number(const std::optional<double>& value, const char* format) {
    if (!value) return "-";
    char text[64];
    std::snprintf(text, sizeof text, format, *value);
    return text;
}

template <typename T>
std::string Whole(const std::optional<T>& value) {
    return value ? std::to_string(*value) : std::string("-");
}

void PrintRow(std::ostream& out, const std::string& number, const std::string& name,
              const std::string& ticked, const ReadingStats& s) {
    out << Pad(number, 8) << Pad(name, 24) << Pad(ticked, 7) << Pad(std::to_string(s.count), 8)
        << Pad(std::to_string(s.invalidCount), 9) << Pad(Number(s.mean, "%.2f"), 10)
        << Pad(Number(s.median, "%.2f"), 10) << Pad(Number(s.stddev, "%.2f"), 10)
        << Pad(Number(s.cv, "%.3f"), 8) << Pad(Number(s.p10, "%.2f"), 10)
        << Pad(Number(s.p90, "%.2f"), 10) << Pad(Whole(s.min), 8) << Pad(Whole(s.max), 8)
        << Pad(Whole(s.passCount), 7)
        << (s.passCount ? RateText(*s.passCount, s.count) + "%" : std::string("-")) << '\n';
}

// A line of padded columns, without the padding after the last.
void PrintColumns(std::ostream& out, std::string line) {
    line.erase(line.find_last_not_of(' ') + 1);
    out << line << '\n';
}

void PrintClassRow(std::ostream& out, const std::string& number, const std::string& name,
                   const ReadingStats& s, const std::vector<int>& widths) {
    std::string line = Pad(number, 8) + Pad(name, 24);
    for (std::size_t i = 0; i < widths.size(); ++i)
        line += Pad(s.classCounts ? std::to_string((*s.classCounts)[i]) : "-", widths[i]);
    PrintColumns(out, line);
}

void PrintTable(const std::vector<Component>& components, const DocumentStats& stats,
                const ClassTable& table) {
    std::ostream& out = std::cout;
    out << Pad("Number", 8) << Pad("Name", 24) << Pad("Ticked", 7) << Pad("Count", 8)
        << Pad("Invalid", 9) << Pad("Mean", 10) << Pad("Median", 10) << Pad("Std dev", 10)
        << Pad("CV", 8) << Pad("P10", 10) << Pad("P90", 10) << Pad("Min", 8) << Pad("Max", 8)
        << Pad("Pass", 7) << "Pass rate\n";
    for (std::size_t i = 0; i < components.size(); ++i)
        PrintRow(out, components[i].Number(), GbkToUtf8(components[i].Name()),
                 components[i].selected != 0 ? "yes" : "no", stats.components[i]);
    PrintRow(out, "All", "(ticked components)", "", stats.selected);

    out << "\nCorrosion-likelihood classes (" << TerminalText(table.Name()) << "):";
    const std::vector<std::string> ranges = table.Ranges();
    for (std::size_t i = 0; i < ranges.size(); ++i)
        out << (i ? ", " : " ") << TerminalText(ranges[i]);
    out << "\n\n";
    std::string header = Pad("Number", 8) + Pad("Name", 24);
    std::vector<int> widths;
    for (const CorrosionClass& c : table.Classes()) {
        widths.push_back(std::max(10, static_cast<int>(c.name.size()) + 2));
        header += Pad(c.name, widths.back());
    }
    PrintColumns(out, header);
    for (std::size_t i = 0; i < components.size(); ++i)
        PrintClassRow(out, components[i].Number(), GbkToUtf8(components[i].Name()),
                      stats.components[i], widths);
    PrintClassRow(out, "All", "(ticked components)", stats.selected, widths);
}

}  // namespace

int RunStats(Args args) {
    std::string tableArg = "rilem";
    if (!TakeOption(args, "--table", "--table", tableArg))
        return UsageError("--table needs rilem, langford or an .ini file.");
    const bool json = TakeFlag(args, "--json");
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-')
        return UsageError("stats takes one DZL file, optionally --table and --json.", args);

    std::optional<ClassTable> table = ClassTable::BuiltIn(tableArg);
    if (!table) {
        if (tableArg.size() <= 4 || tableArg.compare(tableArg.size() - 4, 4, ".ini") != 0)
            return UsageError("--table takes rilem, langford or an .ini file, not '" + tableArg +
                              "'.");
        ClassTableFileResult file = ReadClassTableFile(tableArg);
        if (!file.Ok()) return Fail(kExitIo, file.text);
        table = std::move(file.table);
    }

    const DzlFileStats read = ReadDzlFileWithStats(args[0], *table);
    if (!read.file.Ok()) return Fail(kExitIo, read.file.text);
    WarnAll(read.file.warnings);
    if (json)
        PrintJson(read.file.components, read.stats, *table);
    else
        PrintTable(read.file.components, read.stats, *table);
    return kExitOk;
}

const CommandHelp kStatsHelp = {
    "Prints statistics and corrosion-likelihood class counts per component and over the "
    "ticked components. Readings of 0 or below, or at or above the overflow limit, are "
    "invalid: counted apart and left out of every figure.",
    {{"--table rilem|langford|FILE.ini",
      "The class table: a built-in one (rilem by default) or one read from an .ini file."},
     {"--json", "Print JSON instead of a table."}}};

}  // namespace ohmlet::cli
