#include "report/office/ExcelWorkbookWriter.h"

#include <xlsxwriter.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <new>
#include <string>

#include "data/FileBytes.h"
#include "data/SafeFile.h"
#include "report/GbkCodec.h"
#include "report/office/ExcelSummarySheet.h"
#include "report/office/OfficeArchiveCheck.h"
#include "report/office/OfficeFolder.h"
#include "report/office/OfficeLayout.h"
#include "report/office/OfficeOutcome.h"
#include "report/office/OfficeSave.h"

namespace ohmlet {

namespace {

constexpr char kSheetName[] = "报表1";
constexpr lxw_col_t kHeadingBlocks[] = {0, 3, 6, 9};  // A–C, D–F, G–I, J–L

// Heading row plus value rows; a component without points keeps one empty row.
uint64_t RowsOf(const Component& component) {
    int rows = ValueRowCount(component);
    return 1 + static_cast<uint64_t>(rows > 0 ? rows : 1);
}

// The library's words, without the full stop some of them end in.
QString LibraryError(lxw_error error) {
    QString text = QString::fromUtf8(lxw_strerror(error));
    while (text.endsWith(QLatin1Char('.'))) text.chop(1);
    return text;
}

class SheetWriter {
public:
    SheetWriter(lxw_workbook* book, lxw_worksheet* sheet) : sheet_(sheet) {
        format_ = AlignedFormat(book);
        heading_ = AlignedFormat(book);
        format_set_bold(heading_);
        format_set_border(heading_, LXW_BORDER_THIN);
        // Readings are numbers (so sums and charts work) shown as the texts the old
        // sheet held: "0" for a zero, "%.1f" for every other reading.
        reading_ = AlignedFormat(book);
        format_set_num_format(reading_, "0.0");
        zero_ = AlignedFormat(book);
        format_set_num_format(zero_, "0");
    }

    lxw_error AlignAllColumns() {
        return worksheet_set_column(sheet_, 0, LXW_COL_MAX - 1, LXW_DEF_COL_WIDTH, format_);
    }

    // Twelve default-width columns are wider than a portrait A4 page: print them one
    // page wide, as many pages down as the rows need.
    void SetUpPage() {
        worksheet_set_paper(sheet_, 9);  // A4
        worksheet_fit_to_pages(sheet_, 1, 0);
    }

    // Rows are written strictly downwards, which keeps the writer's memory constant.
    lxw_error Write(const Component& component, lxw_row_t& row) {
        const std::string texts[] = {ExcelIdentityText(component), ExcelAverageText(component),
                                     TestDateText(component), std::string()};
        for (std::size_t b = 0; b < std::size(kHeadingBlocks); ++b) {
            lxw_col_t first = kHeadingBlocks[b];
            lxw_error error = worksheet_merge_range(sheet_, row, first, row, first + 2,
                                                    texts[b].c_str(), heading_);
            if (error != LXW_NO_ERROR) return error;
        }
        const int n = component.HeldPointCount();
        for (int j = 0; j < n; ++j) {
            // The reading as the old sheet showed it: through a float.
            const double value = static_cast<float>(ReadingAt(component, j));
            lxw_error error = worksheet_write_number(
                sheet_, row + 1 + static_cast<lxw_row_t>(j / kReadingsPerRow),
                static_cast<lxw_col_t>(j % kReadingsPerRow), value, value == 0 ? zero_ : reading_);
            if (error != LXW_NO_ERROR) return error;
        }
        row += static_cast<lxw_row_t>(RowsOf(component));
        return LXW_NO_ERROR;
    }

private:
    static lxw_format* AlignedFormat(lxw_workbook* book) {
        lxw_format* format = workbook_add_format(book);
        format_set_align(format, LXW_ALIGN_LEFT);
        format_set_align(format, LXW_ALIGN_VERTICAL_JUSTIFY);
        return format;
    }

    lxw_worksheet* sheet_;
    lxw_format* format_;   // every column
    lxw_format* heading_;  // the merged heading blocks
    lxw_format* reading_;
    lxw_format* zero_;
};

// The folder for the library's own files: they hold the readings too, so keep them
// private when we can.
QString LibraryFolder() {
    const QString privateFolder = OfficeOutputFolder();
    return privateFolder.isEmpty() ? QDir::tempPath() : privateFolder;
}

// Writes the workbook to `fileName` (the system's bytes) with its spill files in
// `tmpdir`; `path` names the target in messages.
QString WriteBook(const std::vector<Component>& components,
                  const std::vector<const Component*>& selected, const ClassTable& table,
                  const QString& path, const QByteArray& fileName, const QByteArray& tmpdir) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = const_cast<char*>(tmpdir.constData());
    options.use_zip64 = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(fileName.constData(), &options);
    if (!book) return QStringLiteral("%1 cannot be created.").arg(path);

    lxw_worksheet* sheet = workbook_add_worksheet(book, kSheetName);
    lxw_error error = LXW_ERROR_MEMORY_MALLOC_FAILED;
    if (sheet) {
        SheetWriter writer(book, sheet);
        writer.SetUpPage();
        error = LXW_NO_ERROR;
        lxw_row_t row = 0;
        for (std::size_t i = 0; i < selected.size() && error == LXW_NO_ERROR; ++i)
            error = writer.Write(*selected[i], row);
        // Formatting every column widens the sheet's extent to all 16384 columns, which
        // the writer then walks for each row it flushes: format them after the rows.
        if (error == LXW_NO_ERROR) error = writer.AlignAllColumns();
        if (error == LXW_NO_ERROR) error = WriteSummarySheet(book, components, table);
    }
    lxw_error closed = workbook_close(book);  // frees the book in every case
    if (error == LXW_NO_ERROR) error = closed;
    if (error != LXW_NO_ERROR)
        return QStringLiteral("%1 cannot be written: %2.").arg(path, LibraryError(error));
    return {};
}

// A killed export leaves its working folder behind; one an hour old is no running one's.
void RemoveStaleWorkFolders(const QString& folder) {
    const QDateTime hourAgo = QDateTime::currentDateTime().addSecs(-3600);
    const QFileInfoList old =
        QDir(folder).entryInfoList({QStringLiteral("xlsx-??????")}, QDir::Dirs | QDir::NoSymLinks);
    for (const QFileInfo& work : old)
        if (work.lastModified() < hourAgo) QDir(work.filePath()).removeRecursively();
}

// The library writes only by name, and does not notice when writing its spill files
// fails: it writes into a private folder of ours, and the workbook is read back whole
// before its bytes go to the sink.
QString MakeBook(const std::vector<Component>& components,
                 const std::vector<const Component*>& selected, const ClassTable& table,
                 const QString& path, const OfficeSink& sink) {
    const QString folder = LibraryFolder();
    RemoveStaleWorkFolders(folder);
    QTemporaryDir work(QDir(folder).filePath(QStringLiteral("xlsx-XXXXXX")));
    if (!work.isValid())
        return QStringLiteral("%1 cannot be written: no working folder in %2 (%3).")
            .arg(path, folder, work.errorString());
    const QString bookPath = work.filePath(QStringLiteral("book.xlsx"));
    QString cause = WriteBook(components, selected, table, path, QFile::encodeName(bookPath),
                              QFile::encodeName(work.path()));
    if (!cause.isEmpty()) return cause;

    FileBytes book;
    std::string reason;
    if (book.Open(QFile::encodeName(bookPath).toStdString(), reason) != FileBytes::Status::Ok)
        return QStringLiteral("%1 cannot be written: %2.")
            .arg(path, QString::fromLocal8Bit(reason.c_str()));
    cause = CheckOfficeArchive(book.data(), book.size());
    if (!cause.isEmpty())
        return QStringLiteral(
                   "%1 cannot be written: the workbook came out incomplete (%2); the folder %3 "
                   "may be full or a file-size limit may apply.")
            .arg(path, cause, folder);
    sink(reinterpret_cast<const char*>(book.data()), book.size());
    return {};
}

}  // namespace

QString DefaultExcelOutputPath() { return NewOfficeOutputPath(QStringLiteral("xlsx")); }

OfficeOutcome WriteExcelWorkbook(const std::vector<Component>& components,
                                 const QString& outputPath, const ClassTable& table) {
    return WriteExcelWorkbook(components, QFile::encodeName(outputPath).toStdString(), table);
}

OfficeOutcome WriteExcelWorkbook(const std::vector<Component>& components,
                                 const std::string& localPath, const ClassTable& table) {
    const QString outputPath = QFile::decodeName(QByteArray::fromStdString(localPath));
    try {
        const std::vector<const Component*> selected = SelectedComponents(components);
        uint64_t rows = 0;
        for (const Component* c : selected) rows += RowsOf(*c);
        // A component without points leaves its empty row only when another follows.
        if (!selected.empty() && selected.back()->HeldPointCount() == 0) rows -= 1;
        if (rows > LXW_ROW_MAX)
            return OfficeOutcome::Failed(
                outputPath,
                QStringLiteral("The selected components need %1 rows; an Excel sheet holds %2.")
                    .arg(rows)
                    .arg(LXW_ROW_MAX));

        return SaveOfficeFile(localPath, [&](const OfficeSink& sink) {
            return MakeBook(components, selected, table, outputPath, sink);
        });
    } catch (const std::bad_alloc&) {
        return OfficeOutcome::Failed(
            outputPath, QStringLiteral("There is not enough memory to write %1.").arg(outputPath));
    }
}

OfficeOutcome WriteExcelWorkbook(const Document& document, const QString& outputPath,
                                 const ClassTable& table) {
    if (document.ComponentCount() == 0) return OfficeOutcome::Nothing();
    return WriteExcelWorkbook(document.Components(), outputPath, table);
}

}  // namespace ohmlet
