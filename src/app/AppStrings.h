#pragma once
// The program's fixed names.
#include <QCoreApplication>
#include <QString>

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

}  // namespace ohmlet
