#include "COhmletApp.h"

#include "AppStrings.h"
#include "CMainFrame.h"

namespace ohmlet {

COhmletApp::COhmletApp(int& argc, char** argv) : QApplication(argc, argv) {
    setOrganizationName(RegistryKey());
    setApplicationName(SettingsApplication());
    setApplicationVersion(QStringLiteral("1.12"));
}

COhmletApp::~COhmletApp() = default;

bool COhmletApp::InitInstance() {
    frame_ = std::make_unique<CMainFrame>();
    const QStringList args = arguments();
    if (args.size() > 1) {
        if (!frame_->OpenDocumentFile(args.at(1))) return false;
    } else {
        frame_->NewDocument();
    }
    frame_->showMaximized();
    return true;
}

}  // namespace ohmlet
