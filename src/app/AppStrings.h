#pragma once
// The program's fixed names.
#include <QCoreApplication>
#include <QFileInfo>
#include <QString>

#include "app/UiLanguage.h"
#include "widgets/ProductName.h"

namespace ohmlet {

inline QString AppName() { return ProductName(); }
// Second half of the frame's title.
inline QString FrameTitle() { return ProductName(); }
inline QString UntitledName() {
    return QCoreApplication::translate("ohmlet::AppStrings", "无标题");
}
inline QString RegistryKey() { return QStringLiteral("Local AppWizard-Generated Applications"); }
inline QString SettingsApplication() { return QStringLiteral("Ohmlet"); }
inline QString MakerName() {
    return QCoreApplication::translate("ohmlet::AppStrings", "维尔马检测仪器有限公司");
}
inline QString MakerNameEnglish() { return QStringLiteral("Velmar Testing Instruments Co., Ltd."); }
inline QString HelpFileName() { return QStringLiteral("Ohmlet.html"); }
inline QString EnglishHelpFileName() { return QStringLiteral("Ohmlet_en.html"); }
// The guide in the window's language from the program's folder (ending in '/'). A tree
// without the English guide still has the Chinese one, which beats no help at all.
inline QString HelpFilePath(const QString& folder, UiLanguage language) {
    const QString english = folder + EnglishHelpFileName();
    if (language == UiLanguage::English && QFileInfo(english).isFile()) return english;
    return folder + HelpFileName();
}

}  // namespace ohmlet
