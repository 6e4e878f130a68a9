#include "report/office/WordTableWriter.h"

#include <QDir>
#include <QFile>
#include <new>

#include "report/office/DocxPackage.h"
#include "report/office/OfficeFolder.h"
#include "report/office/OfficeLayout.h"
#include "report/office/OfficeSave.h"
#include "report/office/WordTableGenerator.h"
#include "report/office/WordTemplateDocument.h"

namespace ohmlet {

QString WordTemplateFileName() { return QStringLiteral("表格.docx"); }

QString DefaultWordOutputPath() { return NewOfficeOutputPath(QStringLiteral("docx")); }

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

        WordTableGenerator table(page, SelectedComponents(components));
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
