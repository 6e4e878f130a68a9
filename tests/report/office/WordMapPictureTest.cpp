// The cell map of each ticked component with a grid, as a picture after its rows of the
// Word table, read back with python3-docx.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QJsonArray>
#include <QTemporaryDir>
#include <algorithm>

#include "OfficeTestSupport.h"
#include "report/office/WordTableWriter.h"

namespace ohmlet::test {
namespace {

// The pictures' text needs a GUI application; this program has none of its own.
void NeedGuiApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 3;
    static char name[] = "ohmlet_office_tests", option[] = "-platform", platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    static QGuiApplication app(argc, argv);
}

// Tables as 'T', picture paragraphs as 'P', in body order.
std::string Shape(const QJsonObject& docx) {
    const QJsonArray body = docx[QStringLiteral("body")].toArray();
    std::string shape(static_cast<std::size_t>(body.size()), ' ');
    for (int i = 0; i < body.size(); ++i)
        if (body[i].toString() == QStringLiteral("tbl")) shape[static_cast<std::size_t>(i)] = 'T';
    for (const QJsonValue& p : docx[QStringLiteral("pictures")].toArray()) {
        EXPECT_EQ(p[QStringLiteral("contentType")].toString(), QStringLiteral("image/png"));
        EXPECT_TRUE(p[QStringLiteral("png")].toBool());
        shape[static_cast<std::size_t>(p[QStringLiteral("at")].toInt())] = 'P';
    }
    shape.erase(std::remove(shape.begin(), shape.end(), ' '), shape.end());
    return shape;
}

TEST(WordMapPicture, EachGriddedComponentsRowsAreFollowedByItsMap) {
    NeedGuiApplication();
    struct Case {
        const char* what;
        std::vector<ComponentSpec> specs;
        std::vector<bool> gridded;
        const char* shape;
        std::vector<int> headingsPerTable;
    } cases[] = {
        {"no grid",
         {{"0001", "", "", Readings(3)}, {"0002", "", "", Readings(4)}},
         {false, false},
         "T",
         {2}},
        {"first and third",
         {{"0001", "", "", Readings(12)},
          {"0002", "", "", Readings(3)},
          {"0003", "", "", Readings(6)},
          {"0004", "", "", Readings(2)}},
         {true, false, true, false},
         "TPTPT",
         {1, 2, 1}},
        {"last gridded, a reserved row after it",
         {{"0001", "", "", {}}, {"0002", "", "", Readings(4)}},
         {false, true},
         "TPT",
         {2, 0}},
        {"gridded but not ticked",
         {{"0001", "", "", Readings(4), false}, {"0002", "", "", Readings(4)}},
         {true, false},
         "T",
         {1}},
    };
    for (const Case& c : cases) {
        std::vector<Component> components = MakeComponents(c.specs);
        for (std::size_t i = 0; i < components.size(); ++i) {
            if (!c.gridded[i]) continue;
            SurveyGrid grid;
            grid.rows = 2;
            grid.columns = 3;
            components[i].extras.grid = grid;
        }
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("t.docx"));
        ASSERT_TRUE(WriteWordTable(components, TemplateFolder(), path).Ok()) << c.what;
        const QJsonObject docx = ReadBack(QStringLiteral("docx"), path);
        EXPECT_EQ(Shape(docx), c.shape) << c.what;
        const QJsonArray tables = docx[QStringLiteral("tables")].toArray();
        ASSERT_EQ(tables.size(), static_cast<int>(c.headingsPerTable.size())) << c.what;
        for (int t = 0; t < tables.size(); ++t) {
            int headings = 0;
            for (const QJsonValue& row : tables[t].toArray())
                headings += row.toArray()[0][QStringLiteral("span")].toInt() > 1 ? 1 : 0;
            EXPECT_EQ(headings, c.headingsPerTable[static_cast<std::size_t>(t)])
                << c.what << " table " << t;
        }
    }
}

}  // namespace
}  // namespace ohmlet::test
