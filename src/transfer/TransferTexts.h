#pragma once
// The fixed texts of the instrument transfer, as the user sees them (UTF-8 here; the
// UI converts at its edge).
namespace ohmlet::transfer_texts {

inline constexpr char kNoData[] = "没有数据，请测试数据后再进行传输!";
inline constexpr char kTransferEnded[] = "数据传输结束!";
inline constexpr char kCannotOpenSerial[] = "不能打开串口!";

// USB link boxes carry this caption and the error icon.
inline constexpr char kUsbCaption[] = "DEBUG372";
inline constexpr char kUsbOpenFailed[] = "打开设备失败！";
inline constexpr char kUsbPipeFailed[] = "无法打开设备！";
inline constexpr char kUsbThreadFailed[] = "端点2线程启动失败";
inline constexpr char kUsbRequestFailed[] = "端点2下传失败！如果设备断开过那么请先关闭本程序";

// Our own additions: a reply we refuse to write, and a file we could not write.
inline constexpr char kBadReply[] = "接收的数据不完整，未写入数据文件!";
inline constexpr char kCannotWrite[] = "不能写入数据文件!";

// The dialog.
inline constexpr char kDialogTitle[] = "数据传输";
inline constexpr char kFileIsOpen[] = "该文件已经打开，请先关闭文件，然后进行传输!";
// Asked instead when the open file has no unsaved edits.
inline constexpr char kCloseAndContinue[] = "该文件已经打开。是否关闭该文件并继续传输？";
inline constexpr char kOverwriteQuestion[] = "数据文件已存在，确认要覆盖吗？";
inline constexpr char kOverwriteCaption[] = "提示";
inline constexpr char kTargetFileName[] = "DZLDat.DZL";

}  // namespace ohmlet::transfer_texts
