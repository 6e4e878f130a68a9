#include "report/ChartFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <cmath>

#include "report/ChartDrawing.h"

namespace ohmlet {

ChartFileFormat ChartFileFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png")) return ChartFileFormat::Png;
    if (suffix == QLatin1String("pdf")) return ChartFileFormat::Pdf;
    return ChartFileFormat::Unknown;
}

namespace {

QByteArray RenderPng(const ChartDrawing& drawing, const QSize& size, int dpi) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    // Text is measured at the screen's resolution, as the view drew it.
    const int dotsPerMetre = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        drawing.Draw(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return {};
    return bytes;
}

// One page exactly the view's size, one pixel a dot of the writer.
QByteArray RenderPdf(const ChartDrawing& drawing, const QSize& size, int dpi,
                     const QString& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(dpi);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Ohmlet"));
    const QSizeF points(size.width() * 72.0 / dpi, size.height() * 72.0 / dpi);
    writer.setPageLayout(
        QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                    QPageLayout::Portrait, QMarginsF()));
    {
        QPainter painter(&writer);
        if (!painter.isActive()) return {};
        drawing.Draw(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    return bytes;
}

}  // namespace

ChartExportResult WriteChartFile(const ChartDrawing* drawing, const QSize& size, int dpi,
                                 const QString& path) {
    ChartExportResult result;
    const QString name = QFileInfo(path).fileName();
    auto fail = [&](ChartExportCode code, const char* text, const QString& cause = QString()) {
        result.code = code;
        QString said = QCoreApplication::translate("ohmlet::ChartExport", text);
        said = cause.isEmpty() ? said.arg(name) : said.arg(path, cause);
        result.text = said.toStdString();
        result.cause = cause.toStdString();
        return result;
    };
    const ChartFileFormat format = ChartFileFormatOf(path);
    if (format == ChartFileFormat::Unknown)
        return fail(ChartExportCode::UnknownFormat,
                    QT_TRANSLATE_NOOP("ohmlet::ChartExport",
                                      "无法导出到 %1：只能保存为 PNG 或 PDF 文件。"));
    if (size.isEmpty() || !drawing)
        return fail(ChartExportCode::Empty,
                    QT_TRANSLATE_NOOP("ohmlet::ChartExport", "无法导出到 %1：图表没有大小。"));
    const QByteArray bytes = format == ChartFileFormat::Png
                                 ? RenderPng(*drawing, size, dpi)
                                 : RenderPdf(*drawing, size, dpi, drawing->Texts().title);
    if (bytes.isEmpty())
        return fail(ChartExportCode::NotDrawn,
                    QT_TRANSLATE_NOOP("ohmlet::ChartExport", "无法导出到 %1：图表未能绘制。"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail(ChartExportCode::CannotWrite,
                    QT_TRANSLATE_NOOP("ohmlet::ChartExport", "无法写入 %1：%2"),
                    file.errorString());
    return result;
}

}  // namespace ohmlet
