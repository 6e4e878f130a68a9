#pragma once
// Commands that draw (the report, maps, the Word file's pictures) need a GUI application
// for text layout, and none needs a display.
#include <QGuiApplication>
#include <memory>

namespace ohmlet::cli {

// A GUI application on the platform that lays out text without a display, unless one is
// running already (then nothing). Qt's own start-up chatter is kept off stderr.
std::unique_ptr<QGuiApplication> StartDrawing();

}  // namespace ohmlet::cli
