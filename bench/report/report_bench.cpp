// The printed report of a large file as PDF: how long it takes, how many pages, how big.
//   report_bench [COMPONENTS [POINTS_PER_COMPONENT [SETTINGS_KIB]]]   (default 2000 x 100, 0)
// Every component is selected; header, footer and page numbers are on. SETTINGS_KIB pads
// the print settings file with that many KiB of other keys after the ones read: the
// settings are read once per report, so a big file costs once, not once per page.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "data/DzlFile.h"
#include "report/GbkCodec.h"
#include "report/ReportOutput.h"

using namespace ohmlet;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Peak resident memory in MiB, where the system tells it.
double PeakMemoryMiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    return -1;
}

std::vector<Component> MakeComponents(int count, int points) {
    std::mt19937 random(7);
    std::normal_distribution<double> reading(50, 12);
    std::vector<Component> list(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        Component& c = list[static_cast<std::size_t>(i)];
        c.SetNumber(std::to_string(10000 + i).substr(1));
        c.SetName(ToGbk(QStringLiteral("%1#楼%2层梁KL%3").arg(i / 100 + 1).arg(i % 30 + 1).arg(i)));
        c.SetTestDate(ToGbk(QStringLiteral("2026年10月%1日").arg(10 + i % 20)));
        c.designValue = 45;
        c.lowerTolerance = -20;
        c.upperTolerance = 30;
        c.ResizePoints(points);
        for (int p = 0; p < points; ++p)
            c.points[static_cast<std::size_t>(p)].value =
                std::max(1, static_cast<int>(reading(random)));
    }
    return list;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int points = argc > 2 ? std::atoi(argv[2]) : 100;
    const int settingsKib = argc > 3 ? std::max(0, std::atoi(argv[3])) : 0;
    QTemporaryDir dir;
    QFile settings(dir.filePath("printini.ini"));
    settings.open(QIODevice::WriteOnly);
    settings.write(QByteArray::fromStdString(ToGbk(QStringLiteral(
        "[Data]\r\n打印页眉=1\r\n打印页脚=1\r\n打印页码=1\r\n页眉内容=电阻率检测中心\r\n"
        "页脚内容=仅对来样负责\r\n页码格式=4\r\n起始页码=1\r\n页码位置=0\r\n"))));
    const QByteArray filler = QByteArray("other=").append(1016, 'x').append("\r\n");
    for (int i = 0; i < settingsKib; ++i) settings.write(filler);
    settings.close();

    auto start = Clock::now();
    const std::string dzl = dir.filePath("big.DZL").toStdString();
    WriteDzlFile(dzl, MakeComponents(count, points));
    const double makeSeconds = Seconds(start);

    start = Clock::now();
    DzlReadResult file = ReadDzlFile(dzl);
    const double readSeconds = Seconds(start);
    if (!file.Ok()) {
        std::fprintf(stderr, "%s\n", file.text.c_str());
        return 1;
    }

    start = Clock::now();
    const QString pdf = dir.filePath("report.pdf");
    ReportExportOutcome outcome = ExportReportPdf(file.components, pdf, dir.path() + "/");
    const double pdfSeconds = Seconds(start);
    if (!outcome.Ok()) {
        std::fprintf(stderr, "%s\n", outcome.text.c_str());
        return 1;
    }
    std::printf("components             %d x %d readings (%lld readings)\n", count, points,
                static_cast<long long>(count) * points);
    std::printf("DZL file               %.1f MiB, written in %.2f s, read in %.2f s\n",
                QFileInfo(QString::fromStdString(dzl)).size() / 1048576.0, makeSeconds,
                readSeconds);
    std::printf("print settings file    %.1f MiB\n",
                QFileInfo(dir.filePath("printini.ini")).size() / 1048576.0);
    std::printf("PDF report             %d pages, %.1f MiB, %.2f s (%.2f ms per page)\n",
                outcome.pageCount, QFileInfo(pdf).size() / 1048576.0, pdfSeconds,
                1000.0 * pdfSeconds / outcome.pageCount);
    std::printf("peak memory            %.0f MiB\n", PeakMemoryMiB());
    return 0;
}
