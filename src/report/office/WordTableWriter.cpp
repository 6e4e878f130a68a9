#include "WordTableWriter.h"

#include <QDir>
#include <new>

#include "DocxPackage.h"
#include "OfficeLayout.h"
#include "WordTableGenerator.h"
#include "WordTemplateDocument.h"

namespace ohmlet {

QString WordTemplateFileName() { return QStringLiteral("表格.docx"); }

QString DefaultWordOutputPath() {
    return QDir(QDir::tempPath()).filePath(QStringLiteral("数据表格.docx"));
}

OfficeOutcome WriteWordTable(const std::vector<Component>& components,
                             const QString& templateFolder, const QString& outputPath) {
    const QString templatePath = QDir(templateFolder).filePath(WordTemplateFileName());
    try {
        DocxPackage package;
        QString cause = package.Load(templatePath);
        if (!cause.isEmpty()) return OfficeOutcome::Failed(outputPath, cause);

        WordTemplateDocument page = OpenWordTemplateDocument(package.DocumentXml(), "数据列表：");
        if (!page.ok())
            return OfficeOutcome::Failed(outputPath,
                                         QStringLiteral("The template %1 cannot be used: %2.")
                                             .arg(templatePath, page.cause));

        WordTableGenerator table(page, SelectedComponents(components));
        cause = package.Write(outputPath, table);
        if (!cause.isEmpty()) return OfficeOutcome::Failed(outputPath, cause);
        return OfficeOutcome::Written(outputPath);
    } catch (const std::bad_alloc&) {
        return OfficeOutcome::Failed(
            outputPath, QStringLiteral("There is not enough memory to write %1.").arg(outputPath));
    }
}

OfficeOutcome WriteWordTable(const COhmletDoc& document, const QString& templateFolder,
                             const QString& outputPath) {
    if (document.componentCount() == 0) return OfficeOutcome::Nothing();
    return WriteWordTable(document.components(), templateFolder, outputPath);
}

}  // namespace ohmlet
