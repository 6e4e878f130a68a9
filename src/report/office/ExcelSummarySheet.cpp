#include "report/office/ExcelSummarySheet.h"

#include <QStringList>
#include <algorithm>
#include <optional>

#include "data/PassRate.h"
#include "data/ReadingStats.h"
#include "report/ClassNames.h"
#include "report/GbkCodec.h"

namespace ohmlet {
namespace {

constexpr char kSummarySheetName[] = "统计汇总";
constexpr lxw_col_t kFirstClassColumn = 15;

// A column wide enough for `text` in the sheet's font: Chinese characters take two
// character widths. Very long names wrap the page rather than the cell, so they are capped.
double ColumnWidth(const QString& text) {
    double width = 1;
    for (const QChar ch : text) width += ch.unicode() >= 0x1100 ? 2 : 1;
    return std::min(width, 60.0);
}

QStringList Headings(const ClassTable& table) {
    QStringList headings = {
        QStringLiteral("构件编号"), QStringLiteral("构件名称"),   QStringLiteral("有效个数"),
        QStringLiteral("无效个数"), QStringLiteral("平均值"),     QStringLiteral("中位数"),
        QStringLiteral("标准差"),   QStringLiteral("变异系数"),   QStringLiteral("P10"),
        QStringLiteral("P90"),      QStringLiteral("最小值"),     QStringLiteral("最大值"),
        QStringLiteral("合格点数"), QStringLiteral("不合格点数"), QStringLiteral("合格率")};
    for (const CorrosionClass& c : table.Classes()) {
        headings << ClassDisplayName(c) + QStringLiteral(" 个数");
        headings << ClassDisplayName(c) + QStringLiteral(" 占比");
    }
    return headings;
}

// Writes cells until the library reports an error, which it then keeps.
class SummaryWriter {
public:
    SummaryWriter(lxw_workbook* book, lxw_worksheet* sheet) : sheet_(sheet) {
        bold_ = workbook_add_format(book);
        format_set_bold(bold_);
        percent_ = workbook_add_format(book);
        format_set_num_format(percent_, "0.0%");
        decimal_ = workbook_add_format(book);
        format_set_num_format(decimal_, "0.0");
        twoDecimals_ = workbook_add_format(book);
        format_set_num_format(twoDecimals_, "0.00");
    }

    void Headings(const QStringList& headings) {
        for (int c = 0; c < headings.size(); ++c)
            Text(0, static_cast<lxw_col_t>(c), headings[c], bold_);
        numberWidth_ = ColumnWidth(headings[0]);
        nameWidth_ = ColumnWidth(headings[1]);
    }

    // Numbers as numbers; an undefined figure leaves its cell empty.
    void Row(lxw_row_t r, const QString& number, const QString& name, const ReadingStats& s,
             bool total) {
        lxw_format* label = total ? bold_ : nullptr;
        Text(r, 0, number, label);
        Text(r, 1, name, label);
        numberWidth_ = std::max(numberWidth_, ColumnWidth(number));
        nameWidth_ = std::max(nameWidth_, ColumnWidth(name));
        Number(r, 2, std::optional<int64_t>(s.count));
        Number(r, 3, std::optional<int64_t>(s.invalidCount));
        Number(r, 4, s.mean, decimal_);
        Number(r, 5, s.median, decimal_);
        Number(r, 6, s.stddev, twoDecimals_);
        Number(r, 7, s.cv, percent_);
        Number(r, 8, s.p10, decimal_);
        Number(r, 9, s.p90, decimal_);
        Number(r, 10, s.min);
        Number(r, 11, s.max);
        Number(r, 12, s.passCount);
        if (s.passCount) {
            Number(r, 13, std::optional<int64_t>(s.count - *s.passCount));
            // Cut to the tenth the sheet shows, so Excel cannot round it up to the mark.
            Number(r, 14,
                   std::optional<double>(static_cast<double>(RateTenths(*s.passCount, s.count)) /
                                         1000.0),
                   percent_);
        }
        if (!s.classCounts) return;
        for (std::size_t k = 0; k < s.classCounts->size(); ++k) {
            const int64_t n = (*s.classCounts)[k];
            const std::optional<double> share =
                s.count > 0
                    ? std::optional<double>(static_cast<double>(n) / static_cast<double>(s.count))
                    : std::nullopt;
            Number(r, static_cast<lxw_col_t>(kFirstClassColumn + 2 * k), std::optional<int64_t>(n));
            Number(r, static_cast<lxw_col_t>(kFirstClassColumn + 1 + 2 * k), share, percent_);
        }
    }

    // Names whole; A4 across, one page wide, the headings on every page.
    lxw_error Finish() {
        if (error_ == LXW_NO_ERROR)
            error_ = worksheet_set_column(sheet_, 0, 0, numberWidth_, nullptr);
        if (error_ == LXW_NO_ERROR)
            error_ = worksheet_set_column(sheet_, 1, 1, nameWidth_, nullptr);
        worksheet_set_paper(sheet_, 9);
        worksheet_set_landscape(sheet_);
        worksheet_fit_to_pages(sheet_, 1, 0);
        if (error_ == LXW_NO_ERROR) error_ = worksheet_repeat_rows(sheet_, 0, 0);
        return error_;
    }

    bool Ok() const { return error_ == LXW_NO_ERROR; }
    // A line of text in the first column, left to run across the columns beside it.
    void Note(lxw_row_t r, const QString& text) { Text(r, 0, text, nullptr); }

private:
    void Text(lxw_row_t r, lxw_col_t c, const QString& t, lxw_format* f) {
        if (Ok()) error_ = worksheet_write_string(sheet_, r, c, t.toUtf8().constData(), f);
    }
    template <typename T>
    void Number(lxw_row_t r, lxw_col_t c, const std::optional<T>& v, lxw_format* f = nullptr) {
        if (Ok() && v) error_ = worksheet_write_number(sheet_, r, c, static_cast<double>(*v), f);
    }

    lxw_worksheet* sheet_;
    lxw_format* bold_;
    lxw_format* percent_;
    lxw_format* decimal_;
    lxw_format* twoDecimals_;
    double numberWidth_ = 0, nameWidth_ = 0;
    lxw_error error_ = LXW_NO_ERROR;
};

}  // namespace

lxw_error WriteSummarySheet(lxw_workbook* book, const std::vector<Component>& components,
                            const ClassTable& table) {
    lxw_worksheet* sheet = workbook_add_worksheet(book, kSummarySheetName);
    if (!sheet) return LXW_ERROR_MEMORY_MALLOC_FAILED;
    SummaryWriter writer(book, sheet);
    writer.Headings(Headings(table));
    const DocumentStats stats = ComputeDocumentStats(components, table);
    lxw_row_t row = 1;
    for (std::size_t i = 0; i < components.size() && writer.Ok(); ++i) {
        const Component& c = components[i];
        if (c.selected != 0)
            writer.Row(row++, FromGbk(c.Number()), FromGbk(c.Name()), stats.components[i], false);
    }
    writer.Row(row, QStringLiteral("全部"), QStringLiteral("勾选的构件"), stats.selected, true);
    // Under the figures, what each class holds, ends included, and what the table is for.
    QStringList ranges;
    for (std::size_t i = 0; i < table.Size(); ++i)
        ranges << ClassDisplayName(table.Classes()[i]) + ' ' + ClassRangeText(table, i);
    writer.Note(
        row + 2,
        QStringLiteral("等级表 %1（电阻率 kΩ·cm）：").arg(QString::fromStdString(table.Name())) +
            ranges.join(QStringLiteral("；")));
    const QString scope = ClassTableScope(table);
    if (!scope.isEmpty()) writer.Note(row + 3, QStringLiteral("适用于：") + scope);
    return writer.Finish();
}

}  // namespace ohmlet
