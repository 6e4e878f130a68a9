// The report driven by fuzzed settings files: the print settings ("printini") and the
// report parameters ("report1ini".."report6ini") are written from the input, then every
// stored parameter is read and a small report is laid out and painted, into an image
// or, when the first byte says so, into a PDF held in memory.
// Input: flags byte, 2-byte little-endian length of the print settings part, then the
// print settings bytes, then the report parameter bytes.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

#include "CReportPainter.h"
#include "PrintSettings.h"
#include "ReportCanvas.h"
#include "ReportOutput.h"
#include "ReportParameters.h"

namespace {

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
    const bool pdf = data[0] & 1;
    std::size_t printSize = std::min<std::size_t>(data[1] | (std::size_t(data[2]) << 8), size - 3);
    const unsigned char* print = data + 3;
    const unsigned char* params = print + printSize;
    const std::size_t paramSize = size - 3 - printSize;
    WriteFile(QStringLiteral("printini.ini"), print, printSize);
    for (int layout = 0; layout < ohmlet::kReportLayoutCount; ++layout) {
        WriteFile(QString::fromUtf8(ohmlet::GetReportLayoutInfo(layout)->baseName) + ".ini", params,
                  paramSize);
    }
    const QString folder = g_folder->path();

    ohmlet::PrintSettings settings;
    Check(ohmlet::LoadPrintSettings(folder, settings));
    for (int page = 1; page <= 5; ++page) {
        (void)ohmlet::PageNumberText(settings, page, 5);
        (void)ohmlet::PlacePageNumber(settings.pageNumberPosition);
    }
    for (int layout = 0; layout < ohmlet::kReportLayoutCount; ++layout) {
        const ohmlet::ReportLayoutInfo* info = ohmlet::GetReportLayoutInfo(layout);
        for (const ohmlet::ReportField& field : info->fileOrder) {
            std::string value =
                ohmlet::GetReportParameter(folder, layout + 1, QString::fromUtf8(field.key));
            Check(value.size() <= paramSize);
            if (field.kind == ohmlet::FieldKind::Date) (void)ohmlet::ParseStoredDate(value);
        }
    }

    ohmlet::CReportPainter report(g_components, ohmlet::ComputeReportTotals(g_components), folder);
    report.SetToday(QDate(2015, 3, 5));
    Check(report.PageCount() >= 4);
    if (pdf) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(static_cast<int>(ohmlet::kReportDotsPerInch));
        ohmlet::RenderReport(report, writer, 1, report.PageCount());
        Check(!bytes.isEmpty());
    } else {
        // 20 dpi keeps the raster small; the layout and text shaping are the same.
        QImage image(166, 234, QImage::Format_RGB32);
        image.setDotsPerMeterX(787);
        image.setDotsPerMeterY(787);
        for (int page = 1; page <= report.PageCount(); ++page) {
            image.fill(Qt::white);
            QPainter painter(&image);
            ohmlet::MapPainterToDots(painter, image);
            report.DrawPage(painter, page);
        }
    }
    return 0;
}
