#pragma once
// Header, footer and page number settings of the printed report ("printini").
#include <QRect>
#include <QString>
#include <cstdint>
#include <string>

#include "report/IniFile.h"

namespace ohmlet {

inline constexpr char kPrintSettingsFile[] = "printini";

struct PrintSettings {
    int32_t printHeader = 0;
    int32_t printFooter = 0;
    int32_t printPageNumber = 0;
    QString headerText;
    QString footerText;
    int32_t pageNumberFormat = 0;
    int32_t firstPageNumber = 1;  // below 1 (an old default of 0) counts as 1
    int32_t pageNumberPosition = 0;
};

// Missing file or keys keep the values already in `settings`; false when the file is not there.
bool LoadPrintSettings(const QString& programFolder, PrintSettings& settings);
// What the settings dialog starts from: the file's values; without a file the lists
// show no selection (format and position -1).
PrintSettings PrintSettingsToEdit(const QString& programFolder);
// Writes the whole file; the outcome says why when it could not be saved.
SettingsOutcome SavePrintSettings(const QString& programFolder, const PrintSettings& settings);

// The entries of the dialog's lists, in index order.
QStringList PageNumberFormatEntries();
QStringList PageNumberPositionEntries();

// The printed page number for page `currentPage` (1-based) of `pageCount`; empty for a
// format outside the list.
QString PageNumberText(const PrintSettings& settings, int currentPage, int pageCount);

// The box the page number goes into (printer dots) and its alignment; an unknown position
// falls back to bottom right.
struct PageNumberPlacement {
    QRect box;
    Qt::Alignment alignment;
};
PageNumberPlacement PlacePageNumber(int position);

inline constexpr QRect kHeaderBox{QPoint(300, 400), QPoint(4499, 499)};
// The foot of the page. A full raw data page's table reaches down to 6550, so a footer at
// 6450 would print over the readings of its last row; the box sits just below the table.
inline constexpr QRect kFooterBox{QPoint(300, 6600), QPoint(4499, 6699)};

// Where the page number, header and footer of a page go. A page number that shares its
// box with the header or the footer is stacked with it: above the header, and at the foot
// both lines a size smaller, which is all the room below the table allows.
struct DecorationPlacement {
    PageNumberPlacement pageNumber;
    QRect header = kHeaderBox;
    QRect footer = kFooterBox;
    double bottomPoints = 12;  // the footer's size, and a bottom page number's
    double topPoints = 12;
};
DecorationPlacement PlaceDecorations(const PrintSettings& settings);

}  // namespace ohmlet
