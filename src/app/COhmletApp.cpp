#include "COhmletApp.h"

#include <QFile>
#include <QScreen>
#include "AppStrings.h"

#include "CMainFrame.h"
#include "UsbSimulation.h"

namespace ohmlet {

COhmletApp::COhmletApp(int& argc, char** argv) : QApplication(argc, argv) {
    setOrganizationName(RegistryKey());
    setApplicationName(SettingsApplication());
    setApplicationVersion(QStringLiteral("1.12"));
}

COhmletApp::~COhmletApp() = default;

bool COhmletApp::InitInstance() {
    QStringList args = arguments();
    // --simulate-usb FILE.DZL: USB1 becomes a simulated instrument holding that file.
    const int simulate = static_cast<int>(args.indexOf(QStringLiteral("--simulate-usb")));
    if (simulate > 0 && simulate + 1 < args.size()) {
        UseSimulatedUsb(QFile::encodeName(args.at(simulate + 1)).toStdString());
        args.remove(simulate, 2);
    }
    frame_ = std::make_unique<CMainFrame>();
    if (args.size() > 1) {
        if (!frame_->OpenDocumentFile(args.at(1))) return false;
    } else {
        frame_->NewDocument();
    }
    // Maximised where a window manager honours it; the whole screen where none does.
    if (QScreen* screen = primaryScreen()) frame_->setGeometry(screen->availableGeometry());
    frame_->showMaximized();
    return true;
}

}  // namespace ohmlet
