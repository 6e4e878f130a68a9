// The four ways out of the program (print, preview, 导出PDF, ohmlet-cli export) give the
// same pages for the same document, and every PDF reads back as the text drawn.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "data/DzlFile.h"
#include "report/ClassSummaryPage.h"
#include "report/GbkCodec.h"
#include "report/ReportOutput.h"
#include "views/ReportPrinting.h"

namespace ohmlet {
namespace {

void WriteGbkFile(const QString& path, const QString& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray::fromStdString(ToGbk(text)));
}

// Runs `act` on the modal dialog of type D once it is shown by the code under test.
template <typename D>
void WhenShown(const std::function<void(D*)>& act) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start();
}

// Every page of a PDF as grey pixels at a low resolution.
std::vector<QByteArray> Raster(const QString& pdf) {
    QTemporaryDir dir;
    QProcess p;
    p.start("pdftoppm", {"-r", "40", "-gray", pdf, dir.filePath("p")});
    p.waitForFinished(60000);
    std::vector<QByteArray> pages;
    for (int i = 1;; ++i) {
        QFile f(dir.filePath(QStringLiteral("p-%1.pgm").arg(i)));
        if (!f.open(QIODevice::ReadOnly)) break;
        pages.push_back(f.readAll());
    }
    return pages;
}

// Share of the bytes of two equal-sized rasters that differ visibly.
double Difference(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size() || a.isEmpty()) return 1.0;
    int differing = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (std::abs(static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i])) > 64)
            ++differing;
    return static_cast<double>(differing) / static_cast<double>(a.size());
}

QString PdfText(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {pdf, "-"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

class ReportOutputsTest : public ::testing::Test {
protected:
    void SetUp() override {
        DzlReadResult file = ReadDzlFile(OHMLET_EXAMPLE);
        ASSERT_TRUE(file.Ok());
        components_ = file.components;
        // The user's ticks, not the file's: one more left out, one taken in.
        components_[0].selected = 0;
        components_.back().selected = 1;
        WriteGbkFile(dir_.filePath("report1ini.ini"),
                     QStringLiteral("[Data]\r\n工程名称=滨江花园3号楼\r\n委托单位=滨江置业\r\n"
                                    "报告日期=2026年 3月 5日\r\n检测仪器=DZ-1型\r\n"));
        WriteGbkFile(dir_.filePath("printini.ini"),
                     QStringLiteral("[Data]\r\n打印页眉=1\r\n打印页脚=1\r\n打印页码=1\r\n"
                                    "页眉内容=电阻率检测中心\r\n页脚内容=仅对来样负责\r\n"
                                    "页码格式=4\r\n起始页码=1\r\n页码位置=1\r\n"));
    }
    QString Folder() const { return dir_.path() + "/"; }
    QString Path(const char* name) const { return dir_.filePath(name); }

    // The program's print command with "Print to file" chosen in the print dialog.
    void Print(const QString& pdf) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        WhenShown<QPrintDialog>([](QPrintDialog* dialog) { dialog->accept(); });
        PrintReport(components_, printer, nullptr, Folder());
    }
    // The preview's pages, drawn by the preview's own request onto its printer.
    void Preview(const QString& pdf) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        WhenShown<QPrintPreviewDialog>([](QPrintPreviewDialog* preview) {
            emit preview->paintRequested(preview->printer());
            preview->reject();
        });
        PreviewReport(components_, printer, nullptr, Folder());
    }
    int Cli(const QString& pdf) {
        // ohmlet-cli reads the settings beside itself.
        const QString cli = Path("ohmlet-cli");
        if (!QFile::exists(cli) && !QFile::copy(OHMLET_CLI, cli)) return -1;
        if (!WriteDzlFile(Path("doc.DZL").toStdString(), components_).Ok()) return -1;
        QProcess p;
        p.start(cli, {"export", "--format", "pdf", Path("doc.DZL"), "-o", pdf});
        p.waitForFinished(60000);
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    QTemporaryDir dir_;
    std::vector<Component> components_;
};

TEST_F(ReportOutputsTest, FourOutputsGiveTheSamePages) {
    const ReportExportOutcome exported = ExportReportPdf(components_, Path("export.pdf"), Folder());
    ASSERT_TRUE(exported.Ok()) << exported.text;
    ASSERT_EQ(Cli(Path("cli.pdf")), 0);
    Print(Path("print.pdf"));
    Preview(Path("preview.pdf"));

    const std::vector<QByteArray> reference = Raster(Path("export.pdf"));
    ASSERT_EQ(static_cast<int>(reference.size()), exported.pageCount);
    // The ticks as set: the table and the totals follow them.
    const QString text = PdfText(Path("export.pdf"));
    int rows = 0, points = 0, ticked = 0;
    for (const Component& c : components_) {
        if (!c.selected) continue;
        rows += 1 + std::max(1, (c.pointCount + 9) / 10);
        points += c.pointCount;
        ++ticked;
    }
    EXPECT_EQ(exported.pageCount,
              3 + (rows + 39) / 40 +
                  ClassSummaryPageCount(BuildClassSummary(components_, ClassTable::Rilem())));
    EXPECT_TRUE(
        QString(text)
            .remove(QRegularExpression(QStringLiteral("\\s+")))
            .contains(QStringLiteral("共对所检%1个构件的%2个测点").arg(ticked).arg(points)));
    EXPECT_FALSE(text.contains(FromGbk(components_[0].Name())));
    EXPECT_TRUE(text.contains(FromGbk(components_.back().Name())));

    for (const char* other : {"cli.pdf", "print.pdf", "preview.pdf"}) {
        SCOPED_TRACE(other);
        const std::vector<QByteArray> pages = Raster(Path(other));
        ASSERT_EQ(pages.size(), reference.size());
        for (std::size_t i = 0; i < pages.size(); ++i)
            EXPECT_LT(Difference(pages[i], reference[i]), 0.002) << "page " << i + 1;
    }
}

// Fonts give ideographs and their radical look-alikes one glyph; whichever way the PDF was
// made, copying its text must give 月 and 日, not ⽉ and ⽇.
TEST_F(ReportOutputsTest, EveryPdfReadsBackAsTheTextDrawn) {
    ASSERT_TRUE(ExportReportPdf(components_, Path("export.pdf"), Folder()).Ok());
    Print(Path("print.pdf"));
    for (const char* pdf : {"export.pdf", "print.pdf"}) {
        SCOPED_TRACE(pdf);
        const QString text = PdfText(Path(pdf));
        ASSERT_FALSE(text.isEmpty());
        for (QChar c : text)
            EXPECT_FALSE(c.unicode() >= 0x2E80 && c.unicode() <= 0x2FDF)
                << QString(c).toStdString();
        const QString squeezed = QString(text).remove(QRegularExpression("\\s+"));
        for (const char* wanted :
             {"2026年3月5日", "检测仪器：", "DZ-1型", "共", "页第", "原始数据列表:"})
            EXPECT_TRUE(squeezed.contains(QString::fromUtf8(wanted))) << wanted;
    }
}

}  // namespace
}  // namespace ohmlet
