#include <gtest/gtest.h>

#include <zlib.h>

#include "data/ByteOrder.h"
#include "data/DzlFile.h"
#include "data/DzlTrailer.h"
#include "support/TestSupport.h"

namespace ohmlet {
namespace {

using Bytes = std::vector<unsigned char>;

ComponentExtras Gridded(int rows, int columns, std::string note = {}) {
    ComponentExtras e;
    e.grid = SurveyGrid{
        rows, columns, 100, 150, ReadingOrder::SerpentineColumns, GridCorner::BottomRight};
    e.conditions.note = std::move(note);
    return e;
}

std::vector<Component> List() {
    std::vector<Component> list = {test::MakeComponent("0001", {30, 40}),
                                   test::MakeComponent("0002", {50}, 0),
                                   test::MakeComponent("0003", {60, 70, 80})};
    list[1].extras = Gridded(3, 4, "潮湿, \"joint\"");
    list[2].extras.conditions.probeSpacingMm = 50;
    list[2].extras.conditions.concreteTemperatureC = -3.25;
    list[2].extras.conditions.moistureState = "wet";
    list[2].extras.otherKeys = R"({"photo":{"file":"a.jpg"}})";
    return list;
}

// A reader of the format as it was: the header and the records with their points,
// nothing after them.
std::vector<Component> ReadRecordsOnly(const Bytes& b) {
    std::vector<Component> list(static_cast<std::size_t>(LoadLEInt(b.data())));
    std::size_t pos = kDzlHeaderSize;
    for (Component& c : list) {
        std::memcpy(c.number, &b[pos], Component::kNumberWidth);
        c.selected = b[pos + 125];
        c.ResizePoints(LoadLEInt(&b[pos + 142]));
        pos += kDzlRecordSize;
        for (MeasuringPoint& p : c.points) {
            p = {LoadLEInt(&b[pos]), LoadLEInt(&b[pos + 4]), LoadLEInt(&b[pos + 8])};
            pos += kDzlPointSize;
        }
    }
    return list;
}

void ExpectSameReadings(const std::vector<Component>& a, const std::vector<Component>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].Number(), b[i].Number());
        EXPECT_EQ(a[i].selected, b[i].selected);
        ASSERT_EQ(a[i].points.size(), b[i].points.size());
        for (std::size_t k = 0; k < a[i].points.size(); ++k)
            EXPECT_EQ(a[i].points[k].value, b[i].points[k].value);
    }
}

TEST(DzlExtras, TravelWithTheirComponentsAndStayInvisibleToOlderReaders) {
    const std::vector<Component> list = List();
    struct Case {
        DzlSelection which;
        std::vector<std::size_t> expected;  // the source components, in order
    } cases[] = {{DzlSelection::All, {0, 1, 2}}, {DzlSelection::SelectedOnly, {0, 2}}};
    for (const Case& k : cases) {
        const Bytes bytes = SerializeDzl(list, k.which);
        const DzlReadResult r = ParseDzl(bytes.data(), bytes.size(), "x.DZL");
        ASSERT_TRUE(r.Ok());
        EXPECT_TRUE(r.warnings.empty()) << r.warnings.front();
        ASSERT_EQ(r.components.size(), k.expected.size());
        for (std::size_t i = 0; i < k.expected.size(); ++i)
            EXPECT_EQ(r.components[i].extras, list[k.expected[i]].extras) << i;
        ExpectSameReadings(ReadRecordsOnly(bytes), r.components);
        EXPECT_EQ(SerializeDzl(r.components), SerializeDzl(r.components, DzlSelection::All));
    }
}

TEST(DzlExtras, FileWithoutExtrasKeepsItsBytes) {
    const Bytes example = test::ReadAll(OHMLET_EXAMPLE_FILE);
    DzlReadResult r = ParseDzl(example.data(), example.size(), "example.DZL");
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(SerializeDzl(r.components), example);
    // Extras given and taken away again leave no trailer behind.
    r.components[0].extras = Gridded(2, 2);
    EXPECT_GT(SerializeDzl(r.components).size(), example.size());
    r.components[0].extras = {};
    EXPECT_EQ(SerializeDzl(r.components), example);
}

// Extras a reader would refuse are never written: the save fails and the old file stays.
TEST(DzlExtras, ASaveWhoseExtrasNoReaderTakesFailsAndKeepsTheFile) {
    test::TempDir dir;
    const std::string path = dir.File("kept.DZL");
    std::vector<Component> list = {test::MakeComponent("0001", {30, 40})};
    ASSERT_TRUE(WriteDzlFile(path, list).Ok());
    for (const std::size_t note : {std::size_t{1000}, kDzlMaxTrailerPayload + 1}) {
        const Bytes before = test::ReadAll(path);
        list[0].extras.conditions.note.assign(note, 'n');
        const DzlWriteResult saved = WriteDzlFile(path, list);
        EXPECT_EQ(saved.Ok(), note < kDzlMaxTrailerPayload) << note;
        if (!saved.Ok()) {
            EXPECT_NE(saved.text.find("more than 1 MB"), std::string::npos) << saved.text;
            EXPECT_EQ(test::ReadAll(path), before);
        }
    }
}

Bytes Wrap(const std::string& payload, uint32_t version = kDzlTrailerVersion) {
    Bytes t(kDzlTrailerHeaderSize);
    std::memcpy(t.data(), kDzlTrailerMagic, 8);
    StoreLE32(&t[8], version);
    StoreLE32(&t[12], static_cast<uint32_t>(payload.size()));
    const auto* p = reinterpret_cast<const unsigned char*>(payload.data());
    StoreLE32(&t[16], static_cast<uint32_t>(crc32_z(0, p, payload.size())));
    t.insert(t.end(), payload.begin(), payload.end());
    return t;
}

TEST(DzlExtras, UnusableTrailerLeavesTheReadingsAndWarns) {
    std::vector<Component> plain = List();
    for (Component& c : plain) c.extras = {};
    const Bytes records = SerializeDzl(plain);
    const Bytes good = SerializeDzl(List());
    const std::size_t trailerAt = records.size();
    const std::string entry = R"({"index":1,"number":"0002","grid":{"rows":2,"columns":2}})";

    auto edited = [&](auto change) {
        Bytes b = good;
        change(b);
        return b;
    };
    auto withTrailer = [&](const Bytes& trailer) {
        Bytes b = records;
        b.insert(b.end(), trailer.begin(), trailer.end());
        return b;
    };
    Bytes oversized = Wrap("{}");
    StoreLE32(&oversized[12], static_cast<uint32_t>(kDzlMaxTrailerPayload + 1));
    struct Case {
        const char* what;
        Bytes bytes;
        const char* warning;
    } cases[] = {
        {"payload byte flipped", edited([&](Bytes& b) { b[trailerAt + 30] ^= 0x20; }),
         "checksum mismatch"},
        {"cut in the payload", edited([&](Bytes& b) { b.resize(b.size() - 5); }), "length"},
        {"cut in the header", edited([&](Bytes& b) { b.resize(trailerAt + 11); }), "cut short"},
        {"cut in the tag", edited([&](Bytes& b) { b.resize(trailerAt + 3); }), "cut short"},
        {"over 1 MB", withTrailer(oversized), "larger than 1 MB"},
        {"newer version", withTrailer(Wrap("{}", kDzlTrailerVersion + 1)), "newer version"},
        {"not JSON", withTrailer(Wrap("{\"componentCount\":3,")), "not valid JSON"},
        {"nested too deep", withTrailer(Wrap(std::string(100, '[') + std::string(100, ']'))),
         "not valid JSON"},
        {"no list", withTrailer(Wrap("[1,2]")), "no component list"},
        {"other count", withTrailer(Wrap(R"({"componentCount":4,"components":[)" + entry + "]}")),
         "list of 4 components, not 3"},
        {"other number",
         withTrailer(Wrap(R"({"componentCount":3,"components":[{"index":1,"number":"0007"}]})")),
         "another list"},
        {"index out of range",
         withTrailer(Wrap(R"({"componentCount":3,"components":[{"index":3,"number":"0004"}]})")),
         "out of range"},
        {"named twice",
         withTrailer(Wrap(R"({"componentCount":3,"components":[)" + entry + "," + entry + "]}")),
         "named twice"},
    };
    for (const Case& k : cases) {
        const DzlReadResult r = ParseDzl(k.bytes.data(), k.bytes.size(), "x.DZL");
        ASSERT_TRUE(r.Ok()) << k.what;
        ExpectSameReadings(r.components, plain);
        for (const Component& c : r.components) EXPECT_TRUE(c.extras.IsEmpty()) << k.what;
        ASSERT_EQ(r.warnings.size(), 1u) << k.what;
        EXPECT_NE(r.warnings[0].find(k.warning), std::string::npos)
            << k.what << ": " << r.warnings[0];
        EXPECT_EQ(r.warnings[0].rfind("x.DZL: ", 0), 0u) << k.what;
    }
    // Bytes after the records that are not ours are left to whoever wrote them.
    const Bytes foreign = withTrailer({'J', 'U', 'N', 'K'});
    EXPECT_TRUE(ParseDzl(foreign.data(), foreign.size(), "x.DZL").warnings.empty());
}

TEST(DzlExtras, BadValuesDropOnlyThemselvesAndUnknownKeysStay) {
    std::vector<Component> plain = List();
    for (Component& c : plain) c.extras = {};
    struct Case {
        const char* entry;  // component 0002's entry, after its index and number
        bool keepsGrid;
        std::size_t warnings;
        const char* otherKeys;
    } cases[] = {
        {R"("grid":{"rows":101,"columns":2,"tilt":1},"conditions":{"note":"n"})", false, 1, ""},
        {R"("conditions":{"humidity":80})", false, 0, R"({"conditions":{"humidity":80}})"},
        {R"("grid":{"rows":2,"columns":2,"spacingXmm":-1})", false, 1, ""},
        {R"("grid":{"rows":2,"columns":2,"order":"zigzag"})", false, 1, ""},
        {R"("grid":{"rows":"2","columns":2})", false, 1, ""},
        {R"("grid":{"rows":2,"columns":2},"conditions":{"probeSpacingMm":-5,"note":7})", true, 2,
         ""},
        {R"("grid":{"rows":2,"columns":2,"tilt":3},"lidar":[1,2])", true, 0,
         R"({"grid":{"tilt":3},"lidar":[1,2]})"},
    };
    for (const Case& k : cases) {
        Bytes b = SerializeDzl(plain);
        const Bytes t = Wrap(std::string(R"({"componentCount":3,"components":[{"index":1,)") +
                             R"("number":"0002",)" + k.entry + "}]}");
        b.insert(b.end(), t.begin(), t.end());
        const DzlReadResult r = ParseDzl(b.data(), b.size(), "x.DZL");
        ASSERT_TRUE(r.Ok()) << k.entry;
        const ComponentExtras& e = r.components[1].extras;
        EXPECT_EQ(e.grid.has_value(), k.keepsGrid) << k.entry;
        EXPECT_EQ(r.warnings.size(), k.warnings) << k.entry;
        EXPECT_EQ(e.otherKeys, k.otherKeys) << k.entry;
        // What was kept writes back and reads the same, unknown keys included.
        const Bytes again = SerializeDzl(r.components);
        const DzlReadResult back = ParseDzl(again.data(), again.size(), "y.DZL");
        EXPECT_TRUE(back.warnings.empty()) << k.entry;
        EXPECT_EQ(back.components[1].extras, e) << k.entry;
    }
}

TEST(DzlExtras, FollowInsertDeleteUndoAndSaveSelected) {
    test::TempDir dir;
    Document doc;
    doc.ReplaceComponents(List());
    const std::vector<Component> before = doc.Components();

    doc.SelectComponent(0);
    doc.DeleteComponent();
    EXPECT_EQ(doc.Components()[0].extras, before[1].extras);
    doc.InsertComponent();
    EXPECT_TRUE(doc.Components().back().extras.IsEmpty());
    doc.Undo();
    doc.Undo();
    ASSERT_EQ(doc.ComponentCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(doc.Components()[i].extras, before[i].extras) << i;

    doc.SetComponentExtras(0, Gridded(5, 6));
    EXPECT_EQ(doc.NextUndoKind(), EditKind::ExtrasEdit);
    // Ticked are 0001 and 0003: 0003 keeps its conditions and kept keys.
    EXPECT_EQ(doc.SetExtrasOfTicked(SurveyGrid{2, 3}), 2u);
    EXPECT_EQ(doc.SetExtrasOfTicked(SurveyGrid{2, 3}), 0u) << "unchanged: no step";
    EXPECT_EQ(doc.Components()[2].extras.conditions, before[2].extras.conditions);
    EXPECT_EQ(doc.Components()[2].extras.otherKeys, before[2].extras.otherKeys);
    ASSERT_TRUE(doc.WriteComponents(dir.File("sel.DZL"), DzlSelection::SelectedOnly).Ok());
    const DzlReadResult sel = ReadDzlFile(dir.File("sel.DZL"));
    ASSERT_EQ(sel.components.size(), 2u);
    EXPECT_EQ(sel.components[1].extras, doc.Components()[2].extras);

    doc.Undo();
    EXPECT_EQ(doc.Components()[0].extras, Gridded(5, 6));
    doc.Undo();
    EXPECT_EQ(doc.Components()[0].extras, before[0].extras);
    doc.Redo();
    doc.Redo();
    EXPECT_EQ(doc.Components()[2].extras.grid, (SurveyGrid{2, 3}));
    ASSERT_TRUE(doc.Save(dir.File("all.DZL")).Ok());
    const DzlReadResult all = ReadDzlFile(dir.File("all.DZL"));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(all.components[i].extras, doc.Components()[i].extras);
}

}  // namespace
}  // namespace ohmlet
