#pragma once
// The model keeps GBK bytes; Unicode exists only at the edges (UI, CLI, JSON, Office).
#include <QString>
#include <string>
#include <string_view>

namespace ohmlet {

QString FromGbk(std::string_view gbk);
std::string ToGbk(const QString& text);

}  // namespace ohmlet
