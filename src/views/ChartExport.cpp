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
                                      "无法导出到 %1：只能保存为 PNG 或 SVG 文件。"));
    if (chart.size().isEmpty())
        return fail(ChartExportCode::Empty,
                    QT_TRANSLATE_NOOP("ohmlet::ChartExport", "无法导出到 %1：图表没有大小。"));
    const QByteArray bytes = format == ChartFileFormat::Png ? RenderPng(chart) : RenderSvg(chart);
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
