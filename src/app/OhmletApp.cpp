#include "app/OhmletApp.h"

#include <QFile>
#include <QMessageBox>
#include <QScreen>
#include <new>
#include "app/AppStrings.h"

#include "app/MainWindow.h"
#include "app/UiLanguage.h"
#include "data/Version.h"
#include "transfer/sim/UsbSimulation.h"

namespace ohmlet {

OhmletApp::OhmletApp(int& argc, char** argv)
    : QApplication(argc, argv), rawArguments_(argv, argv + argc) {
    setOrganizationName(RegistryKey());
    setApplicationName(SettingsApplication());
    setApplicationVersion(QString::fromLatin1(kVersion));
}

OhmletApp::~OhmletApp() = default;

bool OhmletApp::InitInstance() {
    QStringList args = arguments();
    // --simulate-usb FILE.DZL: USB1 becomes a simulated instrument holding that file.
    const int simulate = static_cast<int>(args.indexOf(QStringLiteral("--simulate-usb")));
    if (simulate > 0 && simulate + 1 < args.size()) {
        UseSimulatedUsb(QFile::encodeName(args.at(simulate + 1)).toStdString());
        args.remove(simulate, 2);
    }
    args = WithoutLanguageOption(args);
    frame_ = std::make_unique<MainWindow>(document_);
    if (args.size() > 1) {
        // The bytes the user typed, when Qt's reading of them would not give them back.
        std::string local = QFile::encodeName(args.at(1)).toStdString();
        for (const std::string& raw : rawArguments_)
            if (QFile::decodeName(QByteArray::fromStdString(raw)) == args.at(1)) local = raw;
        if (!frame_->OpenLocalFile(local)) return false;
    } else {
        frame_->NewDocument();
    }
    // Maximised where a window manager honours it; the whole screen where none does.
    if (QScreen* screen = primaryScreen()) frame_->setGeometry(screen->availableGeometry());
    frame_->showMaximized();
    // A chosen user table that cannot be used is said once the window is up.
    frame_->ReloadClassTable(true);
    return true;
}

bool OhmletApp::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
        QMessageBox::critical(frame_.get(), AppName(),
                              tr("内存不足，操作没有完成。文档保持原样。"));
        return false;
    }
}

}  // namespace ohmlet
