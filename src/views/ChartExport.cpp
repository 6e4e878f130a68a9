#include "views/ChartExport.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QWidget>

namespace ohmlet {

ChartFileFormat ChartFileFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png")) return ChartFileFormat::Png;
    if (suffix == QLatin1String("svg")) return ChartFileFormat::Svg;
    return ChartFileFormat::Unknown;
}

namespace {

QByteArray RenderPng(QWidget& chart) {
    QImage image(chart.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        chart.render(&painter);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return {};
    return bytes;
}

QByteArray RenderSvg(QWidget& chart) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(chart.size());
    generator.setViewBox(QRect(QPoint(0, 0), chart.size()));
    generator.setTitle(chart.windowTitle());
    generator.setDescription(QStringLiteral("Ohmlet"));
    {
        QPainter painter(&generator);
        if (!painter.isActive()) return {};
        chart.render(&painter);
    }
    return bytes;
}

}  // namespace

ChartExportResult ExportChartImage(QWidget& chart, const QString& path) {
    ChartExportResult result;
    const QString name = QFileInfo(path).fileName();
    const ChartFileFormat format = ChartFileFormatOf(path);
    if (format == ChartFileFormat::Unknown) {
        result.code = ChartExportCode::UnknownFormat;
        result.text = QCoreApplication::translate("ohmlet::ChartExport",
                                                  "无法导出到 %1：只能保存为 PNG 或 SVG 文件。")
                          .arg(name)
                          .toStdString();
        return result;
    }
    if (chart.size().isEmpty()) {
        result.code = ChartExportCode::Empty;
        result.text =
            QCoreApplication::translate("ohmlet::ChartExport", "无法导出到 %1：图表没有大小。")
                .arg(name)
                .toStdString();
        return result;
    }
    const QByteArray bytes = format == ChartFileFormat::Png ? RenderPng(chart) : RenderSvg(chart);
    if (bytes.isEmpty()) {
        result.code = ChartExportCode::NotDrawn;
        result.text =
            QCoreApplication::translate("ohmlet::ChartExport", "无法导出到 %1：图表未能绘制。")
                .arg(name)
                .toStdString();
        return result;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        result.code = ChartExportCode::CannotWrite;
        result.text = QCoreApplication::translate("ohmlet::ChartExport", "无法写入 %1：%2")
                          .arg(path, file.errorString())
                          .toStdString();
        result.cause = file.errorString().toStdString();
        return result;
    }
    return result;
}

}  // namespace ohmlet
