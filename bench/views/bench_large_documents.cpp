// The largest documents users meet, in the real main frame, each figure next to its
// limit and its peer:
//   - opening a merged file of 100 downloads of the instrument's largest size (32,767
//     readings each): wall time until the window is painted (limit 1 s) against the
//     plain read of the same file, and the peak RSS of the process that opened it;
//   - inserting a component into a merged file of 100 downloads of 20-reading components
//     (163,800 components) and undoing it, deleting one and undoing that: wall time until
//     the window is painted again.
//   bench_large_documents                 all of it
//   bench_large_documents open FILE       one open, in this process (used by the above)
//   bench_large_documents write FOLDER    writes merged.DZL there (for a profiler)
//   bench_large_documents edit            the edits alone
// Runs offscreen unless a platform is chosen.
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "app/MainWindow.h"
#include "data/DzlFile.h"

using namespace ohmlet;

namespace {

constexpr double kOpenLimitMs = 1000;
constexpr double kRssLimitMb = 600;
constexpr double kEditLimitMs = 50;
constexpr int kDownloads = 100;
constexpr int32_t kLargestDownload = 32'767;  // readings: a 16-bit byte count, 2 bytes each
constexpr int kSmallComponentsPerDownload = kLargestDownload / 20;

double Ms(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

// The high-water mark of this process's memory. Not getrusage: its maximum carries
// over from the parent across fork and exec.
double PeakRssMb() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return -1;
    char line[256];
    double kb = -1;
    while (std::fgets(line, sizeof line, status))
        if (std::sscanf(line, "VmHWM: %lf kB", &kb) == 1) break;
    std::fclose(status);
    return kb / 1024.0;
}

Component Filled(int index, int32_t readings) {
    Component c;
    c.SetNumber(Document::MakeComponentNumber(index + 1));
    c.SetTestDate(
        "2026\xC4\xEA"
        "10\xD4\xC2"
        "12\xC8\xD5");
    c.designValue = 20;
    c.lowerTolerance = -3;
    c.upperTolerance = 5;
    c.ResizePoints(readings);
    for (int32_t i = 0; i < readings; ++i)
        c.points[static_cast<std::size_t>(i)].value = 5 + static_cast<int32_t>(i % 116);
    return c;
}

// Each download one component of the instrument's largest size.
bool WriteMerged(const std::string& path) {
    std::vector<Component> components;
    for (int i = 0; i < kDownloads; ++i) components.push_back(Filled(i, kLargestDownload));
    return WriteDzlFile(path, components).Ok();
}

void Paint(MainWindow& frame) {
    QCoreApplication::processEvents();
    frame.repaint();
}

// One open in this process: prints "ms peak-MB components readings".
int OpenOnce(const QString& path) {
    Document document;
    MainWindow frame(document);
    frame.resize(1600, 1000);
    frame.show();
    Paint(frame);
    QElapsedTimer t;
    t.start();
    if (!frame.OpenDocumentFile(path)) return 1;
    Paint(frame);
    const double ms = Ms(t);
    std::printf("%.1f %.1f %d %d\n", ms, PeakRssMb(), frame.CurrentDocument().ComponentCount(),
                frame.CurrentDocument().TotalPointCount());
    return 0;
}

struct Times {
    std::vector<double> ms;
    void Add(double v) { ms.push_back(v); }
    double Max() const { return *std::max_element(ms.begin(), ms.end()); }
    double Median() const {
        std::vector<double> s = ms;
        std::sort(s.begin(), s.end());
        return s[s.size() / 2];
    }
};

void Row(const char* what, double ours, const char* unit, double limit) {
    std::printf("%-52s %10.1f %s   limit %7.0f %s   %s\n", what, ours, unit, limit, unit,
                ours <= limit ? "within" : "OVER");
}

int OpenInChild(const char* what, const QString& self, const QString& path) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(self, {QStringLiteral("open"), path});
    if (!child.waitForFinished(600'000) || child.exitCode() != 0) {
        std::printf("%s: the open failed\n", what);
        return 1;
    }
    double ms = 0, mb = 0;
    int components = 0, readings = 0;
    if (std::sscanf(child.readAllStandardOutput().constData(), "%lf %lf %d %d", &ms, &mb,
                    &components, &readings) != 4)
        return 1;
    // The peer: reading the same file into the model, without any window.
    Times read;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer t;
        t.start();
        if (!ReadDzlFile(path.toStdString()).Ok()) return 1;
        read.Add(Ms(t));
    }
    std::printf("%s: %d components, %d readings\n", what, components, readings);
    Row("  open until painted", ms, "ms", kOpenLimitMs);
    std::printf("  %-50s %10.1f ms\n", "peer: the DZL read alone (median of 5)", read.Median());
    Row("  peak RSS of the process", mb, "MB", kRssLimitMb);
    return 0;
}

int EditBench() {
    constexpr int kComponents = kDownloads * kSmallComponentsPerDownload;
    std::vector<Component> components;
    components.reserve(kComponents);
    for (int i = 0; i < kComponents; ++i) components.push_back(Filled(i, 20));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("many.DZL"));
    if (!WriteDzlFile(path.toStdString(), components).Ok()) return 1;
    components = {};

    Document document;
    MainWindow frame(document);
    frame.resize(1600, 1000);
    frame.show();
    if (!frame.OpenDocumentFile(path)) return 1;
    Paint(frame);
    Document& doc = frame.CurrentDocument();
    doc.SelectComponent(kComponents / 2);
    Paint(frame);

    struct Step {
        const char* what;
        std::function<void()> act;
        Times times;
    } steps[] = {
        {"insert a component", [&] { doc.InsertComponent(); }, {}},
        {"undo the insert", [&] { doc.Undo(); }, {}},
        {"delete the middle component",
         [&] {
             doc.SelectComponent(kComponents / 2);
             doc.DeleteComponent();
         },
         {}},
        {"undo the delete", [&] { doc.Undo(); }, {}},
    };
    for (int round = 0; round < 5; ++round) {
        for (Step& s : steps) {
            QElapsedTimer t;
            t.start();
            s.act();
            Paint(frame);
            s.times.Add(Ms(t));
        }
    }
    if (doc.ComponentCount() != kComponents) return 1;
    std::printf("\n%d components, until painted (median of 5; worst in brackets)\n", kComponents);
    for (const Step& s : steps) {
        char what[96];
        std::snprintf(what, sizeof what, "  %s (worst %.1f ms)", s.what, s.times.Max());
        Row(what, s.times.Median(), "ms", kEditLimitMs);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);  // keep the user's recent files as they are
    QApplication app(argc, argv);
    if (argc == 3 && std::string(argv[1]) == "open")
        return OpenOnce(QString::fromLocal8Bit(argv[2]));
    if (argc == 2 && std::string(argv[1]) == "edit") return EditBench();
    if (argc == 3 && std::string(argv[1]) == "write")
        return WriteMerged(std::string(argv[2]) + "/merged.DZL") ? 0 : 1;

    QTemporaryDir dir;
    const QString merged = dir.filePath(QStringLiteral("merged.DZL"));
    if (!WriteMerged(merged.toStdString())) {
        std::fprintf(stderr, "cannot write the file in %s\n", qPrintable(dir.path()));
        return 1;
    }
    const QString self = QCoreApplication::applicationFilePath();
    int failed = 0;
    failed |= OpenInChild("merged file of 100 largest downloads", self, merged);
    failed |= EditBench();
    return failed;
}
