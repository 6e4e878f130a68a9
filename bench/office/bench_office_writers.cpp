// Writes the Word table or the Excel workbook for a large made-up file and prints the
// time it took:   bench_office_writers docx|xlsx OUT TEMPLATE_FOLDER [READINGS|merged]
// run_office_bench.py runs it beside the same layout written with python3-docx and
// python3-xlsxwriter and compares. The data come from a formula that the script repeats.
// "merged" is the largest file users meet: 100 downloads of 32,767 readings each; for
// the workbook it also times again the read-back check and the safe save it ends with.
#include <QString>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/FileBytes.h"
#include "data/SafeFile.h"
#include "report/GbkCodec.h"
#include "report/office/ExcelWorkbookWriter.h"
#include "report/office/OfficeArchiveCheck.h"
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

// 100 downloads of the instrument's largest size; reading j of component i is
// (i * 131 + j * 17) % 200, as above.
std::vector<Component> MergedFile() {
    std::vector<Component> components(100);
    for (int i = 0; i < 100; ++i) {
        Component& c = components[static_cast<std::size_t>(i)];
        c.SetNumber(std::to_string(i + 1));
        c.ResizePoints(32767);
        for (int j = 0; j < 32767; ++j)
            c.points[static_cast<std::size_t>(j)].value = (i * 131 + j * 17) % 200;
    }
    return components;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// What the export does after the library has closed the workbook, done again on the
// finished file: read it back whole and check every part, then the safe save of its bytes.
void TimeCheckAndSave(const QString& out) {
    const std::string path = out.toLocal8Bit().toStdString();
    auto start = std::chrono::steady_clock::now();
    FileBytes book;
    std::string reason;
    if (book.Open(path, reason) != FileBytes::Status::Ok) return;
    const double read = SecondsSince(start);
    start = std::chrono::steady_clock::now();
    const bool whole = CheckOfficeArchive(book.data(), book.size()).isEmpty();
    const double check = SecondsSince(start);
    start = std::chrono::steady_clock::now();
    const bool saved = WriteFileSafely(path + ".copy", book.data(), book.size()).Ok();
    const double save = SecondsSince(start);
    std::remove((path + ".copy").c_str());
    std::printf("read back %.3f s, check %.3f s%s, safe save %.3f s%s (%.1f MiB)\n", read, check,
                whole ? "" : " (FAILED)", save, saved ? "" : " (FAILED)",
                static_cast<double>(book.size()) / 1048576.0);
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
    const bool merged = argc > 4 && std::string(argv[4]) == "merged";
    const long readings = argc > 4 && !merged ? std::atol(argv[4]) : 1000000;

    std::vector<Component> components = merged ? MergedFile() : MakeComponents(readings);
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
    if (merged && kind == "xlsx") TimeCheckAndSave(out);
    return 0;
}
