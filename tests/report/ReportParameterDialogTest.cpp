#include "dialogs/ReportParameterDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include "dialogs/ReportParameterPage.h"
#include "dialogs/SettingsMessage.h"
#include "report/GbkCodec.h"
#include "report/IniFile.h"

namespace ohmlet {
namespace {

class ReportParameterDialogTest : public ::testing::Test {
protected:
    QString Folder() const { return dir_.path() + "/"; }
    bool Exists(const char* name) const { return QFile::exists(dir_.filePath(name)); }
    QByteArray FileBytes(const char* name) const {
        QFile f(dir_.filePath(name));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    ReportParameters Load() const { return LoadReportParameters(Folder()); }
    // What the program does on OK: the dialog returns its values and they are saved.
    void Ok(ReportParameterDialog& dialog) const {
        dialog.accept();
        const SettingsOutcome saved = SaveReportParameters(Folder(), dialog.Values());
        EXPECT_TRUE(saved.Ok()) << saved.text;
    }
    static void Type(ReportParameterPage* page, const char* key, const QString& text) {
        page->TextField(QString::fromUtf8(key))->setText(text);
    }
    static QString Shown(ReportParameterPage* page, const char* key) {
        return page->TextField(QString::fromUtf8(key))->text();
    }
    QTemporaryDir dir_;
};

// A distinct value for every field of a layout, entered through the controls.
void FillPage(ReportParameterPage* page, int seed) {
    int n = 0;
    for (const ReportField& f : page->Info().fileOrder) {
        const QString key = QString::fromUtf8(f.key);
        ++n;
        switch (f.kind) {
            case FieldKind::Text:
                page->TextField(key)->setText(QStringLiteral("值%1-%2 =x").arg(seed).arg(n));
                break;
            case FieldKind::Date:
                page->DateField(key)->setDate(QDate(2015, 1 + n % 12, 1 + (n * 3 + seed) % 28));
                break;
            case FieldKind::Grade:
                page->GradeField(key)->setCurrentIndex(4);  // C35
                break;
        }
    }
}

TEST_F(ReportParameterDialogTest, EveryLayoutRoundTripsThroughItsFile) {
    for (int layout = 0; layout < kReportLayoutCount; ++layout) {
        const ReportLayoutInfo& info = *ReportLayoutInfoAt(layout);
        SCOPED_TRACE(info.comboItem);
        {
            ReportParameterDialog dialog(Load());
            dialog.LayoutCombo()->setCurrentIndex(layout);
            FillPage(dialog.Page(layout), layout);
            Ok(dialog);
        }
        // The file holds [Data], then the keys in file order, then 报告格式 for layout 1.
        IniFile file;
        file.SetPath(Folder().toStdString());
        file.SetFileName(info.baseName);
        ASSERT_TRUE(file.OpenForRead());
        file.Close();
        QList<QByteArray> lines =
            FileBytes((std::string(info.baseName) + ".ini").c_str()).split('\n');
        ASSERT_EQ(lines.size(), static_cast<int>(info.fileOrder.size()) + 2 + (layout == 0));
        EXPECT_EQ(lines[0], "[Data]\r");
        for (std::size_t i = 0; i < info.fileOrder.size(); ++i)
            EXPECT_TRUE(lines[static_cast<int>(i) + 1].startsWith(
                QByteArray::fromStdString(ToGbk(QString::fromUtf8(info.fileOrder[i].key)) + "=")))
                << i;
        if (layout == 0) {
            EXPECT_EQ(lines[static_cast<int>(info.fileOrder.size()) + 1],
                      QByteArray::fromStdString(ToGbk(QStringLiteral("报告格式")) + "=0\r"));
        }

        ReportParameterDialog reopened(Load());
        EXPECT_EQ(reopened.LayoutCombo()->currentIndex(), layout);
        ReportParameterPage* page = reopened.Page(layout);
        EXPECT_FALSE(page->isHidden());
        int n = 0;
        for (const ReportField& f : info.fileOrder) {
            const QString key = QString::fromUtf8(f.key);
            ++n;
            if (f.kind == FieldKind::Text)
                EXPECT_EQ(page->TextField(key)->text(),
                          QStringLiteral("值%1-%2 =x").arg(layout).arg(n));
            else if (f.kind == FieldKind::Date)
                EXPECT_EQ(page->DateField(key)->date(),
                          QDate(2015, 1 + n % 12, 1 + (n * 3 + layout) % 28));
            else
                EXPECT_EQ(page->GradeField(key)->currentText(), QStringLiteral("C35"));
        }
    }
}

TEST_F(ReportParameterDialogTest, DateIsStoredInTheBlankPaddedForm) {
    {
        ReportParameterDialog dialog(Load());
        dialog.LayoutCombo()->setCurrentIndex(0);
        dialog.Page(0)->DateField(QStringLiteral("报告日期"))->setDate(QDate(2015, 3, 5));
        Ok(dialog);
    }
    EXPECT_TRUE(FileBytes("report1ini.ini")
                    .contains(QByteArray::fromStdString(
                        ToGbk(QStringLiteral("报告日期=2015年 3月 5日\r\n")))));
}

TEST_F(ReportParameterDialogTest, FirstRunShowsTheReportsLayoutAndOkSavesEveryPage) {
    ReportParameterDialog dialog(Load());
    // The printed report's layout is shown, and every control can be reached.
    EXPECT_EQ(dialog.LayoutCombo()->currentIndex(), 0);
    for (int i = 0; i < kReportLayoutCount; ++i) EXPECT_EQ(dialog.Page(i)->isHidden(), i != 0);
    dialog.show();
    EXPECT_FALSE(
        dialog.ChartPageCheck()->geometry().intersects(dialog.ClassSummaryCheck()->geometry()));
    dialog.LayoutCombo()->setCurrentIndex(2);
    EXPECT_FALSE(dialog.Page(2)->isHidden());
    Type(dialog.Page(3), "工程名称", "typed on 4");
    Ok(dialog);
    for (int i = 0; i < kReportLayoutCount; ++i)
        EXPECT_TRUE(Exists((std::string(ReportLayoutInfoAt(i)->baseName) + ".ini").c_str())) << i;
    EXPECT_TRUE(FileBytes("report4ini.ini").contains("typed on 4"));
    EXPECT_EQ(
        FileBytes("reportini.ini"),
        QByteArray::fromStdString("[Data]\r\n" + ToGbk(QStringLiteral("报告格式")) + "=2\r\n"));
}

TEST_F(ReportParameterDialogTest, NeverSetFieldsShowTheReportDefaultsAndNoGuessedDate) {
    ReportParameterDialog dialog(Load());
    for (int layout = 0; layout < kReportLayoutCount; ++layout) {
        for (const ReportField& f : ReportLayoutInfoAt(layout)->fileOrder) {
            const QString key = QString::fromUtf8(f.key);
            SCOPED_TRACE(f.key);
            if (f.kind == FieldKind::Date) {
                // Only the report's own date is today; the others say they were not given.
                QDateEdit* date = dialog.Page(layout)->DateField(key);
                const bool report = key == QStringLiteral("报告日期");
                EXPECT_EQ(date->date() == QDate::currentDate(), report);
                EXPECT_EQ(date->text() == date->specialValueText(), !report);
            } else if (f.kind == FieldKind::Text) {
                EXPECT_EQ(dialog.Page(layout)->TextField(key)->text(),
                          DefaultReportParameter(layout + 1, key));
            }
        }
    }
    EXPECT_EQ(Shown(dialog.Page(0), "检测仪器"), QStringLiteral("混凝土电阻率测试仪"));
    EXPECT_TRUE(Shown(dialog.Page(0), "检测方法").contains(QStringLiteral("四电极")));
    EXPECT_FALSE(Shown(dialog.Page(0), "检测依据").isEmpty());
    EXPECT_TRUE(Shown(dialog.Page(1), "检测仪器").isEmpty());  // only the printed layout has them
}

TEST_F(ReportParameterDialogTest, LayoutOneComesBackEvenWithoutReportini) {
    {
        ReportParameterDialog dialog(Load());
        dialog.LayoutCombo()->setCurrentIndex(0);
        Type(dialog.Page(0), "工程名称", QStringLiteral("新楼"));
        Ok(dialog);
    }
    ASSERT_TRUE(QFile::remove(dir_.filePath("reportini.ini")));
    ReportParameterDialog reopened(Load());
    EXPECT_EQ(reopened.LayoutCombo()->currentIndex(), 0);
    EXPECT_FALSE(reopened.Page(0)->isHidden());
    EXPECT_EQ(Shown(reopened.Page(0), "工程名称"), QStringLiteral("新楼"));
}

TEST_F(ReportParameterDialogTest, EveryPageKeepsItsEditsAcrossSwitchesAndOkSavesThemAll) {
    {
        ReportParameterDialog dialog(Load());
        dialog.LayoutCombo()->setCurrentIndex(0);
        Type(dialog.Page(0), "工程名称", "saved");
        Ok(dialog);
    }
    ReportParameterDialog dialog(Load());
    for (int layout = 0; layout < kReportLayoutCount; ++layout) {
        dialog.LayoutCombo()->setCurrentIndex(layout);
        Type(dialog.Page(layout), "工程名称", QStringLiteral("typed %1").arg(layout));
    }
    // Back through every page, each shown once more in turn: nothing was reloaded.
    for (int layout = kReportLayoutCount - 1; layout >= 0; --layout) {
        dialog.LayoutCombo()->setCurrentIndex(layout);
        EXPECT_FALSE(dialog.Page(layout)->isHidden());
        EXPECT_EQ(Shown(dialog.Page(layout), "工程名称"), QStringLiteral("typed %1").arg(layout));
    }
    dialog.LayoutCombo()->setCurrentIndex(4);
    Ok(dialog);
    ReportParameterDialog reopened(Load());
    EXPECT_EQ(reopened.LayoutCombo()->currentIndex(), 4);
    for (int layout = 0; layout < kReportLayoutCount; ++layout)
        EXPECT_EQ(Shown(reopened.Page(layout), "工程名称"), QStringLiteral("typed %1").arg(layout));
}

// OK and Cancel only end the dialog: it returns what was typed and never writes a file.
TEST_F(ReportParameterDialogTest, OkAndCancelWriteNothingThemselves) {
    struct Case {
        bool accept;
        QDialog::DialogCode result;
    } cases[] = {{true, QDialog::Accepted}, {false, QDialog::Rejected}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.accept ? "OK" : "Cancel");
        ReportParameterDialog dialog(Load());
        dialog.LayoutCombo()->setCurrentIndex(1);
        Type(dialog.Page(1), "工程名称", "x");
        c.accept ? dialog.accept() : dialog.reject();
        EXPECT_EQ(dialog.result(), c.result);
        EXPECT_FALSE(Exists("report2ini.ini"));
        EXPECT_FALSE(Exists("reportini.ini"));
        const ReportParameters values = dialog.Values();
        EXPECT_EQ(values.chosenLayout, 1);
        EXPECT_EQ(values.layouts[1].texts.at(QStringLiteral("工程名称")), QStringLiteral("x"));
    }
}

// Settings that could not be saved are shown, all of them in one message; a save that
// went well shows nothing.
TEST(SettingsMessage, ShowsEveryFailedFileAndNothingOtherwise) {
    struct Case {
        const char* what;
        SettingsOutcome outcome;
        QString shown;  // empty: no message
    } cases[] = {
        {"saved", {}, QString()},
        {"one file",
         {SettingsCode::CannotSave, "Cannot save /x/printini.ini: it is a folder.", ""},
         QStringLiteral("Cannot save /x/printini.ini: it is a folder.")},
        {"two files",
         {SettingsCode::CannotSave, "Cannot save a.ini.\nCannot save b.ini.", "EIO"},
         QStringLiteral("Cannot save a.ini.\nCannot save b.ini.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QString shown;
        QTimer closer;
        closer.setInterval(20);
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->close();
            }
        });
        closer.start();
        ShowSettingsOutcome(nullptr, QStringLiteral("报告参数"), c.outcome);
        closer.stop();
        EXPECT_EQ(shown, c.shown);
    }
}

}  // namespace
}  // namespace ohmlet
