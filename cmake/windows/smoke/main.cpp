// Proves a cross-built Windows prefix under wine: Qt's widgets, images and PDF printing,
// the system's GBK code page, and the static C libraries working together.
//   smoke [--grab FILE.png] [--quit-after MS]
// Prints one line per check and exits 0 when all pass.
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QStringDecoder>
#include <QTimer>

#include <libusb.h>
#include <xlsxwriter.h>
#include <zip.h>
#include <zlib.h>
#include <pugixml.hpp>

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

struct Check {
    QString name;
    bool ok;
    QString detail;
};

const QString kChinese = QStringLiteral("中文");

// Qt built without ICU has no GBK codec, so the program falls back to code page 936.
Check codePage936() {
    const char gbk[] = "\xD6\xD0\xCE\xC4";
    wchar_t wide[8] = {};
    const int n = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, gbk, 4, wide, 8);
    const QString text = QString::fromWCharArray(wide, n);
    return {"code page 936", text == kChinese, text};
}

QString tempFile(const char* name) { return QDir::temp().filePath(QString::fromLatin1(name)); }

bool writeWorkbook(const QString& path) {
    lxw_workbook* book = workbook_new(QDir::toNativeSeparators(path).toLocal8Bit().constData());
    if (!book) return false;
    worksheet_write_string(workbook_add_worksheet(book, nullptr), 0, 0,
                           kChinese.toUtf8().constData(), nullptr);
    return workbook_close(book) == LXW_NO_ERROR;
}

// libxlsxwriter (with its zip writer over zlib) writes, libzip reads back, pugixml parses.
Check officeChain() {
    const QString path = tempFile("smoke.xlsx");
    if (!writeWorkbook(path))
        return {"xlsx -> zip -> xml", false, "libxlsxwriter could not write " + path};
    int error = 0;
    zip_t* archive =
        zip_open(QDir::toNativeSeparators(path).toLocal8Bit().constData(), ZIP_RDONLY, &error);
    if (!archive) return {"xlsx -> zip -> xml", false, QString("libzip error %1").arg(error)};
    std::vector<char> xml;
    zip_stat_t stat;
    if (zip_stat(archive, "xl/sharedStrings.xml", 0, &stat) == 0) {
        xml.resize(stat.size);
        zip_file_t* file = zip_fopen(archive, "xl/sharedStrings.xml", 0);
        if (file && zip_fread(file, xml.data(), stat.size) != zip_int64_t(stat.size)) xml.clear();
        if (file) zip_fclose(file);
    }
    const zip_int64_t entries = zip_get_num_entries(archive, 0);
    zip_close(archive);
    QFile::remove(path);
    pugi::xml_document doc;
    const bool parsed = doc.load_buffer(xml.data(), xml.size());
    const QString text = QString::fromUtf8(doc.select_node("//t").node().child_value());
    return {"xlsx -> zip -> xml", parsed && text == kChinese,
            QString("%1 entries, shared string \"%2\"").arg(entries).arg(text)};
}

Check usb() {
    libusb_context* context = nullptr;
    const int rc = libusb_init(&context);
    if (rc != 0) return {"libusb", false, QString("libusb_init: %1").arg(libusb_strerror(rc))};
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(context, &list);
    if (count >= 0) libusb_free_device_list(list, 1);
    libusb_exit(context);
    return {"libusb", count >= 0, QString("%1 devices").arg(count)};
}

Check images() {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(Qt::red);
    QStringList failed;
    for (const char* format : {"PNG", "JPEG"}) {
        QBuffer buffer;
        buffer.open(QIODevice::ReadWrite);
        QImage back;
        if (!image.save(&buffer, format) || !back.loadFromData(buffer.data(), format) ||
            back.size() != image.size())
            failed << format;
    }
    return {"PNG and JPEG", failed.isEmpty(), failed.isEmpty() ? "round trip" : failed.join(' ')};
}

Check pdf() {
    const QString path = tempFile("smoke.pdf");
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        QPainter painter(&printer);
        painter.drawText(QPointF(100, 100), kChinese);
    }
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    const QByteArray head = opened ? file.read(5) : QByteArray();
    const qint64 size = file.size();
    file.close();
    QFile::remove(path);
    return {"PDF printing", head == "%PDF-" && size > 1000, QString("%1 bytes").arg(size)};
}

QString summary(const std::vector<Check>& checks) {
    QStringList lines;
    lines << QString("Qt %1, platform %2, font %3")
                 .arg(qVersion(), QGuiApplication::platformName(), QApplication::font().family());
    lines << QString("QStringDecoder(\"GBK\"): %1")
                 .arg(QStringDecoder("GBK").isValid() ? "valid" : "invalid (no ICU)");
    lines << QString("zlib %1, libzip %2, libxlsxwriter %3, libusb %4.%5.%6")
                 .arg(zlibVersion(), zip_libzip_version(), lxw_version())
                 .arg(libusb_get_version()->major)
                 .arg(libusb_get_version()->minor)
                 .arg(libusb_get_version()->micro);
    for (const Check& check : checks)
        lines << QString("%1: %2 (%3)").arg(check.name, check.ok ? "ok" : "FAILED", check.detail);
    return lines.join('\n');
}

QMainWindow* makeWindow(const QString& text) {
    auto* window = new QMainWindow;
    window->setWindowTitle(QStringLiteral("Ohmlet 冒烟测试"));
    QMenu* file = window->menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->addAction(QStringLiteral("打开(&O)..."));
    file->addAction(QStringLiteral("退出(&X)"), qApp, &QApplication::quit);
    window->menuBar()->addMenu(QStringLiteral("帮助(&H)"))->addAction(QStringLiteral("关于(&A)"));
    auto* label = new QLabel(QStringLiteral("混凝土电阻率 你好\n\n") + text);
    label->setMargin(16);
    window->setCentralWidget(label);
    window->resize(640, 360);
    return window;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qsizetype grabAt = args.indexOf("--grab");
    const qsizetype quitAt = args.indexOf("--quit-after");
    const QString grabFile = grabAt > 0 && grabAt + 1 < args.size() ? args[grabAt + 1] : QString();
    const int quitAfter = quitAt > 0 && quitAt + 1 < args.size() ? args[quitAt + 1].toInt() : 3000;

    const std::vector<Check> checks = {codePage936(), officeChain(), usb(), images(), pdf()};
    bool allOk = true;
    for (const Check& check : checks) allOk = allOk && check.ok;
    const QString text = summary(checks);
    std::printf("%s\n", text.toUtf8().constData());

    QMainWindow* window = makeWindow(text);
    window->show();
    QTimer::singleShot(1000, window, [window, grabFile, &allOk] {
        if (!grabFile.isEmpty() && !window->grab().save(grabFile, "PNG")) allOk = false;
        std::printf("shown\n");
        std::fflush(stdout);
    });
    QTimer::singleShot(quitAfter, &app, &QApplication::quit);
    app.exec();
    delete window;
    return allOk ? 0 : 1;
}
