// The Word table, read back with python3-docx.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <cstdlib>

#include "OfficeTestSupport.h"
#include "data/Document.h"
#include "report/office/WordTableWriter.h"

namespace ohmlet::test {
namespace {

// One expected table row: a component's heading, `count` of its readings from
// `first`, or an empty row left by a component without points.
struct RowShape {
    char kind;  // 'H', 'V' or 'E'
    int component = 0;
    int first = 0;
    int count = 0;
};

struct LayoutCase {
    const char* name;
    std::vector<ComponentSpec> components;
    std::vector<RowShape> rows;
};

std::string OneDecimal(int value) { return std::to_string(value) + ".0"; }

void PrintTo(const LayoutCase& c, std::ostream* out) { *out << c.name; }

class WordTableLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(WordTableLayout, RowsFollowTheComponents) {
    const LayoutCase& c = GetParam();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("数据表格.docx"));
    OfficeOutcome outcome = WriteWordTable(MakeComponents(c.components), TemplateFolder(), path);
    ASSERT_TRUE(outcome.Ok()) << outcome.text;
    EXPECT_EQ(outcome.path, path);

    QJsonObject doc = ReadBack(QStringLiteral("docx"), path);
    QJsonArray tables = doc[QStringLiteral("tables")].toArray();
    ASSERT_EQ(tables.size(), 1);
    QJsonArray rows = tables[0].toArray();
    ASSERT_EQ(rows.size(), static_cast<qsizetype>(c.rows.size()));

    const QJsonArray flags = doc[QStringLiteral("rowFlags")][0].toArray();
    for (std::size_t r = 0; r < c.rows.size(); ++r) {
        SCOPED_TRACE("row " + std::to_string(r + 1));
        const RowShape& shape = c.rows[r];
        QJsonArray cells = rows[static_cast<qsizetype>(r)].toArray();
        // A page break never cuts a row, nor parts a heading from its first readings.
        const QJsonObject flag = flags[static_cast<qsizetype>(r)].toObject();
        EXPECT_TRUE(flag[QStringLiteral("cantSplit")].toBool());
        EXPECT_EQ(flag[QStringLiteral("keepNext")].toBool(), shape.kind == 'H');
        if (shape.kind == 'H') {
            const ComponentSpec& spec = c.components[static_cast<std::size_t>(shape.component)];
            ASSERT_EQ(cells.size(), 1);
            EXPECT_EQ(cells[0][QStringLiteral("span")].toInt(), 10);
            std::string text = cells[0][QStringLiteral("text")].toString().toStdString();
            EXPECT_EQ(text.rfind(spec.number + "(" + spec.name + ")         平均电阻率:", 0), 0u)
                << text;
            continue;
        }
        ASSERT_EQ(cells.size(), 10);
        for (int col = 0; col < 10; ++col) {
            EXPECT_EQ(cells[col][QStringLiteral("span")].toInt(), 1);
            std::string expected;
            if (shape.kind == 'V' && col < shape.count) {
                const ComponentSpec& spec = c.components[static_cast<std::size_t>(shape.component)];
                expected = OneDecimal(spec.readings[static_cast<std::size_t>(shape.first + col)]);
            }
            EXPECT_EQ(cells[col][QStringLiteral("text")].toString().toStdString(), expected)
                << "column " << col + 1;
        }
    }
}

const char kDate[] = "2015年03月07日";

INSTANTIATE_TEST_SUITE_P(
    Cases, WordTableLayout,
    ::testing::Values(LayoutCase{"TwentyFivePoints",
                                 {{"0001", "梁1", kDate, Readings(25)}},
                                 {{'H', 0}, {'V', 0, 0, 10}, {'V', 0, 10, 10}, {'V', 0, 20, 5}}},
                      LayoutCase{"TenPointsTakeOneRow",
                                 {{"0001", "梁1", kDate, Readings(10, 40)}},
                                 {{'H', 0}, {'V', 0, 0, 10}}},
                      LayoutCase{"ElevenPointsTakeTwoRows",
                                 {{"0001", "梁1", kDate, Readings(11, 40)}},
                                 {{'H', 0}, {'V', 0, 0, 10}, {'V', 0, 10, 1}}},
                      LayoutCase{"NoPointsLeavesAnEmptyRowAtTheEnd",
                                 {{"0001", "梁1", kDate, {}}, {"0002", "板2", kDate, {7, 0, 87}}},
                                 {{'H', 0}, {'H', 1}, {'V', 1, 0, 3}, {'E'}}},
                      LayoutCase{"TwoWithoutPoints",
                                 {{"0001", "梁1", kDate, {}}, {"0002", "板2", kDate, {}}},
                                 {{'H', 0}, {'H', 1}, {'E'}, {'E'}}},
                      LayoutCase{
                          "UnselectedComponentsAreLeftOut",
                          {{"0001", "梁1", kDate, Readings(3)},
                           {"0002", "板2", kDate, Readings(5), false},
                           {"0003", "柱3", kDate, Readings(12, 100)}},
                          {{'H', 0}, {'V', 0, 0, 3}, {'H', 2}, {'V', 2, 0, 10}, {'V', 2, 10, 2}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WordTable, HeadingAndReadingTextsAreExact) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("t.docx"));
    auto components =
        MakeComponents({{"0001", "梁1", kDate, {45, 46}}, {"P002", "", "2015年 3月 7日", {0, 87}}});
    ASSERT_TRUE(WriteWordTable(components, TemplateFolder(), path).Ok());
    QJsonArray rows = ReadBack(QStringLiteral("docx"), path)[QStringLiteral("tables")][0].toArray();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0][0][QStringLiteral("text")].toString(),
              QStringLiteral("0001(梁1)         平均电阻率:45.5 KΩ*cm        2015年03月07日"));
    EXPECT_EQ(
        rows[2][0][QStringLiteral("text")].toString(),
        QStringLiteral(
            "P002()         平均电阻率:87.0 KΩ*cm（无效读数1个未计入）        2015年 3月 7日"));
    EXPECT_EQ(rows[1][0][QStringLiteral("text")].toString(), QStringLiteral("45.0"));
    EXPECT_EQ(rows[3][0][QStringLiteral("text")].toString(), QStringLiteral("0.0"));
    EXPECT_EQ(rows[3][1][QStringLiteral("text")].toString(), QStringLiteral("87.0"));
}

TEST(WordTable, CaptionComesFirstAndTheTemplatePageStays) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("t.docx"));
    ASSERT_TRUE(
        WriteWordTable(MakeComponents({{"0001", "梁1", kDate, {1}}}), TemplateFolder(), path).Ok());
    QJsonObject doc = ReadBack(QStringLiteral("docx"), path);
    QStringList body;
    for (const auto& tag : doc[QStringLiteral("body")].toArray()) body << tag.toString();
    EXPECT_EQ(body, (QStringList{"p", "tbl", "p", "sectPr"}));
    EXPECT_EQ(doc[QStringLiteral("paragraphs")][0].toString(), QStringLiteral("数据列表："));
    // A4 in EMU, and the template's letterhead.
    EXPECT_EQ(doc[QStringLiteral("page")][QStringLiteral("width")].toInteger(), 7560310);
    EXPECT_EQ(doc[QStringLiteral("page")][QStringLiteral("height")].toInteger(), 10692130);
    EXPECT_FALSE(doc[QStringLiteral("page")][QStringLiteral("header")][0].toString().isEmpty());
}

// The template's own author, program and date are not the written file's.
TEST(WordTable, PropertiesNameOhmletAndTheDayOfWriting) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("t.docx"));
    ASSERT_TRUE(
        WriteWordTable(MakeComponents({{"0001", "梁", kDate, {1}}}), TemplateFolder(), path).Ok());
    const QJsonObject properties =
        ReadBack(QStringLiteral("docx"), path)[QStringLiteral("properties")].toObject();
    for (const char* key : {"author", "lastModifiedBy", "application"})
        EXPECT_EQ(properties[QString::fromLatin1(key)].toString(), QStringLiteral("Ohmlet")) << key;
    const QDateTime created =
        QDateTime::fromString(properties[QStringLiteral("created")].toString(), Qt::ISODate);
    EXPECT_LE(std::abs(created.secsTo(QDateTime::currentDateTimeUtc())), 600)
        << properties[QStringLiteral("created")].toString().toStdString();
}

TEST(WordTable, NothingSelectedGivesTheCaptionAlone) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("t.docx"));
    auto components = MakeComponents({{"0001", "梁1", kDate, {1, 2}, false}});
    ASSERT_TRUE(WriteWordTable(components, TemplateFolder(), path).Ok());
    QJsonObject doc = ReadBack(QStringLiteral("docx"), path);
    EXPECT_TRUE(doc[QStringLiteral("tables")].toArray().isEmpty());
    EXPECT_EQ(doc[QStringLiteral("paragraphs")][0].toString(), QStringLiteral("数据列表："));
}

TEST(WordTable, MarkupAndControlCharactersInNamesStayText) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("t.docx"));
    auto components = MakeComponents({{"0001", "<梁&柱>\x01]]>", kDate, {5}}});
    ASSERT_TRUE(WriteWordTable(components, TemplateFolder(), path).Ok());
    QString heading = ReadBack(QStringLiteral("docx"),
                               path)[QStringLiteral("tables")][0][0][0][QStringLiteral("text")]
                          .toString();
    EXPECT_TRUE(heading.startsWith(QStringLiteral("0001(<梁&柱>\uFFFD]]>)")))
        << heading.toStdString();
}

// The table is handed to the zip writer in pieces of a few hundred kilobytes; a
// component far larger than one piece must come out whole and in order.
TEST(WordTable, ComponentLargerThanOnePieceComesOutWhole) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("t.docx"));
    auto components = MakeComponents({{"0001", "梁1", kDate, {1, 2}},
                                      {"0002", "板2", kDate, Readings(30005, 10)},
                                      {"0003", "柱3", kDate, {}},
                                      {"0004", "墙4", kDate, {7}}});
    ASSERT_TRUE(WriteWordTable(components, TemplateFolder(), path).Ok());
    QJsonArray rows = ReadBack(QStringLiteral("docx"), path)[QStringLiteral("tables")][0].toArray();
    ASSERT_EQ(rows.size(), 2 + (1 + 3001) + 2 + 2);
    EXPECT_TRUE(
        rows[2][0][QStringLiteral("text")].toString().startsWith(QStringLiteral("0002(板2)")));
    for (int k = 0; k < 3001; ++k) {
        QJsonArray cells = rows[3 + k].toArray();
        ASSERT_EQ(cells.size(), 10) << "value row " << k;
        ASSERT_EQ(cells[0][QStringLiteral("text")].toString(),
                  QString::number(10 + 10 * k) + QStringLiteral(".0"))
            << "value row " << k;
    }
    EXPECT_EQ(rows[3003][4][QStringLiteral("text")].toString(), QStringLiteral("30014.0"));
    EXPECT_EQ(rows[3003][5][QStringLiteral("text")].toString(), QString());
    EXPECT_TRUE(
        rows[3004][0][QStringLiteral("text")].toString().startsWith(QStringLiteral("0003(柱3)")));
    EXPECT_TRUE(
        rows[3005][0][QStringLiteral("text")].toString().startsWith(QStringLiteral("0004(墙4)")));
    EXPECT_EQ(rows[3006][0][QStringLiteral("text")].toString(), QStringLiteral("7.0"));
    EXPECT_EQ(rows[3007].toArray().size(), 10);
}

TEST(WordTable, WritingAgainReplacesTheFile) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("t.docx"));
    ASSERT_TRUE(WriteWordTable(MakeComponents({{"0001", "梁1", kDate, Readings(30)}}),
                               TemplateFolder(), path)
                    .Ok());
    ASSERT_TRUE(
        WriteWordTable(MakeComponents({{"0002", "板", kDate, {3}}}), TemplateFolder(), path).Ok());
    QJsonArray rows = ReadBack(QStringLiteral("docx"), path)[QStringLiteral("tables")][0].toArray();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(
        rows[0][0][QStringLiteral("text")].toString().startsWith(QStringLiteral("0002(板)")));
}

TEST(WordTable, DocumentWithoutComponentsWritesNothing) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("t.docx"));
    Document document;
    OfficeOutcome outcome = WriteWordTable(document, TemplateFolder(), path);
    EXPECT_EQ(outcome.code, OfficeCode::NothingToWrite);
    EXPECT_FALSE(QFile::exists(path));

    document.ReplaceComponents(MakeComponents({{"0001", "梁1", kDate, {1}}}));
    EXPECT_TRUE(WriteWordTable(document, TemplateFolder(), path).Ok());
    EXPECT_TRUE(QFile::exists(path));
}

struct FailureCase {
    const char* name;
    QByteArray templateBytes;  // empty: no template at all
    bool outputFolderMissing;
    const char* causeMentions;
};

void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.name; }

class WordTableFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(WordTableFailure, SaysWhyAndLeavesNoFile) {
    const FailureCase& c = GetParam();
    QTemporaryDir folder;
    QString templateFolder = TemplateFolder();
    if (!c.templateBytes.isEmpty() || !c.outputFolderMissing) {
        templateFolder = folder.filePath(QStringLiteral("program"));
        QDir().mkpath(templateFolder);
        if (!c.templateBytes.isEmpty()) {
            QFile file(QDir(templateFolder).filePath(QStringLiteral("表格.docx")));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.templateBytes);
        }
    }
    const QString path = c.outputFolderMissing ? folder.filePath(QStringLiteral("missing/t.docx"))
                                               : folder.filePath(QStringLiteral("t.docx"));
    OfficeOutcome outcome =
        WriteWordTable(MakeComponents({{"0001", "梁1", kDate, {1, 2}}}), templateFolder, path);
    EXPECT_EQ(outcome.code, OfficeCode::Failed);
    EXPECT_EQ(outcome.path, path);
    EXPECT_TRUE(QString::fromStdString(outcome.text).contains(QString::fromUtf8(c.causeMentions)))
        << outcome.text;
    EXPECT_FALSE(QFile::exists(path));
}

INSTANTIATE_TEST_SUITE_P(Cases, WordTableFailure,
                         ::testing::Values(FailureCase{"NoTemplate", {}, false, "表格.docx"},
                                           FailureCase{"TemplateNotAZip", "not a zip file", false,
                                                       "not a Word document"},
                                           FailureCase{
                                               "OutputFolderMissing", {}, true, "missing/t.docx"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ohmlet::test
