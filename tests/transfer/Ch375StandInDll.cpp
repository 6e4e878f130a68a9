// A stand-in for the chip maker's CH375DLL.DLL, for tests under wine: the same calls,
// answered by the simulated instrument. It serves the DZL file named by
// CH375_STANDIN_DZL, else examples\example.DZL beside this library.
// Built a second time without CH375ReadData, to try a library that lacks a call.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <type_traits>

#include "data/DzlFile.h"
#include "transfer/Ch375DllCalls.h"
#include "transfer/ReplyEncoder.h"
#include "transfer/sim/SimulatedCh375.h"

namespace {

using ohmlet::LinkResult;
using ohmlet::LinkStatus;

std::mutex chipMutex;
std::unique_ptr<ohmlet::SimulatedCh375> chip;
char deviceName[64];

std::string Utf8(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

std::string SourceFile() {
    wchar_t chosen[MAX_PATH] = {};
    DWORD n = GetEnvironmentVariableW(L"CH375_STANDIN_DZL", chosen, MAX_PATH);
    if (n > 0 && n < MAX_PATH) return Utf8(chosen);
    HMODULE self = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&SourceFile), &self);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(self, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    return Utf8(folder + L"examples\\example.DZL");
}

// The instrument, made at the first open from the file as it is then.
LinkResult MakeChip() {
    const std::string source = SourceFile();
    ohmlet::DzlReadResult file = ohmlet::ReadDzlFile(source);
    if (!file.Ok()) return {LinkStatus::NoSuchDevice, {}, source + ": " + file.text};
    ohmlet::EncodedReply reply = ohmlet::EncodeUsbReply(file.components);
    if (!reply.Ok()) return {LinkStatus::Failed, {}, source + ": " + reply.cause};
    auto image = ohmlet::MakeUsbDeviceImage(reply.bytes);
    if (!image) return {LinkStatus::Failed, {}, source + ": too large for the instrument"};
    chip = std::make_unique<ohmlet::SimulatedCh375>(*image);
    return {};
}

// How a driver would say it: the system's error codes.
DWORD ErrorFor(LinkStatus status) {
    switch (status) {
        case LinkStatus::Ok:
            return ERROR_SUCCESS;
        case LinkStatus::NoSuchDevice:
            return ERROR_DEVICE_NOT_CONNECTED;
        case LinkStatus::PermissionDenied:
            return ERROR_ACCESS_DENIED;
        case LinkStatus::InUse:
            return ERROR_SHARING_VIOLATION;
        case LinkStatus::TimedOut:
            return ERROR_SEM_TIMEOUT;
        case LinkStatus::Aborted:
            return ERROR_OPERATION_ABORTED;
        case LinkStatus::Failed:
            break;
    }
    return ERROR_GEN_FAILURE;
}

BOOL Answer(const LinkResult& result) {
    if (result.Ok()) return TRUE;
    std::fprintf(stderr, "CH375DLL stand-in: %s\n", result.cause.c_str());
    SetLastError(ErrorFor(result.code));
    return FALSE;
}

ohmlet::SimulatedCh375* Chip() {
    std::lock_guard<std::mutex> lock(chipMutex);
    return chip.get();
}

template <typename Move>
BOOL Transfer(PULONG length, Move move) {
    ohmlet::SimulatedCh375* device = Chip();
    if (!device || !length) return Answer({LinkStatus::NoSuchDevice, {}, "not open"});
    std::size_t count = *length;
    LinkResult result = move(*device, count);
    *length = static_cast<ULONG>(count);
    return Answer(result);
}

}  // namespace

extern "C" {

__declspec(dllexport) HANDLE WINAPI CH375OpenDevice(ULONG index) {
    std::lock_guard<std::mutex> lock(chipMutex);
    LinkResult result = chip ? LinkResult{} : MakeChip();
    if (result.Ok()) result = chip->OpenDevice(index);
    if (!Answer(result)) return INVALID_HANDLE_VALUE;
    return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(index) + 1);
}

__declspec(dllexport) VOID WINAPI CH375CloseDevice(ULONG index) {
    if (ohmlet::SimulatedCh375* device = Chip()) device->CloseDevice(index);
}

__declspec(dllexport) PVOID WINAPI CH375GetDeviceName(ULONG index) {
    ohmlet::SimulatedCh375* device = Chip();
    const std::string name = device ? device->DeviceName(index) : std::string();
    if (name.empty()) return nullptr;
    std::snprintf(deviceName, sizeof deviceName, "\\\\.\\%s", name.c_str());
    return deviceName;
}

__declspec(dllexport) BOOL WINAPI CH375WriteData(ULONG index, PVOID buffer, PULONG length) {
    return Transfer(length, [&](ohmlet::SimulatedCh375& device, std::size_t& count) {
        return device.WriteData(index, static_cast<const unsigned char*>(buffer), count);
    });
}

#ifndef OHMLET_STANDIN_WITHOUT_READ_DATA
__declspec(dllexport) BOOL WINAPI CH375ReadData(ULONG index, PVOID buffer, PULONG length) {
    return Transfer(length, [&](ohmlet::SimulatedCh375& device, std::size_t& count) {
        return device.ReadData(index, static_cast<unsigned char*>(buffer), count);
    });
}
static_assert(std::is_same_v<decltype(&CH375ReadData), ohmlet::ch375dll::ReadDataCall>);
#endif

__declspec(dllexport) BOOL WINAPI CH375AbortWrite(ULONG index) {
    if (ohmlet::SimulatedCh375* device = Chip()) device->AbortWrite(index);
    return TRUE;
}

__declspec(dllexport) BOOL WINAPI CH375AbortRead(ULONG index) {
    if (ohmlet::SimulatedCh375* device = Chip()) device->AbortRead(index);
    return TRUE;
}

__declspec(dllexport) BOOL WINAPI CH375SetTimeout(ULONG, ULONG, ULONG) { return TRUE; }

}  // extern "C"

// The loader and this library agree on every call's type.
static_assert(std::is_same_v<decltype(&CH375OpenDevice), ohmlet::ch375dll::OpenDeviceCall>);
static_assert(std::is_same_v<decltype(&CH375CloseDevice), ohmlet::ch375dll::CloseDeviceCall>);
static_assert(std::is_same_v<decltype(&CH375GetDeviceName), ohmlet::ch375dll::GetDeviceNameCall>);
static_assert(std::is_same_v<decltype(&CH375WriteData), ohmlet::ch375dll::WriteDataCall>);
static_assert(std::is_same_v<decltype(&CH375AbortWrite), ohmlet::ch375dll::AbortWriteCall>);
static_assert(std::is_same_v<decltype(&CH375AbortRead), ohmlet::ch375dll::AbortReadCall>);
static_assert(std::is_same_v<decltype(&CH375SetTimeout), ohmlet::ch375dll::SetTimeoutCall>);
