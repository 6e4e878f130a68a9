// The frame's commands that hand the document to the report and Office writers.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <utility>
#include <vector>

#include "FrameFixture.h"
#include "app/CommandIds.h"
#include "data/DzlFile.h"
#include "report/office/ExcelWorkbookWriter.h"
#include "report/office/OfficeFolder.h"
#include "report/office/WordTableWriter.h"
#include "views/ComponentListModel.h"
#include "views/ControlPanel.h"

using namespace ohmlet;
using namespace ohmlet::test;

namespace {

class ToolCommandsTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        frame->SetProgramFolder(QStringLiteral(OHMLET_PROGRAM_DIR));
        frame->SetFileOpener([this](const QString& path) {
            opened.push_back(path);
            return openerWorks;
        });
    }
    std::vector<QString> opened;
    bool openerWorks = true;
};

QByteArray Head(const QString& path, int n) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(n) : QByteArray();
}

// Word and Excel: written to a new file in the user's private output folder, then shown by
// the desktop's program; with nothing to write nothing happens (and nothing is left there),
// and a file nobody can show is reported with its path.
TEST_F(ToolCommandsTest, OfficeFilesAreWrittenThenOpened) {
    struct Case {
        int command;
        QString suffix;
        const char* failureText;
    } cases[] = {
        {cmd::kWordReport, QStringLiteral(".docx"), "创建Word2000服务失败!"},
        {cmd::kExcelExport, QStringLiteral(".xlsx"), "创建Excel服务失败!"},
    };
    const QString folder = OfficeOutputFolder();
    ASSERT_FALSE(folder.isEmpty());
    const QStringList before = QDir(folder).entryList(QDir::Files);
    for (const Case& k : cases) {
        opened.clear();
        errors.clear();
        frame->Action(k.command)->trigger();
        EXPECT_TRUE(opened.empty()) << k.command << ": an empty document writes nothing";
        EXPECT_TRUE(errors.empty()) << k.command;
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), before);
    Open({MakeComponent("0001", {45, 46}, 1, Gbk("梁1")), MakeComponent("0002", {0}, 1)});
    for (const Case& k : cases) {
        opened.clear();
        errors.clear();
        openerWorks = true;
        frame->Action(k.command)->trigger();
        ASSERT_EQ(opened.size(), 1u)
            << k.command << (errors.empty() ? "" : errors[0].toStdString());
        const QFileInfo written(opened[0]);
        EXPECT_EQ(written.absolutePath(), folder);
        EXPECT_TRUE(written.fileName().startsWith(QStringLiteral("数据表格")));
        EXPECT_TRUE(written.fileName().endsWith(k.suffix));
        EXPECT_EQ(Head(opened[0], 2), QByteArray("PK")) << "a zip package";
        EXPECT_TRUE(errors.empty());
        QFile::remove(opened[0]);

        openerWorks = false;
        opened.clear();
        frame->Action(k.command)->trigger();
        ASSERT_EQ(errors.size(), 1u) << k.command;
        EXPECT_TRUE(errors[0].startsWith(QString::fromUtf8(k.failureText)))
            << errors[0].toStdString();
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_TRUE(errors[0].contains(QFileInfo(opened[0]).fileName()));
        QFile::remove(opened[0]);
    }
}

// A document that cannot be written is reported once, nothing is opened, and the data
// stay as they were: Word without its template, Excel where every folder it could write
// into is a file.
TEST_F(ToolCommandsTest, OfficeFileThatCannotBeWrittenIsReportedAndTheDataStay) {
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    const char* const folders[] = {"TMPDIR", "XDG_RUNTIME_DIR", "XDG_CACHE_HOME", "HOME"};
    std::vector<std::pair<bool, QByteArray>> saved;
    for (const char* name : folders)
        saved.emplace_back(qEnvironmentVariableIsSet(name), qgetenv(name));
    struct Case {
        int command;
        const char* failureText;
        QString programFolder;
        QString tmp;
    } cases[] = {
        {cmd::kWordReport, "创建Word2000服务失败!", empty.path(), QString()},
        {cmd::kExcelExport, "创建Excel服务失败!", QStringLiteral(OHMLET_PROGRAM_DIR),
         empty.filePath(QStringLiteral("file"))},
    };
    // A temporary "folder" that is a file: nothing can be written into it, even as root.
    QFile file(empty.filePath(QStringLiteral("file")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    Open({MakeComponent("0001", {45, 46}, 1, Gbk("梁1")), MakeComponent("0002", {0}, 1)});
    const std::vector<unsigned char> before = SerializeDzl(Doc().Components());
    for (const Case& k : cases) {
        frame->SetProgramFolder(k.programFolder);
        if (!k.tmp.isEmpty())
            for (const char* name : folders) qputenv(name, k.tmp.toLocal8Bit());
        opened.clear();
        errors.clear();
        frame->Action(k.command)->trigger();
        for (std::size_t i = 0; i < saved.size(); ++i) {
            if (saved[i].first)
                qputenv(folders[i], saved[i].second);
            else
                qunsetenv(folders[i]);
        }
        EXPECT_TRUE(opened.empty()) << k.command;
        ASSERT_EQ(errors.size(), 1u) << k.command;
        EXPECT_TRUE(errors[0].startsWith(QString::fromUtf8(k.failureText)))
            << errors[0].toStdString();
        EXPECT_EQ(SerializeDzl(Doc().Components()), before) << k.command;
        EXPECT_FALSE(Doc().IsModified()) << k.command;
    }
}

// Every XML part of a zip package, one after the other.
QString PackageText(const QString& path) {
    QProcess unzip;
    unzip.start(QStringLiteral("/usr/bin/python3"),
                {QStringLiteral("-c"),
                 QStringLiteral("import sys, zipfile\n"
                                "z = zipfile.ZipFile(sys.argv[1])\n"
                                "for n in z.namelist():\n"
                                "    sys.stdout.write(z.read(n).decode('utf-8', 'replace'))\n"),
                 path});
    unzip.waitForFinished();
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

// Word and Excel take the ticks as the list shows them, whichever runs first.
TEST_F(ToolCommandsTest, WordAndExcelTakeTheTicksAsShown) {
    for (int command : {cmd::kWordReport, cmd::kExcelExport}) {
        if (Doc().IsModified()) answers.push_back(QMessageBox::No);  // a tick is an edit
        Open({MakeComponent("0001", {45, 46}, 1), MakeComponent("0002", {7771}, 1)});
        QAbstractItemModel* list = frame->Panel()->List()->model();
        for (bool ticked : {false, true}) {
            ASSERT_TRUE(list->setData(list->index(1, 0), ticked ? Qt::Checked : Qt::Unchecked,
                                      Qt::CheckStateRole));
            EXPECT_EQ(Doc().Components()[1].selected, ticked ? 1 : 0);
            EXPECT_TRUE(frame->isWindowModified()) << command;
            opened.clear();
            frame->Action(command)->trigger();
            // Each output gets a new name: read the file the command handed to the opener.
            ASSERT_EQ(opened.size(), 1u) << command;
            const QString text = PackageText(opened.back());
            ASSERT_TRUE(text.contains(QStringLiteral("46"))) << command;
            EXPECT_EQ(text.contains(QStringLiteral("7771")), ticked)
                << command << (ticked ? " ticked" : " unticked");
        }
    }
}

TEST_F(ToolCommandsTest, ExportPdfWritesTheReportOfTheCheckedComponents) {
    Open({MakeComponent("0001", {20, 21, 22}, 1)});
    nextFileName = dir.filePath(QStringLiteral("report.pdf"));
    frame->Action(cmd::kExportPdf)->trigger();
    EXPECT_EQ(askedCommands.back(), cmd::kExportPdf);
    EXPECT_EQ(Head(nextFileName, 5), QByteArray("%PDF-"));
    EXPECT_TRUE(errors.empty());

    nextFileName = dir.filePath(QStringLiteral("no/such/folder/report.pdf"));
    frame->Action(cmd::kExportPdf)->trigger();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("report.pdf")));
}

}  // namespace
