#include "report/PrintSettings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "dialogs/PrintSettingsDialog.h"
#include "report/GbkCodec.h"

namespace ohmlet {
namespace {

TEST(PageNumber, TextOfEveryFormat) {
    struct Case {
        int format, first, page, pages;
        const char* text;
    };
    const Case cases[] = {
        {0, 1, 1, 4, ".1."},
        {0, 0, 1, 4, ".1."},
        {1, 1, 3, 4, "3"},
        {4, 0, 7, 7, "共7页 第7页"},
        {4, -3, 1, 7, "共7页 第1页"},
        {2, 1, 2, 4, "--2--"},
        {3, 1, 4, 4, "第4页"},
        {4, 1, 2, 4, "共4页 第2页"},
        {4, 5, 1, 6, "共10页 第5页"},
        {5, 1, 1, 4, ""},
        {-1, 1, 1, 4, ""},
    };
    for (const Case& c : cases) {
        PrintSettings s;
        s.pageNumberFormat = c.format;
        s.firstPageNumber = c.first;
        EXPECT_EQ(PageNumberText(s, c.page, c.pages), QString::fromUtf8(c.text)) << c.format;
    }
}

TEST(PageNumber, BoxAndAlignmentOfEveryPosition) {
    struct Case {
        int position;
        int top;
        Qt::Alignment horizontal;
    };
    const Case cases[] = {{0, 6600, Qt::AlignRight},  {1, 6600, Qt::AlignHCenter},
                          {2, 6600, Qt::AlignLeft},   {3, 400, Qt::AlignRight},
                          {4, 400, Qt::AlignHCenter}, {5, 400, Qt::AlignLeft},
                          {-1, 6600, Qt::AlignRight}, {6, 6600, Qt::AlignRight}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        PageNumberPlacement p = PlacePageNumber(c.position);
        EXPECT_EQ(p.box.left(), 300);
        EXPECT_EQ(p.box.right() + 1, 4500);
        EXPECT_EQ(p.box.top(), c.top);
        EXPECT_EQ(p.box.height(), 100);
        EXPECT_EQ(p.alignment & Qt::AlignHorizontal_Mask, c.horizontal);
        EXPECT_TRUE(p.alignment & Qt::AlignVCenter);
    }
}

TEST(PrintSettingsFile, DialogSavesTheKeysInOrderAndLoadsThemBack) {
    QTemporaryDir dir;
    {
        PrintSettingsDialog dialog(PrintSettingsToEdit(dir.path()));
        // Without a file: checks off, texts empty, start 1, no list selection.
        EXPECT_FALSE(dialog.HeaderCheck()->isChecked());
        EXPECT_EQ(dialog.FormatCombo()->currentIndex(), -1);
        EXPECT_EQ(dialog.PositionCombo()->currentIndex(), -1);
        EXPECT_EQ(dialog.FirstPageEdit()->text(), "1");
        EXPECT_TRUE(dialog.HeaderEdit()->isReadOnly());
        QTest::mouseClick(dialog.HeaderCheck(), Qt::LeftButton);
        EXPECT_FALSE(dialog.HeaderEdit()->isReadOnly());
        EXPECT_TRUE(dialog.FooterEdit()->isReadOnly());
        dialog.PageNumberCheck()->setChecked(true);
        EXPECT_TRUE(dialog.FooterEdit()->isReadOnly());  // the page number box has no edit
        dialog.HeaderEdit()->setText(QStringLiteral("某检测中心"));
        dialog.FormatCombo()->setCurrentIndex(4);
        dialog.PositionCombo()->setCurrentIndex(3);
        dialog.FirstPageEdit()->setText("5");
        dialog.accept();
        // OK only returns the values; the caller saves them.
        EXPECT_FALSE(QFile::exists(dir.filePath("printini.ini")));
        const SettingsOutcome saved = SavePrintSettings(dir.path(), dialog.Values());
        EXPECT_TRUE(saved.Ok()) << saved.text;
    }
    QFile f(dir.filePath("printini.ini"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(
        FromGbk(f.readAll().toStdString()),
        QStringLiteral("[Data]\r\n打印页眉=1\r\n打印页脚=0\r\n打印页码=1\r\n页眉内容=某检测中心\r\n"
                       "页脚内容=\r\n页码格式=4\r\n起始页码=5\r\n页码位置=3\r\n"));

    PrintSettings loaded;
    ASSERT_TRUE(LoadPrintSettings(dir.path(), loaded));
    EXPECT_EQ(loaded.printHeader, 1);
    EXPECT_EQ(loaded.printPageNumber, 1);
    EXPECT_EQ(loaded.headerText, QStringLiteral("某检测中心"));
    EXPECT_EQ(loaded.pageNumberFormat, 4);
    EXPECT_EQ(loaded.firstPageNumber, 5);
    EXPECT_EQ(loaded.pageNumberPosition, 3);

    PrintSettingsDialog again(PrintSettingsToEdit(dir.path()));
    EXPECT_TRUE(again.HeaderCheck()->isChecked());
    EXPECT_FALSE(again.HeaderEdit()->isReadOnly());
    EXPECT_EQ(again.FormatCombo()->currentIndex(), 4);
    EXPECT_EQ(again.PositionCombo()->currentIndex(), 3);
    EXPECT_EQ(again.HeaderEdit()->text(), QStringLiteral("某检测中心"));
}

// A settings file that cannot be replaced is not lost silently: the caller hears why.
TEST(PrintSettingsFile, AFailedSaveSaysWhyAndKeepsWhatWasThere) {
    struct Case {
        const char* what;
        void (*make)(const QString& path);
        const char* cause;
    } cases[] = {
        {"folder", [](const QString& p) { QDir().mkdir(p); }, "it is a folder"},
        {"FIFO", [](const QString& p) { ::mkfifo(QFile::encodeName(p).constData(), 0600); },
         "not a regular file"},
    };
    for (const Case& k : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("printini.ini"));
        k.make(path);
        const SettingsOutcome saved = SavePrintSettings(dir.path() + '/', PrintSettings{});
        EXPECT_EQ(saved.code, SettingsCode::CannotSave) << k.what;
        EXPECT_NE(saved.text.find("printini.ini"), std::string::npos) << saved.text;
        EXPECT_NE(saved.text.find(k.cause), std::string::npos) << saved.text;
        QFileInfo info(path);
        EXPECT_FALSE(info.isFile()) << k.what << " was replaced";
        PrintSettings loaded;
        EXPECT_FALSE(LoadPrintSettings(dir.path() + '/', loaded)) << k.what;
    }
}

// The dialog starts from the values it is given and hands back what the controls hold.
TEST(PrintSettingsFile, DialogShowsAndReturnsItsValuesWithoutFiles) {
    QTemporaryDir dir;
    PrintSettings given;
    given.printFooter = 1;
    given.footerText = QStringLiteral("仅对来样负责");
    given.pageNumberFormat = 2;
    given.pageNumberPosition = 9;  // outside the list: no selection
    given.firstPageNumber = 3;
    PrintSettingsDialog dialog(given);
    EXPECT_TRUE(dialog.FooterCheck()->isChecked());
    EXPECT_FALSE(dialog.FooterEdit()->isReadOnly());
    EXPECT_EQ(dialog.FooterEdit()->text(), given.footerText);
    EXPECT_EQ(dialog.PositionCombo()->currentIndex(), -1);
    dialog.HeaderCheck()->setChecked(true);
    dialog.reject();
    const PrintSettings back = dialog.Values();
    EXPECT_EQ(back.printHeader, 1);
    EXPECT_EQ(back.printFooter, 1);
    EXPECT_EQ(back.footerText, given.footerText);
    EXPECT_EQ(back.pageNumberFormat, 2);
    EXPECT_EQ(back.pageNumberPosition, -1);
    EXPECT_EQ(back.firstPageNumber, 3);
    EXPECT_FALSE(QFile::exists(dir.filePath("printini.ini")));
}

}  // namespace
}  // namespace ohmlet
