#include "transfer/Ch375DllWindows.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "transfer/Ch375DllCalls.h"
#include "transfer/SerialLink.h"

namespace ohmlet {

struct Ch375DllWindows::Library {
    HMODULE module = nullptr;
    ch375dll::OpenDeviceCall openDevice = nullptr;
    ch375dll::CloseDeviceCall closeDevice = nullptr;
    ch375dll::GetDeviceNameCall getDeviceName = nullptr;
    ch375dll::WriteDataCall writeData = nullptr;
    ch375dll::ReadDataCall readData = nullptr;
    ch375dll::AbortWriteCall abortWrite = nullptr;
    ch375dll::AbortReadCall abortRead = nullptr;
    ch375dll::SetTimeoutCall setTimeout = nullptr;
};

namespace {

constexpr char kNotInstalled[] =
    "the CH375 USB driver library CH375DLL.DLL is not installed; install the instrument's USB "
    "driver";
// A name the driver hands back is read no further than this.
constexpr std::size_t kLongestName = 1024;

std::string ErrorText(DWORD code) {
    char* text = nullptr;
    DWORD n = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), reinterpret_cast<char*>(&text),
        0, nullptr);
    std::string message = n > 0 ? std::string(text, n) : std::string();
    if (text) LocalFree(text);
    while (!message.empty() && std::strchr("\r\n .", message.back())) message.pop_back();
    return message.empty() ? "system error " + std::to_string(code) : message;
}

// A call that said no: what the system's last error means, never Ok, even when the
// library left no error behind.
LinkResult CallFailure(const char* call, DWORD code) {
    LinkStatus status = SerialLink::StatusForError(code);
    if (status == LinkStatus::Ok) status = LinkStatus::Failed;
    return LinkFailure(status, std::string(call) + " failed: " + ErrorText(code));
}

LinkResult LoadFailure(DWORD code) {
    if (code == ERROR_MOD_NOT_FOUND || code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND)
        return LinkFailure(LinkStatus::NoSuchDevice, kNotInstalled);
    // Its text names "%1": say it ourselves. A 32-bit library ends here too.
    const std::string why =
        code == ERROR_BAD_EXE_FORMAT ? "it is not a 64-bit Windows library" : ErrorText(code);
    return LinkFailure(LinkStatus::Failed, "CH375DLL.DLL could not be loaded: " + why +
                                               "; reinstall the instrument's USB driver");
}

// GetProcAddress gives every call one type; void(*)() lets us say which it really is.
template <typename Call>
bool Resolve(HMODULE module, const char* name, Call& call) {
    call = reinterpret_cast<Call>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
    return call != nullptr;
}

ULONG Clamp(std::size_t count) {
    return static_cast<ULONG>(std::min<std::size_t>(count, ULONG_MAX));
}

}  // namespace

Ch375DllWindows::Ch375DllWindows(std::wstring library) : path_(std::move(library)) {}

Ch375DllWindows::~Ch375DllWindows() {
    if (open_) CloseDevice(openIndex_);
    if (library_) FreeLibrary(library_->module);
}

LinkResult Ch375DllWindows::Load() {
    std::lock_guard<std::mutex> lock(loadMutex_);
    if (library_) return {};
    auto library = std::make_unique<Library>();
    library->module = LoadLibraryW(path_.c_str());
    if (!library->module) return LoadFailure(GetLastError());
    const std::pair<const char*, bool> required[] = {
        {ch375dll::kOpenDevice,
         Resolve(library->module, ch375dll::kOpenDevice, library->openDevice)},
        {ch375dll::kCloseDevice,
         Resolve(library->module, ch375dll::kCloseDevice, library->closeDevice)},
        {ch375dll::kGetDeviceName,
         Resolve(library->module, ch375dll::kGetDeviceName, library->getDeviceName)},
        {ch375dll::kWriteData, Resolve(library->module, ch375dll::kWriteData, library->writeData)},
        {ch375dll::kReadData, Resolve(library->module, ch375dll::kReadData, library->readData)},
        {ch375dll::kAbortWrite,
         Resolve(library->module, ch375dll::kAbortWrite, library->abortWrite)},
        {ch375dll::kAbortRead, Resolve(library->module, ch375dll::kAbortRead, library->abortRead)},
    };
    for (const auto& [name, found] : required) {
        if (found) continue;
        FreeLibrary(library->module);
        return LinkFailure(LinkStatus::Failed,
                           std::string("CH375DLL.DLL has no ") + name +
                               ": it is not the instrument's USB driver library or too old; "
                               "reinstall the instrument's USB driver");
    }
    Resolve(library->module, ch375dll::kSetTimeout, library->setTimeout);
    library_ = std::move(library);
    loaded_ = library_.get();
    return {};
}

const Ch375DllWindows::Library* Ch375DllWindows::Loaded() const { return loaded_.load(); }

LinkResult Ch375DllWindows::OpenDevice(unsigned index) {
    if (open_) return {LinkStatus::InUse, {}, "a device is already open"};
    LinkResult loaded = Load();
    if (!loaded.Ok()) return loaded;
    const Library& calls = *Loaded();
    if (calls.openDevice(index) == INVALID_HANDLE_VALUE) {
        LinkResult failed = CallFailure(ch375dll::kOpenDevice, GetLastError());
        failed.cause = "USB" + std::to_string(index + 1) + ": " + failed.cause;
        return failed;
    }
    // Without a time-out of our own a read the device never answers would wait forever.
    if (calls.setTimeout) calls.setTimeout(index, kTransferTimeoutMs, kTransferTimeoutMs);
    openIndex_ = index;
    open_ = true;
    return {};
}

std::string Ch375DllWindows::DeviceName(unsigned index) {
    if (!open_ || index != openIndex_) return {};
    const char* name = static_cast<const char*>(Loaded()->getDeviceName(index));
    if (!name) return {};
    return std::string(name, strnlen(name, kLongestName));
}

LinkResult Ch375DllWindows::WriteData(unsigned index, const unsigned char* data,
                                      std::size_t& count) {
    const std::size_t want = count;
    count = 0;
    if (!open_ || index != openIndex_)
        return {LinkStatus::NoSuchDevice, {}, "the device is not open"};
    ULONG length = Clamp(want);
    // The library's buffer is not const, but it only reads what is sent.
    if (!Loaded()->writeData(index, const_cast<unsigned char*>(data), &length))
        return CallFailure(ch375dll::kWriteData, GetLastError());
    count = std::min<std::size_t>(length, want);
    return {};
}

LinkResult Ch375DllWindows::ReadData(unsigned index, unsigned char* data, std::size_t& count) {
    const std::size_t capacity = count;
    count = 0;
    if (!open_ || index != openIndex_)
        return {LinkStatus::NoSuchDevice, {}, "the device is not open"};
    ULONG length = Clamp(capacity);
    if (!Loaded()->readData(index, data, &length))
        return CallFailure(ch375dll::kReadData, GetLastError());
    // A length beyond the room given would be the library's error; never trust it.
    count = std::min<std::size_t>(length, capacity);
    return {};
}

void Ch375DllWindows::AbortWrite(unsigned index) {
    if (const Library* calls = Loaded(); calls && open_) calls->abortWrite(index);
}

void Ch375DllWindows::AbortRead(unsigned index) {
    if (const Library* calls = Loaded(); calls && open_) calls->abortRead(index);
}

void Ch375DllWindows::CloseDevice(unsigned index) {
    if (!open_ || index != openIndex_) return;
    Loaded()->closeDevice(index);
    open_ = false;
}

}  // namespace ohmlet
