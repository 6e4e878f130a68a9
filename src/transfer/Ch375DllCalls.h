#pragma once
// The calls of the chip maker's CH375DLL.DLL that the Ch375 interface maps to, declared
// here from what the interface needs: we never ship the maker's library or its header.
// Shared with the stand-in library the Windows tests load in its place.
#include <windows.h>

namespace ohmlet::ch375dll {

// INVALID_HANDLE_VALUE when the device cannot be opened; GetLastError says why.
using OpenDeviceCall = HANDLE(WINAPI*)(ULONG index);
using CloseDeviceCall = VOID(WINAPI*)(ULONG index);
// The device's name as a NUL-terminated string, or null when it is not open.
using GetDeviceNameCall = PVOID(WINAPI*)(ULONG index);
// length: in, the bytes to send or the room there is; out, the bytes moved.
using WriteDataCall = BOOL(WINAPI*)(ULONG index, PVOID buffer, PULONG length);
using ReadDataCall = BOOL(WINAPI*)(ULONG index, PVOID buffer, PULONG length);
using AbortWriteCall = BOOL(WINAPI*)(ULONG index);
using AbortReadCall = BOOL(WINAPI*)(ULONG index);
// Not required: without it the driver's own time-outs apply.
using SetTimeoutCall = BOOL(WINAPI*)(ULONG index, ULONG writeMs, ULONG readMs);

inline constexpr char kOpenDevice[] = "CH375OpenDevice";
inline constexpr char kCloseDevice[] = "CH375CloseDevice";
inline constexpr char kGetDeviceName[] = "CH375GetDeviceName";
inline constexpr char kWriteData[] = "CH375WriteData";
inline constexpr char kReadData[] = "CH375ReadData";
inline constexpr char kAbortWrite[] = "CH375AbortWrite";
inline constexpr char kAbortRead[] = "CH375AbortRead";
inline constexpr char kSetTimeout[] = "CH375SetTimeout";

}  // namespace ohmlet::ch375dll
