// Writes the Word table or the Excel workbook for a large made-up file and prints the
// time it took:   bench_office_writers docx|xlsx OUT TEMPLATE_FOLDER [READINGS]
// run_office_bench.py runs it beside the same layout written with python3-docx and
// python3-xlsxwriter and compares. The data come from a formula that the script repeats.
#include <QString>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "report/GbkCodec.h"
#include "report/office/ExcelWorkbookWriter.h"
#include "report/office/WordTableWriter.h"

using namespace ohmlet;

namespace {

// Component i has (i * 37) % 101 readings, so about fifty on average and some none;
// reading j of component i is (i * 131 + j * 17) % 200.
std::vector<Component> MakeComponents(long wanted) {
    std::vector<Component> components;
    const std::string date = ToGbk(QStringLiteral("2015年03月07日"));
    long total = 0;
    for (int i = 0; total < wanted; ++i) {
        Component c;
        char number[8];
        std::snprintf(number, sizeof number, "%04d", i % 10000);
        c.SetNumber(number);
        c.SetName(ToGbk(QStringLiteral("梁%1").arg(i)));
        c.SetTestDate(date);
        c.pointCount = (i * 37) % 101;
        for (int j = 0; j < c.pointCount; ++j)
            c.points.push_back({0, (i * 131 + j * 17) % 200, 16});
        total += c.pointCount;
        components.push_back(std::move(c));
    }
    return components;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: bench_office_writers docx|xlsx OUT TEMPLATE_FOLDER [READINGS]\n");
        return 2;
    }
    const std::string kind = argv[1];
    const QString out = QString::fromLocal8Bit(argv[2]);
    const QString templateFolder = QString::fromLocal8Bit(argv[3]);
    const long readings = argc > 4 ? std::atol(argv[4]) : 1000000;

    std::vector<Component> components = MakeComponents(readings);
    auto start = std::chrono::steady_clock::now();
    OfficeOutcome outcome = kind == "docx" ? WriteWordTable(components, templateFolder, out)
                                           : WriteExcelWorkbook(components, out);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!outcome.Ok()) {
        std::fprintf(stderr, "%s\n", outcome.text.c_str());
        return 1;
    }
    std::printf("%zu components, %.3f s\n", components.size(), seconds);
    return 0;
}
