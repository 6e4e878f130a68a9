#pragma once
// The fixed texts of the instrument transfer, as the user sees them (UTF-8 here; the
// UI converts and translates at its edge, in the context "ohmlet::transfer_texts").
// Marked for the translation tools; the core builds without Qt, so the mark is ours
// when Qt's is not there.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, text) text
#endif

namespace ohmlet::transfer_texts {

inline constexpr char kNoData[] =
    QT_TRANSLATE_NOOP("ohmlet::transfer_texts", "没有数据，请测试数据后再进行传输!");
inline constexpr char kTransferEnded[] =
    QT_TRANSLATE_NOOP("ohmlet::transfer_texts", "数据传输结束!");
inline constexpr char kCannotOpenSerial[] =
    QT_TRANSLATE_NOOP("ohmlet::transfer_texts", "不能打开串口!");

// USB link boxes carry the product name as caption and the error icon.
inline constexpr char kUsbOpenFailed[] =
    QT_TRANSLATE_NOOP("ohmlet::transfer_texts", "打开设备失败！");
inline constexpr char kUsbPipeFailed[] =
    QT_TRANSLATE_NOOP("ohmlet::transfer_texts", "无法打开设备！");
inline constexpr char kUsbThreadFailed[] =
    QT_TRANSLATE_NOOP("ohmlet::transfer_texts", "端点2线程启动失败");
inline constexpr char kUsbRequestFailed[] =
    QT_TRANSLATE_NOOP("ohmlet::transfer_texts", "端点2下传失败！如果设备断开过那么请先关闭本程序");

// Our own additions: a reply we refuse to write, and a file we could not write.
inline constexpr char kBadReply[] =
    QT_TRANSLATE_NOOP("ohmlet::transfer_texts", "接收的数据不完整，未写入数据文件!");
inline constexpr char kCannotWrite[] =
    QT_TRANSLATE_NOOP("ohmlet::transfer_texts", "不能写入数据文件!");

// The dialog.
inline constexpr char kDialogTitle[] = QT_TRANSLATE_NOOP("ohmlet::transfer_texts", "数据传输");
inline constexpr char kFileIsOpen[] =
    QT_TRANSLATE_NOOP("ohmlet::transfer_texts", "该文件已经打开，请先关闭文件，然后进行传输!");
// Asked instead when the open file has no unsaved edits.
inline constexpr char kCloseAndContinue[] =
    QT_TRANSLATE_NOOP("ohmlet::transfer_texts", "该文件已经打开。是否关闭该文件并继续传输？");
inline constexpr char kOverwriteQuestion[] =
    QT_TRANSLATE_NOOP("ohmlet::transfer_texts", "数据文件已存在，确认要覆盖吗？");
inline constexpr char kOverwriteCaption[] = QT_TRANSLATE_NOOP("ohmlet::transfer_texts", "提示");
inline constexpr char kTargetFileName[] = "DZLDat.DZL";

}  // namespace ohmlet::transfer_texts
