#pragma once
// The Excel workbook (数据导入Excel): one sheet "报表1"; per selected component a heading
// row (number(name), the average, the test date; A–C, D–F, G–I and J–L merged) and its
// readings ten to a row, every value a text. The program then opens the file with the
// desktop's spreadsheet.
//
// The old program set every column to horizontal alignment 2 and vertical alignment 4.
// Excel takes those small codes one above the file format's own numbering, so they
// read as horizontal "left" and vertical "justify"; that is what the sheet carries.
#include <QString>
#include <vector>

#include "data/Component.h"
#include "data/Document.h"
#include "report/office/OfficeOutcome.h"

namespace ohmlet {

// A new "数据表格-XXXXXX.xlsx" in the private output folder (OfficeFolder.h).
QString DefaultExcelOutputPath();

// Writes the components whose `selected` flag is set (the list's ticks). Fails,
// writing nothing, when the rows would not fit into one sheet.
OfficeOutcome WriteExcelWorkbook(const std::vector<Component>& components,
                                 const QString& outputPath);
// The same for a file name given as the system's bytes, which need not be UTF-8.
OfficeOutcome WriteExcelWorkbook(const std::vector<Component>& components,
                                 const std::string& localPath);

// The command's form: a document without components gives NothingToWrite.
OfficeOutcome WriteExcelWorkbook(const Document& document, const QString& outputPath);

}  // namespace ohmlet
