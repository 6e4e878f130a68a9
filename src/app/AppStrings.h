#pragma once
// The program's fixed names.
#include <QString>

namespace ohmlet {

// The caption of every message box that has none of its own.
inline QString AppName() { return QStringLiteral("Velmar混凝土电阻率测试仪数据处理软件"); }
// Second half of the frame's title.
inline QString FrameTitle() { return QStringLiteral("混凝土电阻率测试仪数据分析软件"); }
inline QString UntitledName() { return QStringLiteral("无标题"); }
inline QString RegistryKey() { return QStringLiteral("Local AppWizard-Generated Applications"); }
inline QString SettingsApplication() { return QStringLiteral("Ohmlet"); }
inline QString MakerName() { return QStringLiteral("维尔马检测仪器有限公司"); }
inline QString MakerNameEnglish() { return QStringLiteral("Velmar Testing Instruments Co., Ltd."); }
inline QString HelpFileName() { return QStringLiteral("Ohmlet.html"); }

}  // namespace ohmlet
