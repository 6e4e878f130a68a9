// The Excel workbook, read back with python3-openpyxl.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QProcess>

#include "OfficeTestSupport.h"
#include "data/Document.h"
#include "report/office/ExcelWorkbookWriter.h"

namespace ohmlet::test {
namespace {

const char kDate[] = "2015年03月07日";

QJsonObject WriteAndRead(const std::vector<ComponentSpec>& specs) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("数据表格.xlsx"));
    OfficeOutcome outcome = WriteExcelWorkbook(MakeComponents(specs), path);
    EXPECT_TRUE(outcome.Ok()) << outcome.text;
    EXPECT_EQ(outcome.path, path);
    return ReadBack(QStringLiteral("xlsx"), path);
}

QString Cell(const QJsonObject& book, const char* name) {
    return book[QStringLiteral("cells")][QString::fromLatin1(name)][QStringLiteral("value")]
        .toString();
}

double Value(const QJsonObject& book, const char* name) {
    return book[QStringLiteral("cells")][QString::fromLatin1(name)][QStringLiteral("value")]
        .toDouble(-1);
}

QStringList Merged(const QJsonObject& book) {
    QStringList ranges;
    for (const auto& r : book[QStringLiteral("merged")].toArray()) ranges << r.toString();
    ranges.sort();
    return ranges;
}

QStringList HeadingMerges(std::initializer_list<int> rows) {
    QStringList ranges;
    for (int row : rows)
        for (const char* span : {"A%1:C%1", "D%1:F%1", "G%1:I%1", "J%1:L%1"})
            ranges << QString::fromLatin1(span).arg(row);
    ranges.sort();
    return ranges;
}

TEST(ExcelWorkbook, TwentyFivePoints) {
    QJsonObject book = WriteAndRead({{"0001", "梁1", kDate, Readings(25)}});
    EXPECT_EQ(book[QStringLiteral("sheets")].toArray(),
              (QJsonArray{QStringLiteral("报表1"), QStringLiteral("统计汇总")}));
    EXPECT_EQ(Merged(book), HeadingMerges({1}));
    EXPECT_EQ(Cell(book, "A1"), QStringLiteral("0001(梁1)"));
    EXPECT_EQ(Cell(book, "G1"), QStringLiteral("2015年03月07日"));
    EXPECT_EQ(book[QStringLiteral("maxRow")].toInt(), 4);

    const char* columns = "ABCDEFGHIJ";
    for (int j = 0; j < 25; ++j) {
        QString name = QStringLiteral("%1%2").arg(QChar(columns[j % 10])).arg(2 + j / 10);
        QJsonObject cell = book[QStringLiteral("cells")][name].toObject();
        EXPECT_EQ(cell[QStringLiteral("value")].toDouble(), j + 1) << name.toStdString();
        EXPECT_EQ(cell[QStringLiteral("type")].toString(), QStringLiteral("n"))
            << name.toStdString();
        EXPECT_EQ(cell[QStringLiteral("format")].toString(), QStringLiteral("0.0"))
            << name.toStdString();
    }
    // Nothing beyond the readings: F4..J4 and column K stay empty.
    for (const char* empty : {"F4", "J4", "K2", "L1"})
        EXPECT_FALSE(book[QStringLiteral("cells")].toObject().contains(QString::fromLatin1(empty)))
            << empty;
    EXPECT_EQ(book[QStringLiteral("cells")].toObject().size(), 3 + 25);
}

TEST(ExcelWorkbook, HeadingTextsAreExact) {
    QJsonObject book =
        WriteAndRead({{"0001", "梁1", kDate, {45, 46}}, {"P002", "", "2015年 3月 7日", {0, 87}}});
    EXPECT_EQ(Cell(book, "A1"), QStringLiteral("0001(梁1)"));
    EXPECT_EQ(Cell(book, "D1"), QStringLiteral("电阻率:45.5 KΩ*cm"));
    EXPECT_EQ(Cell(book, "G1"), QStringLiteral("2015年03月07日"));
    EXPECT_EQ(Cell(book, "A3"), QStringLiteral("P002()"));
    // The 0 is no reading: the mean leaves it out, and says so.
    EXPECT_EQ(Cell(book, "D3"), QStringLiteral("电阻率:87.0 KΩ*cm（无效读数1个未计入）"));
    EXPECT_EQ(Cell(book, "G3"), QStringLiteral("2015年 3月 7日"));
}

// Readings are numbers; their format shows the texts the sheet always held: "0" for a
// zero reading, one decimal for the others.
TEST(ExcelWorkbook, ReadingsAreNumbersShownAsBefore) {
    struct Case {
        const char* cell;
        double value;
        const char* format;
    } cases[] = {
        {"A2", 0, "0"},
        {"B2", 87, "0.0"},
        {"C2", 10, "0.0"},
        {"D2", 1000, "0.0"},
        {"E2", -5, "0.0"},
        {"F2", 2147483648.0, "0.0"},
        {"G2", -2147483648.0, "0.0"},
    };
    QJsonObject book =
        WriteAndRead({{"0001", "梁1", kDate, {0, 87, 10, 1000, -5, 2147483647, -2147483647 - 1}}});
    for (const Case& k : cases) {
        QJsonObject cell = book[QStringLiteral("cells")][QString::fromLatin1(k.cell)].toObject();
        EXPECT_EQ(cell[QStringLiteral("type")].toString(), QStringLiteral("n")) << k.cell;
        EXPECT_EQ(cell[QStringLiteral("value")].toDouble(), k.value) << k.cell;
        EXPECT_EQ(cell[QStringLiteral("format")].toString(), QString::fromLatin1(k.format))
            << k.cell;
    }
    for (const char* name : {"A1", "D1", "G1"})
        EXPECT_EQ(book[QStringLiteral("cells")][QString::fromLatin1(name)][QStringLiteral("type")]
                      .toString(),
                  QStringLiteral("s"))
            << name;
}

// What a spreadsheet shows is what the old all-text sheet showed: LibreOffice prints
// each cell as formatted into CSV.
TEST(ExcelWorkbook, SpreadsheetShowsTheOldTexts) {
    const QString office = QStringLiteral("/usr/bin/soffice");
    if (!QFile::exists(office)) GTEST_SKIP() << "LibreOffice is not installed";
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("sheet.xlsx"));
    ASSERT_TRUE(
        WriteExcelWorkbook(MakeComponents({{"0001", "梁1", kDate, {0, 87, 10, 1000, -5}}}), path)
            .Ok());
    QProcess convert;
    convert.start(office, {QStringLiteral("-env:UserInstallation=file://") + folder.path() +
                               QStringLiteral("/profile"),
                           QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                           QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"),
                           QStringLiteral("--outdir"), folder.path(), path});
    ASSERT_TRUE(convert.waitForFinished(180000));
    QFile csv(folder.filePath(QStringLiteral("sheet.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly)) << convert.readAllStandardError().toStdString();
    const QStringList lines = QString::fromUtf8(csv.readAll()).split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(
        QStringLiteral("0001(梁1),,,电阻率:48.5 KΩ*cm（无效读数3个未计入）,,,") + kDate))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("0,87.0,10.0,1000.0,-5.0")))
        << lines[1].toStdString();
}

TEST(ExcelWorkbook, HeadingsAreBoldAndBorderedReadingsPlain) {
    QJsonObject book = WriteAndRead({{"0001", "梁1", kDate, {1, 2}}, {"0002", "板2", kDate, {3}}});
    const QJsonArray thin{QStringLiteral("thin"), QStringLiteral("thin"), QStringLiteral("thin"),
                          QStringLiteral("thin")};
    struct Case {
        const char* cell;
        bool heading;
    } cases[] = {{"A1", true},  {"D1", true},  {"G1", true}, {"A3", true},
                 {"A2", false}, {"B2", false}, {"A4", false}};
    for (const Case& k : cases) {
        QJsonObject cell = book[QStringLiteral("cells")][QString::fromLatin1(k.cell)].toObject();
        ASSERT_FALSE(cell.isEmpty()) << k.cell;
        EXPECT_EQ(cell[QStringLiteral("bold")].toBool(), k.heading) << k.cell;
        if (k.heading)
            EXPECT_EQ(cell[QStringLiteral("border")].toArray(), thin) << k.cell;
        else
            for (const auto& side : cell[QStringLiteral("border")].toArray())
                EXPECT_TRUE(side.isNull()) << k.cell;
    }
}

TEST(ExcelWorkbook, PrintsOnePageWide) {
    for (int points : {0, 3, 2000}) {
        QJsonObject book = WriteAndRead({{"0001", "梁1", kDate, Readings(points)}});
        QJsonObject page = book[QStringLiteral("page")].toObject();
        EXPECT_TRUE(page[QStringLiteral("fitToPage")].toBool()) << points;
        EXPECT_EQ(page[QStringLiteral("fitToWidth")].toInt(), 1) << points;
        // As many pages down as the rows need.
        EXPECT_EQ(page[QStringLiteral("fitToHeight")].toInt(), 0) << points;
        EXPECT_EQ(page[QStringLiteral("paperSize")].toInt(), 9) << points;  // A4
    }
}

TEST(ExcelWorkbook, ComponentWithoutPointsLeavesOneEmptyRow) {
    QJsonObject book =
        WriteAndRead({{"0001", "梁1", kDate, {}}, {"0002", "板2", kDate, {4, 5, 6}}});
    EXPECT_EQ(Merged(book), HeadingMerges({1, 3}));
    EXPECT_EQ(Cell(book, "A1"), QStringLiteral("0001(梁1)"));
    EXPECT_EQ(Cell(book, "A3"), QStringLiteral("0002(板2)"));
    EXPECT_EQ(Value(book, "A4"), 4);
    EXPECT_EQ(Value(book, "C4"), 6);
    for (const char* empty : {"A2", "B2", "J2"})
        EXPECT_FALSE(book[QStringLiteral("cells")].toObject().contains(QString::fromLatin1(empty)))
            << empty;
}

TEST(ExcelWorkbook, TenPointsThenTheNextHeading) {
    QJsonObject book =
        WriteAndRead({{"0001", "梁1", kDate, Readings(10)}, {"0002", "板2", kDate, {9}}});
    EXPECT_EQ(Merged(book), HeadingMerges({1, 3}));
    EXPECT_EQ(Value(book, "J2"), 10);
    EXPECT_EQ(Cell(book, "A3"), QStringLiteral("0002(板2)"));
    EXPECT_EQ(Value(book, "A4"), 9);
}

TEST(ExcelWorkbook, UnselectedComponentsAreLeftOut) {
    QJsonObject book = WriteAndRead({{"0001", "梁1", kDate, {1}, false},
                                     {"0002", "板2", kDate, {2}},
                                     {"0003", "柱3", kDate, {3}, false}});
    EXPECT_EQ(Merged(book), HeadingMerges({1}));
    EXPECT_EQ(Cell(book, "A1"), QStringLiteral("0002(板2)"));
    EXPECT_EQ(Value(book, "A2"), 2);
    EXPECT_EQ(book[QStringLiteral("cells")].toObject().size(), 4);
}

TEST(ExcelWorkbook, NothingSelectedGivesAnEmptySheet) {
    QJsonObject book = WriteAndRead({{"0001", "梁1", kDate, {1}, false}});
    EXPECT_EQ(book[QStringLiteral("sheets")].toArray(),
              (QJsonArray{QStringLiteral("报表1"), QStringLiteral("统计汇总")}));
    EXPECT_TRUE(book[QStringLiteral("cells")].toObject().isEmpty());
    EXPECT_TRUE(book[QStringLiteral("merged")].toArray().isEmpty());
}

TEST(ExcelWorkbook, EveryColumnAndCellIsAlignedLeftAndJustified) {
    QJsonObject book = WriteAndRead({{"0001", "梁1", kDate, {1, 2}}});
    QJsonArray columns = book[QStringLiteral("columns")].toArray();
    ASSERT_EQ(columns.size(), 1);
    EXPECT_EQ(columns[0][QStringLiteral("min")].toInt(), 1);
    EXPECT_EQ(columns[0][QStringLiteral("max")].toInt(), 16384);
    EXPECT_EQ(columns[0][QStringLiteral("horizontal")].toString(), QStringLiteral("left"));
    EXPECT_EQ(columns[0][QStringLiteral("vertical")].toString(), QStringLiteral("justify"));
    for (const char* name : {"A1", "D1", "G1", "A2", "B2"}) {
        QJsonObject cell = book[QStringLiteral("cells")][QString::fromLatin1(name)].toObject();
        EXPECT_EQ(cell[QStringLiteral("horizontal")].toString(), QStringLiteral("left")) << name;
        EXPECT_EQ(cell[QStringLiteral("vertical")].toString(), QStringLiteral("justify")) << name;
    }
}

TEST(ExcelWorkbook, MoreRowsThanASheetHoldsFailsAndWritesNothing) {
    // 2 rows per component without points: one more component than a sheet can take.
    std::vector<Component> components(1048576 / 2 + 1);
    for (Component& c : components) c.SetNumber("0001");
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("t.xlsx"));
    OfficeOutcome outcome = WriteExcelWorkbook(components, path);
    EXPECT_EQ(outcome.code, OfficeCode::Failed);
    EXPECT_TRUE(QString::fromStdString(outcome.text).contains(QStringLiteral("1048576")))
        << outcome.text;
    EXPECT_FALSE(QFile::exists(path));
}

TEST(ExcelWorkbook, MissingOutputFolderFails) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("missing/t.xlsx"));
    OfficeOutcome outcome = WriteExcelWorkbook(MakeComponents({{"0001", "梁1", kDate, {1}}}), path);
    EXPECT_EQ(outcome.code, OfficeCode::Failed);
    EXPECT_TRUE(QString::fromStdString(outcome.text).contains(path)) << outcome.text;
    EXPECT_FALSE(QFile::exists(path));
}

TEST(ExcelWorkbook, DocumentWithoutComponentsWritesNothing) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("t.xlsx"));
    Document document;
    EXPECT_EQ(WriteExcelWorkbook(document, path).code, OfficeCode::NothingToWrite);
    EXPECT_FALSE(QFile::exists(path));
}

}  // namespace
}  // namespace ohmlet::test

namespace ohmlet::test {
namespace {

// The summary sheet: a row per ticked component and one over all of them, the figures
// as numbers, the class counts in the table's order (highest readings first).
TEST(ExcelWorkbookSummary, StatisticsAndClassCountsPerComponentAndOverall) {
    struct Case {
        const char* what;
        ClassTable table;
        std::vector<ComponentSpec> specs;
        // Per row: valid count, mean, min, max, then the class counts; invalid readings
        // are counted apart and in no other figure.
        std::vector<std::vector<double>> rows;
        std::vector<double> invalid;  // per row
    } cases[] = {
        {"rilem, one component not ticked",
         ClassTable::Rilem(),
         {{"0001", "a", kDate, {5, 20, 0, 60, 120, 1000}},
          {"0002", "b", kDate, {1, 2}, false},
          {"0003", "c", kDate, {55, 65}}},
         {{4, 51.25, 5, 120, 1, 1, 1, 1},
          {2, 60, 55, 65, 0, 2, 0, 0},
          {6, 54.1666, 5, 120, 1, 3, 1, 1}},
         {2, 0, 2}},
        {"langford",
         ClassTable::Langford(),
         {{"0001", "三号楼五层框架梁第十二跨轴线七至九", kDate, {3, 7, 15, 25}}},
         {{4, 12.5, 3, 25, 1, 1, 1, 1}, {4, 12.5, 3, 25, 1, 1, 1, 1}},
         {0, 0}},
    };
    for (const Case& c : cases) {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("t.xlsx"));
        ASSERT_TRUE(WriteExcelWorkbook(MakeComponents(c.specs), path, c.table).Ok()) << c.what;
        const QJsonObject book = ReadBack(QStringLiteral("xlsx"), path);
        const QJsonArray rows =
            book[QStringLiteral("others")][QStringLiteral("统计汇总")].toArray();
        // The figures, a blank row, then the classes' ranges and, for a built-in table, its
        // scope.
        const auto figures = static_cast<qsizetype>(c.rows.size() + 1);
        ASSERT_EQ(rows.size(), figures + 3) << c.what;
        const QString ranges = rows[figures + 1].toArray()[0].toString();
        EXPECT_TRUE(
            ranges.startsWith(QStringLiteral("等级表 ") + QString::fromStdString(c.table.Name())))
            << ranges.toStdString();
        EXPECT_TRUE(ranges.contains(QStringLiteral("（不含")) &&
                    ranges.contains(QStringLiteral("≤")))
            << ranges.toStdString();
        EXPECT_TRUE(
            rows[figures + 2].toArray()[0].toString().startsWith(QStringLiteral("适用于：")));
        const QJsonArray heading = rows[0].toArray();
        EXPECT_EQ(heading[0].toString(), QStringLiteral("构件编号")) << c.what;
        EXPECT_EQ(heading.size(), static_cast<qsizetype>(15 + 2 * c.table.Size())) << c.what;
        EXPECT_EQ(rows[figures - 1].toArray()[0].toString(), QStringLiteral("全部")) << c.what;
        // It prints one page wide, headings on every page, every name whole.
        const QJsonObject page =
            book[QStringLiteral("otherPages")][QStringLiteral("统计汇总")].toObject();
        EXPECT_TRUE(page[QStringLiteral("fitToPage")].toBool()) << c.what;
        EXPECT_EQ(page[QStringLiteral("fitToWidth")].toInt(), 1) << c.what;
        EXPECT_EQ(page[QStringLiteral("fitToHeight")].toInt(), 0) << c.what;
        EXPECT_EQ(page[QStringLiteral("orientation")].toString(), QStringLiteral("landscape"));
        EXPECT_EQ(page[QStringLiteral("titleRows")].toString(), QStringLiteral("$1:$1"));
        for (std::size_t r = 0; r < c.specs.size(); ++r)
            EXPECT_GE(page[QStringLiteral("widths")][QStringLiteral("B")].toDouble(),
                      2.0 * QString::fromStdString(c.specs[r].name).size())
                << c.what << " row " << r;
        for (std::size_t r = 0; r < c.rows.size(); ++r) {
            const QJsonArray row = rows[static_cast<qsizetype>(r + 1)].toArray();
            const std::vector<double>& want = c.rows[r];
            EXPECT_EQ(row[2].toDouble(), want[0]) << c.what << " row " << r;
            EXPECT_EQ(row[3].toDouble(), c.invalid[r]) << c.what << " row " << r << " invalid";
            EXPECT_NEAR(row[4].toDouble(), want[1], 1e-3) << c.what << " row " << r;
            EXPECT_EQ(row[10].toDouble(), want[2]) << c.what << " row " << r;
            EXPECT_EQ(row[11].toDouble(), want[3]) << c.what << " row " << r;
            for (std::size_t k = 0; k < c.table.Size(); ++k) {
                EXPECT_EQ(row[static_cast<qsizetype>(15 + 2 * k)].toDouble(), want[4 + k])
                    << c.what << " row " << r << " class " << k;
                EXPECT_NEAR(row[static_cast<qsizetype>(16 + 2 * k)].toDouble(),
                            want[4 + k] / want[0], 1e-9)
                    << c.what << " row " << r << " share " << k;
            }
        }
    }
}

}  // namespace
}  // namespace ohmlet::test
