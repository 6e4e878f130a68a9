// Opens a file of about a million readings in the real main frame and switches
// between its components, printing how long each step takes:
//   bench_views [COMPONENTS [READINGS_PER_COMPONENT]]
// Runs offscreen unless a platform is chosen.
#include <QApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "app/MainWindow.h"
#include "data/DzlFile.h"
#include "views/DataView.h"
#include "widgets/GridControl.h"

using namespace ohmlet;

namespace {

std::vector<Component> MakeComponents(int count, int readings) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> value(5, 120);
    std::vector<Component> components(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        Component& c = components[static_cast<std::size_t>(i)];
        c.SetNumber(Document::MakeComponentNumber(i + 1));
        c.SetTestDate(
            "2026\xC4\xEA"
            "10\xD4\xC2"
            "12\xC8\xD5");
        c.designValue = 20;
        c.lowerTolerance = -3;
        c.upperTolerance = 5;
        c.ResizePoints(readings);
        for (auto& p : c.points) p.value = value(random);
    }
    return components;
}

struct Stats {
    double min = 1e30, max = 0, sum = 0;
    int n = 0;
    void Add(double ms) {
        min = std::min(min, ms);
        max = std::max(max, ms);
        sum += ms;
        ++n;
    }
    void Print(const char* what) const {
        std::printf("%-44s %8.1f %8.1f %8.1f   (%d runs)\n", what, min, sum / n, max, n);
    }
};

double Ms(QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);  // keep the user's recent files as they are
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 16;
    const int readings = argc > 2 ? std::atoi(argv[2]) : 65535;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("million.DZL"));
    if (!WriteDzlFile(path.toStdString(), MakeComponents(count, readings)).Ok()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    std::printf("file: %d components x %d readings = %lld readings\n\n", count, readings,
                static_cast<long long>(count) * readings);
    std::printf("%-44s %8s %8s %8s\n", "step (ms)", "min", "mean", "max");

    Document document;
    MainWindow frame(document);
    frame.resize(1600, 1000);
    frame.show();
    QCoreApplication::processEvents();
    Document& doc = frame.CurrentDocument();

    Stats open, openPainted, select, selectPainted, rebuild;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer t;
        t.start();
        if (!frame.OpenDocumentFile(path)) return 1;
        open.Add(Ms(t));
        QCoreApplication::processEvents();
        frame.repaint();
        openPainted.Add(Ms(t));
    }
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < count; ++i) {
            QElapsedTimer t;
            t.start();
            doc.SelectComponent((i * 7 + round) % count);
            select.Add(Ms(t));
            QCoreApplication::processEvents();
            frame.repaint();
            selectPainted.Add(Ms(t));
        }
    }
    for (int i = 0; i < 10; ++i) {
        QElapsedTimer t;
        t.start();
        frame.MainView()->RebuildGrid();
        rebuild.Add(Ms(t));
    }
    open.Print("open the file (read, list, grid)");
    openPainted.Print("open the file, painted");
    select.Print("switch component (grid rebuild + panel)");
    selectPainted.Print("switch component, painted");
    rebuild.Print("rebuild grid of one component");
    std::printf("\ngrid rows now: %d\n", frame.MainView()->Grid()->GridModel()->GridRowCount());
    return 0;
}
