#include "report/office/ExcelWorkbookWriter.h"

#include <xlsxwriter.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <new>
#include <string>

#include "report/office/OfficeFolder.h"
#include "report/office/OfficeLayout.h"
#include "report/office/OfficeOutcome.h"

namespace ohmlet {

namespace {

constexpr char kSheetName[] = "报表1";
constexpr lxw_col_t kHeadingBlocks[] = {0, 3, 6, 9};  // A–C, D–F, G–I, J–L

// Heading row plus value rows; a component without points keeps one empty row.
uint64_t RowsOf(const Component& component) {
    int rows = ValueRowCount(component);
    return 1 + static_cast<uint64_t>(rows > 0 ? rows : 1);
}

QString LibraryError(lxw_error error) { return QString::fromUtf8(lxw_strerror(error)); }

class SheetWriter {
public:
    SheetWriter(lxw_workbook* book, lxw_worksheet* sheet) : sheet_(sheet) {
        format_ = workbook_add_format(book);
        format_set_align(format_, LXW_ALIGN_LEFT);
        format_set_align(format_, LXW_ALIGN_VERTICAL_JUSTIFY);
    }

    lxw_error AlignAllColumns() {
        return worksheet_set_column(sheet_, 0, LXW_COL_MAX - 1, LXW_DEF_COL_WIDTH, format_);
    }

    // Rows are written strictly downwards, which keeps the writer's memory constant.
    lxw_error Write(const Component& component, lxw_row_t& row) {
        const std::string texts[] = {ExcelIdentityText(component), ExcelAverageText(component),
                                     TestDateText(component), std::string()};
        for (std::size_t b = 0; b < std::size(kHeadingBlocks); ++b) {
            lxw_col_t first = kHeadingBlocks[b];
            lxw_error error = worksheet_merge_range(sheet_, row, first, row, first + 2,
                                                    texts[b].c_str(), format_);
            if (error != LXW_NO_ERROR) return error;
        }
        const int n = ShownPointCount(component);
        std::string text;
        for (int j = 0; j < n; ++j) {
            text = ExcelReadingText(static_cast<float>(ReadingAt(component, j)));
            lxw_error error = worksheet_write_string(
                sheet_, row + 1 + static_cast<lxw_row_t>(j / kReadingsPerRow),
                static_cast<lxw_col_t>(j % kReadingsPerRow), text.c_str(), format_);
            if (error != LXW_NO_ERROR) return error;
        }
        row += static_cast<lxw_row_t>(RowsOf(component));
        return LXW_NO_ERROR;
    }

private:
    lxw_worksheet* sheet_;
    lxw_format* format_;
};

// Writes the workbook to `fileName` (the system's bytes); `path` names it in messages.
QString WriteBook(const std::vector<const Component*>& selected, const QString& path,
                  const std::string& fileName) {
    // The library's own spill files hold the readings too: keep them private when we can.
    const QString privateFolder = OfficeOutputFolder();
    const QByteArray tempFolder =
        QFile::encodeName(privateFolder.isEmpty() ? QDir::tempPath() : privateFolder);
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char*>(tempFolder.constData());
    options.use_zip64 = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(fileName.c_str(), &options);
    if (!book) return QStringLiteral("%1 cannot be created.").arg(path);

    lxw_worksheet* sheet = workbook_add_worksheet(book, kSheetName);
    lxw_error error = LXW_ERROR_MEMORY_MALLOC_FAILED;
    if (sheet) {
        SheetWriter writer(book, sheet);
        error = LXW_NO_ERROR;
        lxw_row_t row = 0;
        for (std::size_t i = 0; i < selected.size() && error == LXW_NO_ERROR; ++i)
            error = writer.Write(*selected[i], row);
        // Formatting every column widens the sheet's extent to all 16384 columns, which
        // the writer then walks for each row it flushes: format them after the rows.
        if (error == LXW_NO_ERROR) error = writer.AlignAllColumns();
    }
    lxw_error closed = workbook_close(book);  // frees the book in every case
    if (error == LXW_NO_ERROR) error = closed;
    if (error != LXW_NO_ERROR)
        return QStringLiteral("%1 cannot be written: %2.").arg(path, LibraryError(error));
    return {};
}

}  // namespace

QString DefaultExcelOutputPath() { return NewOfficeOutputPath(QStringLiteral("xlsx")); }

OfficeOutcome WriteExcelWorkbook(const std::vector<Component>& components,
                                 const QString& outputPath) {
    return WriteExcelWorkbook(components, QFile::encodeName(outputPath).toStdString());
}

OfficeOutcome WriteExcelWorkbook(const std::vector<Component>& components,
                                 const std::string& localPath) {
    const QString outputPath = QFile::decodeName(QByteArray::fromStdString(localPath));
    try {
        const std::vector<const Component*> selected = SelectedComponents(components);
        uint64_t rows = 0;
        for (const Component* c : selected) rows += RowsOf(*c);
        // A component without points leaves its empty row only when another follows.
        if (!selected.empty() && ShownPointCount(*selected.back()) == 0) rows -= 1;
        if (rows > LXW_ROW_MAX)
            return OfficeOutcome::Failed(
                outputPath,
                QStringLiteral("The selected components need %1 rows; an Excel sheet holds %2.")
                    .arg(rows)
                    .arg(LXW_ROW_MAX));

        SafeFileWriter file(localPath);
        SafeWriteResult opened = file.Open();
        if (!opened.Ok()) return OfficeOutcome::Failed(outputPath, DecodedMessage(opened));
        QString cause = WriteBook(selected, outputPath, file.TempPathForLibrary());
        if (!cause.isEmpty()) return OfficeOutcome::Failed(outputPath, cause);
        SafeWriteResult saved = file.Commit();
        if (!saved.Ok()) return OfficeOutcome::Failed(outputPath, DecodedMessage(saved));
        return OfficeOutcome::Written(outputPath);
    } catch (const std::bad_alloc&) {
        return OfficeOutcome::Failed(
            outputPath, QStringLiteral("There is not enough memory to write %1.").arg(outputPath));
    }
}

OfficeOutcome WriteExcelWorkbook(const Document& document, const QString& outputPath) {
    if (document.ComponentCount() == 0) return OfficeOutcome::Nothing();
    return WriteExcelWorkbook(document.Components(), outputPath);
}

}  // namespace ohmlet
