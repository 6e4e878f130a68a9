#pragma once
// The Word table (生成word报告): a document made from the template 表格.docx beside the
// program, with the caption 数据列表： and one ten-column table of the selected
// components' readings. The program then opens the file with the desktop's word processor.
#include <QString>
#include <vector>

#include "data/Component.h"
#include "data/Document.h"
#include "report/office/OfficeOutcome.h"

namespace ohmlet {

// "表格.docx"
QString WordTemplateFileName();
// A new "数据表格-XXXXXX.docx" in the private output folder, where the program writes the table.
QString DefaultWordOutputPath();

// Writes the table of the components whose `selected` flag is set, taking the flags as
// they stand. With no component selected the document holds the caption alone.
OfficeOutcome WriteWordTable(const std::vector<Component>& components,
                             const QString& templateFolder, const QString& outputPath);
// The same for a file name given as the system's bytes, which need not be UTF-8.
OfficeOutcome WriteWordTable(const std::vector<Component>& components,
                             const QString& templateFolder, const std::string& localPath);

// The command's form: a document without components gives NothingToWrite.
OfficeOutcome WriteWordTable(const Document& document, const QString& templateFolder,
                             const QString& outputPath);

}  // namespace ohmlet
