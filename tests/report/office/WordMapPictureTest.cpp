// The cell map of each ticked component with a grid, as a picture after its rows of the
// Word table, read back with python3-docx.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QJsonArray>
#include <QTemporaryDir>
#include <map>

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

// Tables as 'T', pictures (PNG parts) as 'P', in body order.
std::string Shape(const QJsonObject& docx) {
    std::map<int, char> shape;
    const QJsonArray body = docx[QStringLiteral("body")].toArray();
    for (int i = 0; i < body.size(); ++i)
        if (body[i].toString() == QStringLiteral("tbl")) shape[i] = 'T';
    for (const QJsonValue& p : docx[QStringLiteral("pictures")].toArray())
        if (p[QStringLiteral("contentType")].toString() == QStringLiteral("image/png") &&
            p[QStringLiteral("png")].toBool())
            shape[p[QStringLiteral("at")].toInt()] = 'P';
    std::string text;
    for (const auto& [at, kind] : shape) text += kind;
    return text;
}

TEST(WordMapPicture, EachGriddedComponentsRowsAreFollowedByItsMap) {
    NeedGuiApplication();
    // Per component its reading count and a letter: g gridded, u gridded but not ticked.
    struct Case {
        const char* what;
        std::vector<int> counts;
        const char* kinds;
        const char* shape;
        std::vector<int> headingsPerTable;
    } cases[] = {
        {"no grid", {3, 4}, "..", "T", {2}},
        {"first and third", {12, 3, 6, 2}, "g.g.", "TPTPT", {1, 2, 1}},
        {"last gridded, a reserved row after it", {0, 4}, ".g", "TPT", {2, 0}},
        {"gridded but not ticked", {4, 4}, "u.", "T", {1}},
    };
    for (const Case& c : cases) {
        std::vector<ComponentSpec> specs;
        for (std::size_t i = 0; i < c.counts.size(); ++i)
            specs.push_back(
                {"000" + std::to_string(i + 1), "", "", Readings(c.counts[i]), c.kinds[i] != 'u'});
        std::vector<Component> components = MakeComponents(specs);
        for (std::size_t i = 0; i < components.size(); ++i)
            if (c.kinds[i] != '.') components[i].extras.grid = SurveyGrid{2, 3};
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("t.docx"));
        ASSERT_TRUE(WriteWordTable(components, TemplateFolder(), path).Ok()) << c.what;
        const QJsonObject docx = ReadBack(QStringLiteral("docx"), path);
        EXPECT_EQ(Shape(docx), c.shape) << c.what;
        // Which components' headings each table holds: a heading spans the whole row.
        std::vector<int> headings;
        for (const QJsonValue& table : docx[QStringLiteral("tables")].toArray()) {
            headings.push_back(0);
            for (const QJsonValue& row : table.toArray())
                headings.back() += row.toArray()[0][QStringLiteral("span")].toInt() > 1 ? 1 : 0;
        }
        EXPECT_EQ(headings, c.headingsPerTable) << c.what;
    }
}

}  // namespace
}  // namespace ohmlet::test
