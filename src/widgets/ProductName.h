#pragma once
// The product's one name, in the window's language: the frame's title, the about box and
// the caption of every message box without one of its own.
#include <QCoreApplication>
#include <QString>

namespace ohmlet {

inline QString ProductName() {
    return QCoreApplication::translate("ohmlet::AppStrings", "混凝土电阻率测试仪数据分析软件");
}

}  // namespace ohmlet
