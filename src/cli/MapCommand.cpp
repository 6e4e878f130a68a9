// ohmlet-cli map: one component's readings on its survey grid, as the chart pane's map
// draws them, written to a PNG or PDF file.
#include <QGuiApplication>
#include <QString>
#include <cstdio>
#include <memory>
#include <string_view>

#include "cli/CliCommands.h"
#include "cli/CliDrawing.h"
#include "data/DzlFile.h"
#include "report/ChartFile.h"
#include "report/ClassTableFile.h"
#include "report/GbkCodec.h"
#include "report/InterpretationSettings.h"
#include "report/MapDrawing.h"
#include "report/ReportCanvas.h"

namespace ohmlet::cli {
namespace {

constexpr int kDpi = 96;
const QSize kPictureSize(1000, 800);

template <typename T>
struct Named {
    std::string_view name;
    T value;
};

const Named<ReadingOrder> kOrders[] = {{"rows", ReadingOrder::Rows},
                                       {"serpentine-rows", ReadingOrder::SerpentineRows},
                                       {"columns", ReadingOrder::Columns},
                                       {"serpentine-columns", ReadingOrder::SerpentineColumns}};
const Named<GridCorner> kCorners[] = {{"top-left", GridCorner::TopLeft},
                                      {"top-right", GridCorner::TopRight},
                                      {"bottom-left", GridCorner::BottomLeft},
                                      {"bottom-right", GridCorner::BottomRight}};

template <typename T, std::size_t N>
bool Lookup(const Named<T> (&names)[N], const std::string& word, T& value) {
    for (const Named<T>& n : names)
        if (n.name == word) {
            value = n.value;
            return true;
        }
    return false;
}

// A whole number 1..100 for a side of the grid.
bool ParseSide(const std::string& text, int& side) {
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != text.npos)
        return false;
    side = std::stoi(text);
    return side >= 1 && side <= SurveyGrid::kMaxSide;
}

// "100" or "100x150" (mm between column centres, then row centres).
bool ParseSpacing(const std::string& text, double& x, double& y) {
    const QStringList parts = QString::fromStdString(text).split(QLatin1Char('x'));
    if (parts.size() > 2) return false;
    bool okX = false, okY = false;
    x = parts[0].toDouble(&okX);
    y = parts.size() == 2 ? parts[1].toDouble(&okY) : x;
    if (parts.size() == 1) okY = okX;
    return okX && okY && x > 0 && y > 0 && x < 1e6 && y < 1e6;
}

// The grid given on the command line; `given` stays false when none is.
int GridFromArgs(Args& args, SurveyGrid& grid, bool& given) {
    std::string rows, columns, order, corner, spacing;
    if (!TakeOption(args, "--rows", "--rows", rows) ||
        !TakeOption(args, "--columns", "--columns", columns) ||
        !TakeOption(args, "--order", "--order", order) ||
        !TakeOption(args, "--first-corner", "--first-corner", corner) ||
        !TakeOption(args, "--spacing", "--spacing", spacing))
        return UsageError("an option of the grid is there without its value.");
    given = !rows.empty() || !columns.empty();
    if (!given && (!order.empty() || !corner.empty() || !spacing.empty()))
        return UsageError("--order, --first-corner and --spacing need --rows and --columns.");
    if (!given) return kExitOk;
    if (!ParseSide(rows, grid.rows) || !ParseSide(columns, grid.columns))
        return UsageError("--rows and --columns take whole numbers from 1 to 100.");
    if (!order.empty() && !Lookup(kOrders, order, grid.order))
        return UsageError(
            "--order takes rows, serpentine-rows, columns or serpentine-columns, "
            "not '" +
            order + "'.");
    if (!corner.empty() && !Lookup(kCorners, corner, grid.firstCorner))
        return UsageError(
            "--first-corner takes top-left, top-right, bottom-left or "
            "bottom-right, not '" +
            corner + "'.");
    if (!spacing.empty() && !ParseSpacing(spacing, grid.spacingXmm, grid.spacingYmm))
        return UsageError("--spacing takes millimetres above 0 as X or XxY, not '" + spacing +
                          "'.");
    return kExitOk;
}

QString ProgramFolder() { return QCoreApplication::applicationDirPath(); }

// rilem, langford, the user's table from the settings, or an .ini file.
int ChooseTable(const std::string& name, std::optional<ClassTable>& table) {
    table = ClassTable::BuiltIn(name);
    if (table) return kExitOk;
    std::string path = name;
    if (name == "user") {
        path = UserClassTablePath(ProgramFolder());
    } else if (name.size() <= 4 || name.compare(name.size() - 4, 4, ".ini") != 0) {
        return UsageError("--table takes rilem, langford, user or an .ini file, not '" + name +
                          "'.");
    }
    ClassTableFileResult file = ReadClassTableFile(path);
    if (!file.Ok()) return Fail(kExitIo, file.text);
    table = std::move(file.table);
    return kExitOk;
}

int WriteMap(const Component& component, const ClassTable& table, bool smooth,
             const std::string& out) {
    MapTexts mapTexts = ReportMapTexts();
    mapTexts.conditions = ConditionsText(component.extras.conditions);
    ChartTexts texts;
    texts.title = ComponentTitle(component) + (smooth ? QStringLiteral(" 电阻率分布图（插值）")
                                                      : QStringLiteral(" 电阻率分布图"));
    texts.xTitle = QStringLiteral("x (mm)");
    texts.yTitle = QStringLiteral("y (mm)");
    const SurveyMapDrawing drawing(&component, table, smooth ? MapKind::Smooth : MapKind::Cells,
                                   MapPictureStyle(), texts, mapTexts);
    const ChartExportResult result =
        WriteChartFile(&drawing, kPictureSize, kDpi, QString::fromStdString(out));
    return result.Ok() ? kExitOk : Fail(kExitIo, result.text);
}

}  // namespace

int RunMap(Args args) {
    std::string number, out, tableName = "rilem";
    if (!TakeOption(args, "--component", "--component", number) ||
        !TakeOption(args, "-o", "--output", out) ||
        !TakeOption(args, "--table", "--table", tableName))
        return UsageError("--component, -o and --table each need a value.");
    const bool smooth = TakeFlag(args, "--smooth");
    SurveyGrid grid;
    bool gridGiven = false;
    if (const int code = GridFromArgs(args, grid, gridGiven); code != kExitOk) return code;
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-' || number.empty() || out.empty())
        return UsageError("map takes one DZL file, --component NUMBER and -o OUT.png|OUT.pdf.",
                          args);
    if (ChartFileFormatOf(QString::fromStdString(out)) == ChartFileFormat::Unknown)
        return UsageError("cannot write the map to " + out + ": only .png and .pdf files.");

    const std::unique_ptr<QGuiApplication> app = StartDrawing();

    std::optional<ClassTable> table;
    if (const int code = ChooseTable(tableName, table); code != kExitOk) return code;
    DzlReadResult read = ReadDzlWarning(args[0]);
    if (!read.Ok()) return Fail(kExitIo, read.text);
    const QString wanted = QString::fromStdString(number);
    for (Component& component : read.components) {
        if (FromGbk(component.Number()) != wanted) continue;
        if (gridGiven) component.extras.grid = grid;
        if (!component.extras.grid)
            return UsageError(args[0] + ": component " + number +
                              " has no survey grid; give one with --rows and --columns.");
        return WriteMap(component, *table, smooth, out);
    }
    return UsageError(args[0] + ": there is no component " + number + ".");
}

const CommandHelp kMapHelp = {
    "Draws one component's readings on its survey grid (row 0 at the top, column 0 at the "
    "left) to a PNG or PDF file: every cell in its class colour, or with --smooth a field "
    "interpolated between the cell centres with the class boundaries as contour lines.",
    {{"--component NUMBER", "The component to draw, by its number."},
     {"-o, --output OUT", "The file to write: .png or .pdf."},
     {"--table rilem|langford|user|FILE.ini",
      "The class table: built in (rilem by default), the user's own, or one from a file."},
     {"--smooth", "Draw the interpolated field instead of the cells."},
     {"--rows R --columns C", "Use this grid instead of the one stored in the file."},
     {"--order ORDER",
      "How the readings walk the grid: rows (default), serpentine-rows, columns or "
      "serpentine-columns."},
     {"--first-corner CORNER",
      "Where the first reading is: top-left (default), top-right, bottom-left or "
      "bottom-right."},
     {"--spacing X[xY]", "Millimetres between cell centres; without it the axes count cells."}}};

}  // namespace ohmlet::cli
