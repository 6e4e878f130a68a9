#include "report/RawDataPage.h"

#include <QPainter>
#include <algorithm>

#include "data/Criterion.h"
#include "report/GbkCodec.h"
#include "report/ReportCanvas.h"

namespace ohmlet {

namespace {

constexpr int kRowHeight = 150;

void DrawHeadingRow(QPainter& painter, int L, int W, int rowTop, const Component& c) {
    painter.fillRect(QRect(QPoint(L + 10, rowTop + 10), QPoint(L + W - 10, rowTop + 150 - 1)),
                     QColor(192, 192, 192));
    const int y = rowTop + 30;
    // The number's column holds four half-width characters, the name's runs up to the
    // design value; longer texts are narrowed into them.
    DrawTextFitted(painter, L + 180, y, 380 - 180, FromGbk(c.Number()));
    DrawTextFitted(painter, L + 380, y, 1840 - 380 - 40,
                   QStringLiteral("(") + FromGbk(c.Name()) + QStringLiteral(")"));
    // A minimum is printed as what it asks; a band keeps its design value.
    const QString value = IsMinimum(CriterionOf(c))
                              ? QStringLiteral("要求≥%1 ").arg(c.DesignValue())
                              : QStringLiteral("设计值:%1 ").arg(c.DesignValue());
    DrawTextAt(painter, L + 1840, y, value);
    // Ω and · are narrow in most faces; in em cells the unit would fall apart.
    DrawTextNatural(painter, L + 1840 + ReportTextCells(value) * painter.font().pixelSize() / 2, y,
                    QStringLiteral("kΩ·cm"));
    DrawGbkAt(painter, L + 3240, y, c.TestDate());
}

void DrawValueRow(QPainter& painter, int L, int rowTop, const Component& c, const ReportRow& row) {
    // Invalid readings are printed as read, marked "*" (explained under the table);
    // failing ones "×", so a black-and-white print tells them apart.
    for (int s = row.firstValue; s < row.firstValue + row.valueCount; ++s) {
        const int32_t v = c.points[static_cast<std::size_t>(s)].value;
        QString text = QString::number(v);
        switch (c.VerdictOf(v)) {
            case Component::Verdict::Invalid:
                text += QLatin1Char('*');
                break;
            case Component::Verdict::Failed:
                text += QStringLiteral("×");
                break;
            case Component::Verdict::Passed:
                break;
        }
        DrawTextAt(painter, L + 180 + 400 * (s % kValuesPerRow), rowTop + 30, text);
    }
    if (row.valueCount == 0) return;
    for (int j = 0; j < kValuesPerRow; ++j)
        DrawLine(painter, L + 410 * j, rowTop, L + 410 * j, rowTop + kRowHeight);
}

}  // namespace

void DrawRawDataPage(QPainter& painter, const ReportPageFrame& f,
                     const std::vector<Component>& components, const std::vector<ReportRow>& rows,
                     int page) {
    const int L = f.leftMargin, T = f.topMargin, W = f.frameWidth;
    const int Y0 = T + 150;
    const std::size_t first = static_cast<std::size_t>(page - kFirstRawDataPage) * kRowsPerPage;
    if (page < kFirstRawDataPage || first >= rows.size()) return;
    painter.setFont(ReportFont(ReportFace::Song, 12));
    if (page == kFirstRawDataPage)
        DrawTextAt(painter, L, T,
                   QStringLiteral("原始数据列表:（×：不合格；*：无效读数，未计入统计与合格率）"));

    const int onPage = static_cast<int>(std::min<std::size_t>(kRowsPerPage, rows.size() - first));
    const bool lastPage = first + kRowsPerPage >= rows.size();
    // A full page keeps its frame to the page's foot, the last one ends with its rows.
    DrawFrame(painter, L, Y0, L + W, lastPage ? Y0 + kRowHeight * onPage : T + 6150);
    for (int k = 0; k < (lastPage ? onPage : kRowsPerPage); ++k)
        DrawLine(painter, L, Y0 + kRowHeight * k, L + W, Y0 + kRowHeight * k);

    for (int k = 0; k < onPage; ++k) {
        const ReportRow& row = rows[first + static_cast<std::size_t>(k)];
        const Component& c = components[static_cast<std::size_t>(row.component)];
        const int rowTop = Y0 + kRowHeight * k;
        if (row.firstValue < 0)
            DrawHeadingRow(painter, L, W, rowTop, c);
        else
            DrawValueRow(painter, L, rowTop, c, row);
    }
}

}  // namespace ohmlet
