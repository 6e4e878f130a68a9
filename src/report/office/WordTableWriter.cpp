#include "report/office/WordTableWriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <new>

#include "data/MapData.h"
#include "report/InterpretationSettings.h"
#include "report/MapPage.h"

#include "report/office/DocxPackage.h"
#include "report/office/OfficeFolder.h"
#include "report/office/OfficeLayout.h"
#include "report/office/OfficeSave.h"
#include "report/office/WordTableGenerator.h"
#include "report/office/WordTemplateDocument.h"

namespace ohmlet {

QString WordTemplateFileName() { return QStringLiteral("表格.docx"); }

QString DefaultWordOutputPath() { return NewOfficeOutputPath(QStringLiteral("docx")); }

namespace {

// Pixels across a map picture: sharp at the width of an A4 page's text.
constexpr int kPictureWidth = 1200;

// The cell map of every listed component with a grid, added to the package; the class
// table is the one the settings beside the program choose, as in the printed report.
std::vector<std::optional<WordPicture>> AddMapPictures(DocxPackage& package,
                                                       const std::vector<const Component*>& list,
                                                       const QString& programFolder) {
    std::vector<std::optional<WordPicture>> pictures(list.size());
    const ClassTable table = LoadChosenClassTable(programFolder).table;
    for (std::size_t k = 0; k < list.size(); ++k) {
        const Component& c = *list[k];
        if (!c.extras.grid || !HasUsableSides(*c.extras.grid)) continue;
        const QImage image = MapPicture(c, table, kPictureWidth);
        QByteArray png;
        QBuffer buffer(&png);
        if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
            continue;
        const std::string id =
            package.AddPicture("map" + std::to_string(k + 1) + ".png", png.toStdString());
        if (id.empty()) break;  // the template's relationships cannot take pictures
        pictures[k] = WordPicture{id, image.width(), image.height()};
    }
    return pictures;
}

}  // namespace

OfficeOutcome WriteWordTable(const std::vector<Component>& components,
                             const QString& templateFolder, const QString& outputPath) {
    return WriteWordTable(components, templateFolder, QFile::encodeName(outputPath).toStdString());
}

OfficeOutcome WriteWordTable(const std::vector<Component>& components,
                             const QString& templateFolder, const std::string& localPath) {
    const QString outputPath = QFile::decodeName(QByteArray::fromStdString(localPath));
    const QString templatePath = QDir(templateFolder).filePath(WordTemplateFileName());
    try {
        DocxPackage package;
        QString cause = package.Load(templatePath);
        if (!cause.isEmpty()) return OfficeOutcome::Failed(outputPath, cause);

        WordTemplateDocument page = OpenWordTemplateDocument(package.DocumentXml(), "数据列表：");
        if (!page.Ok())
            return OfficeOutcome::Failed(
                outputPath, QStringLiteral("The template %1 cannot be used: %2.")
                                .arg(templatePath, QString::fromStdString(page.cause)));

        const std::vector<const Component*> selected = SelectedComponents(components);
        WordTableGenerator table(page, selected, AddMapPictures(package, selected, templateFolder));
        return SaveOfficeFile(localPath, [&](const OfficeSink& sink) {
            return package.Write(outputPath, table, sink);
        });
    } catch (const std::bad_alloc&) {
        return OfficeOutcome::Failed(
            outputPath, QStringLiteral("There is not enough memory to write %1.").arg(outputPath));
    }
}

OfficeOutcome WriteWordTable(const Document& document, const QString& templateFolder,
                             const QString& outputPath) {
    if (document.ComponentCount() == 0) return OfficeOutcome::Nothing();
    return WriteWordTable(document.Components(), templateFolder, outputPath);
}

}  // namespace ohmlet
