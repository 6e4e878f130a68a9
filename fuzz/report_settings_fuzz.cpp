// The report driven by fuzzed settings files: the print settings ("printini") and the
// report parameters (检测报告1 and one more layout) are written from the input, then
// every stored parameter is read, the dates and the survey paragraph's lines are
// checked, and for one run in 64 the whole report is laid out and painted.
// Input: mode byte, 2-byte little-endian length of the print settings part, then the
// print settings bytes, then the report parameter bytes.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPaintEngine>
#include <QPainter>
#include <QTemporaryDir>
#include <climits>
#include <cstdlib>
#include <map>
#include <memory>
#include <vector>

#include "report/GbkCodec.h"
#include "report/LineBreaker.h"
#include "report/PrintSettings.h"
#include "report/ReportCanvas.h"
#include "report/ReportPainter.h"
#include "report/ReportParametersFile.h"
#include "report/SettingsLocation.h"

namespace {

// A page that keeps nothing: the report's own code runs in full (settings, texts, line
// breaking, layout and text shaping), without the rasterizer or the PDF writer.
class NullPaintEngine : public QPaintEngine {
public:
    NullPaintEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF&, const QTextItem& item) override {
        texts += !item.text().isNull();
    }
    void drawLines(const QLineF*, int count) override { lines += count; }
    void drawLines(const QLine*, int count) override { lines += count; }
    void drawRects(const QRectF*, int count) override { lines += 4 * count; }
    void drawRects(const QRect*, int count) override { lines += 4 * count; }
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    Type type() const override { return QPaintEngine::User; }
    int texts = 0;
    int lines = 0;
};

class NullPage : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return &engine; }
    mutable NullPaintEngine engine;

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
            case PdmWidth:
                return 4960;  // A4 at 600 dpi
            case PdmHeight:
                return 7016;
            case PdmWidthMM:
                return 210;
            case PdmHeightMM:
                return 297;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return 600;
            case PdmDepth:
                return 32;
            case PdmNumColors:
                return INT_MAX;
            case PdmDevicePixelRatio:
                return 1;
            case PdmDevicePixelRatioScaled:
                return static_cast<int>(devicePixelRatioFScale());
            default:
                return 0;
        }
    }
};

std::unique_ptr<QTemporaryDir> g_folder;
std::vector<ohmlet::Component> g_components;

void Check(bool condition) {
    if (!condition) std::abort();
}

void WriteFile(const QString& name, const unsigned char* data, std::size_t size) {
    QFile file(g_folder->filePath(name));
    Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    Check(file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) ==
          static_cast<qint64>(size));
}

// Enough readings for one raw data page after the three text pages.
std::vector<ohmlet::Component> MakeComponents() {
    std::vector<ohmlet::Component> list(2);
    for (std::size_t k = 0; k < list.size(); ++k) {
        ohmlet::Component& c = list[k];
        c.SetNumber(k == 0 ? "A001" : "B002");
        c.SetName("\xc1\xba" /* 梁 */);
        c.SetTestDate(
            "2015\xc4\xea"
            "03\xd4\xc2"
            "05\xc8\xd5");
        c.selected = 1;
        c.designValue = 100;
        c.ResizePoints(12);
        for (int i = 0; i < c.pointCount; ++i) {
            c.points[static_cast<std::size_t>(i)].position = i + 1;
            c.points[static_cast<std::size_t>(i)].value = 80 + 5 * i;
        }
        c.ComputeMax();
        c.ComputeMin();
        c.CountPassing();
    }
    return list;
}

// The line breaker's promises: the lines put together give the paragraph back, the first
// holds at most 77 bytes and every other at most 76, and none ends inside a two-byte
// character.
void CheckLines(const std::string& paragraph, const std::vector<std::string>& lines) {
    std::vector<bool> startsCharacter(paragraph.size() + 1, false);
    for (std::size_t i = 0; i < paragraph.size();) {
        startsCharacter[i] = true;
        const auto c = static_cast<unsigned char>(paragraph[i]);
        i += c >= 0x81 && c <= 0xFE && i + 1 < paragraph.size() ? 2 : 1;
    }
    startsCharacter[paragraph.size()] = true;
    Check(!lines.empty());
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Check(lines[i].size() <= ohmlet::kLineBreakBytes + (i == 0 ? 1 : 0));
        joined += lines[i];
        Check(joined.size() <= paragraph.size() && startsCharacter[joined.size()]);
    }
    Check(joined == paragraph);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Kept to the end of the process: Qt holds on to argc, and tearing the application
    // down in the exit handlers would race libFuzzer's own exit.
    static int argc = 1;
    static char name[] = "report_settings_fuzz";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
    g_folder = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/report_settings_fuzz.XXXXXX");
    Check(g_folder->isValid());
    g_components = MakeComponents();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size < 3) return 0;
    const unsigned char mode = data[0];
    std::size_t printSize = std::min<std::size_t>(data[1] | (std::size_t(data[2]) << 8), size - 3);
    const unsigned char* print = data + 3;
    const unsigned char* params = print + printSize;
    const std::size_t paramSize = size - 3 - printSize;
    // The report reads 检测报告1; one more layout, chosen by the input, is read as well.
    const int otherLayout = 1 + (mode >> 1) % (ohmlet::kReportLayoutCount - 1);
    const std::vector<int> layouts = {0, otherLayout};
    WriteFile(QStringLiteral("printini.ini"), print, printSize);
    for (int layout : layouts) {
        WriteFile(QString::fromUtf8(ohmlet::ReportLayoutInfoAt(layout)->baseName) + ".ini", params,
                  paramSize);
    }
    const QString folder = g_folder->path();

    ohmlet::PrintSettings settings;
    Check(ohmlet::LoadPrintSettings(folder, settings));
    for (int page = 1; page <= 5; ++page) {
        (void)ohmlet::PageNumberText(settings, page, 5);
        const ohmlet::PageNumberPlacement place =
            ohmlet::PlacePageNumber(settings.pageNumberPosition);
        Check(place.box.isValid());
    }
    // Whatever the file says, a page number never shares its line with a header or footer.
    const ohmlet::DecorationPlacement decorations = ohmlet::PlaceDecorations(settings);
    if (settings.printPageNumber && settings.printFooter)
        Check(!decorations.pageNumber.box.intersects(decorations.footer));
    if (settings.printPageNumber && settings.printHeader)
        Check(!decorations.pageNumber.box.intersects(decorations.header));

    // Every field is read from one opened file (the lookup ReadReportParameter makes after
    // opening it), and one field a layout, chosen by the input, the report's own way.
    std::map<QString, std::string> stored;
    for (int layout : layouts) {
        const ohmlet::ReportLayoutInfo* info = ohmlet::ReportLayoutInfoAt(layout);
        ohmlet::IniFile file;
        Check(ohmlet::OpenSettingsFile(file, folder, info->baseName, ohmlet::SettingsAccess::Read));
        const std::size_t chosen = (mode >> 4) % info->fileOrder.size();
        for (std::size_t i = 0; i < info->fileOrder.size(); ++i) {
            const ohmlet::ReportField& field = info->fileOrder[i];
            const QString key = QString::fromUtf8(field.key);
            std::string value;
            const bool found = file.ReadString(ohmlet::SectionName(), ohmlet::ToGbk(key), value);
            Check(found || value.empty());
            Check(value.size() <= paramSize);
            if (i == chosen) Check(ohmlet::ReadReportParameter(folder, layout + 1, key) == value);
            (void)ohmlet::FromGbk(value);
            const QDate date = ohmlet::ParseStoredDate(value);
            if (date.isValid())
                Check(ohmlet::ParseStoredDate(ohmlet::FormatStoredDate(date)) == date);
            if (layout == 0) stored[key] = std::move(value);
        }
    }
    const std::string survey = ohmlet::SurveyParagraph([&stored](const QString& key) {
        auto it = stored.find(key);
        return it == stored.end() ? std::string() : it->second;
    });
    CheckLines(survey, ohmlet::BreakReportLines(survey));

    // Laying out and painting the whole report costs a hundred times the rest, so it
    // runs for the first input and then every 64th, onto a page that keeps nothing (the
    // PDF writer and the rasterizer are Qt's, and the report's tests cover them). An
    // input run on its own is a first input, so a finding here reproduces.
    static unsigned runs = 0;
    if (runs++ % 64 != 0) return 0;
    ohmlet::ReportPainter report(g_components, folder);
    report.SetToday(QDate(2015, 3, 5));
    Check(report.PageCount() >= 4);
    NullPage page;
    for (int number = 1; number <= report.PageCount(); ++number) {
        QPainter painter(&page);
        ohmlet::MapPainterToDots(painter, page);
        report.DrawPage(painter, number);
    }
    Check(page.engine.texts > 0 && page.engine.lines > 0);
    return 0;
}
