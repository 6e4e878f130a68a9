#include "report/PrintSettings.h"

#include <QStringList>

#include "report/GbkCodec.h"
#include "report/IniFile.h"
#include "report/SettingsLocation.h"

namespace ohmlet {

namespace {

std::string Key(const char* utf8) { return ToGbk(QString::fromUtf8(utf8)); }

}  // namespace

bool LoadPrintSettings(const QString& programFolder, PrintSettings& s) {
    IniFile file;
    if (!OpenSettingsFile(file, programFolder, kPrintSettingsFile, SettingsAccess::Read))
        return false;
    std::string header, footer;
    file.ReadInt("Data", Key("打印页眉"), s.printHeader);
    file.ReadInt("Data", Key("打印页脚"), s.printFooter);
    file.ReadInt("Data", Key("打印页码"), s.printPageNumber);
    if (file.ReadString("Data", Key("页眉内容"), header)) s.headerText = FromGbk(header);
    if (file.ReadString("Data", Key("页脚内容"), footer)) s.footerText = FromGbk(footer);
    file.ReadInt("Data", Key("页码格式"), s.pageNumberFormat);
    file.ReadInt("Data", Key("起始页码"), s.firstPageNumber);
    file.ReadInt("Data", Key("页码位置"), s.pageNumberPosition);
    file.Close();
    return true;
}

PrintSettings PrintSettingsToEdit(const QString& programFolder) {
    PrintSettings settings;
    settings.pageNumberFormat = -1;
    settings.pageNumberPosition = -1;
    LoadPrintSettings(programFolder, settings);
    return settings;
}

SettingsOutcome SavePrintSettings(const QString& programFolder, const PrintSettings& s) {
    IniFile file;
    if (!OpenSettingsFile(file, programFolder, kPrintSettingsFile, SettingsAccess::Write))
        return file.LastOutcome();
    file.WriteSection("Data");
    file.WriteInt(Key("打印页眉"), s.printHeader);
    file.WriteInt(Key("打印页脚"), s.printFooter);
    file.WriteInt(Key("打印页码"), s.printPageNumber);
    file.WriteString(Key("页眉内容"), ToGbk(s.headerText));
    file.WriteString(Key("页脚内容"), ToGbk(s.footerText));
    file.WriteInt(Key("页码格式"), s.pageNumberFormat);
    file.WriteInt(Key("起始页码"), s.firstPageNumber);
    file.WriteInt(Key("页码位置"), s.pageNumberPosition);
    file.Commit();
    return file.LastOutcome();
}

QStringList PageNumberFormatEntries() {
    return {QStringLiteral(".1."), QStringLiteral("1"), QStringLiteral("--1--"),
            QStringLiteral("第1页"), QStringLiteral("共1页  第1页")};
}

QStringList PageNumberPositionEntries() {
    return {QStringLiteral("底部居右"), QStringLiteral("底部居中"), QStringLiteral("底部居左"),
            QStringLiteral("顶部居右"), QStringLiteral("顶部居中"), QStringLiteral("顶部居左")};
}

QString PageNumberText(const PrintSettings& s, int currentPage, int pageCount) {
    // A first page numbered 0 or below was never meant: older settings stored 0 as the
    // default. 64-bit so that a huge start page in the file cannot overflow.
    const qint64 first = s.firstPageNumber >= 1 ? s.firstPageNumber : 1;
    const qint64 n = static_cast<qint64>(currentPage) + first - 1;
    switch (s.pageNumberFormat) {
        case 0:
            return QStringLiteral(".%1.").arg(n);
        case 1:
            return QString::number(n);
        case 2:
            return QStringLiteral("--%1--").arg(n);
        case 3:
            return QStringLiteral("第%1页").arg(n);
        case 4:
            return QStringLiteral("共%1页 第%2页")
                .arg(static_cast<qint64>(pageCount) + first - 1)
                .arg(n);
        default:
            return QString();
    }
}

PageNumberPlacement PlacePageNumber(int position) {
    if (position < 0 || position > 5) position = 0;
    const QRect box = position < 3 ? kFooterBox : kHeaderBox;
    static const Qt::Alignment kAlign[] = {Qt::AlignRight, Qt::AlignHCenter, Qt::AlignLeft};
    return {box, kAlign[position % 3] | Qt::AlignVCenter};
}

DecorationPlacement PlaceDecorations(const PrintSettings& s) {
    DecorationPlacement place;
    place.pageNumber = PlacePageNumber(s.pageNumberPosition);
    if (!s.printPageNumber) return place;
    const bool atFoot = place.pageNumber.box == kFooterBox;
    if (atFoot && s.printFooter) {
        // Two lines of 10.5 pt between the table (6550) and the printable foot (6732).
        place.footer = QRect(QPoint(300, 6556), QPoint(4499, 6643));
        place.pageNumber.box = QRect(QPoint(300, 6644), QPoint(4499, 6731));
        place.bottomPoints = 10.5;
    } else if (!atFoot && s.printHeader) {
        place.pageNumber.box = QRect(QPoint(300, 290), QPoint(4499, 389));
    }
    return place;
}

}  // namespace ohmlet
