// The serial link on Windows: CreateFileW on \\.\COMn, a DCB for 2400 8N1 and
// COMMTIMEOUTS that make each ReadFile a short wait, so Abort is seen between them.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <chrono>

#include "transfer/SerialLink.h"

namespace ohmlet {

struct SerialLink::Port {
    HANDLE handle = INVALID_HANDLE_VALUE;
};

namespace {

// The longest a single ReadFile waits for a first byte before Abort is looked at again.
constexpr DWORD kReadSliceMs = 50;
// A read in one call at most; the driver keeps the rest.
constexpr std::size_t kReadChunk = 4096;

std::wstring Widen(const std::string& text) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(n, 0)), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string Narrow(const wchar_t* text, std::size_t size) {
    int n =
        WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(size), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(n, 0)), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(size), out.data(), n, nullptr,
                            nullptr);
    return out;
}

std::string ErrorText(DWORD code) {
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = n > 0 ? Narrow(text, n) : std::string();
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    return message.empty() ? "system error " + std::to_string(code) : message;
}

LinkResult SystemFailure(DWORD code, const std::string& doing = {}) {
    std::string cause = doing.empty() ? ErrorText(code) : doing + ": " + ErrorText(code);
    return LinkFailure(SerialLink::StatusForError(code), cause);
}

// "COM3" and "COM12" alike need the device namespace; a full path stays as given.
std::wstring DevicePath(const std::string& name) {
    if (name.rfind("\\\\.\\", 0) == 0) return Widen(name);
    return L"\\\\.\\" + Widen(name);
}

bool Configure(HANDLE port) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port, &dcb)) return false;
    dcb.BaudRate = CBR_2400;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    if (!SetCommState(port, &dcb)) return false;
    // The longest reply is 65,535 bytes: room for it and then some in the driver.
    SetupComm(port, 1u << 17, 4096);
    // A read returns what is there at once, or waits up to one slice for a first byte.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
    timeouts.ReadTotalTimeoutConstant = kReadSliceMs;
    // 2400 baud is about 4.2 ms a byte.
    timeouts.WriteTotalTimeoutMultiplier = 10;
    timeouts.WriteTotalTimeoutConstant = 1000;
    return SetCommTimeouts(port, &timeouts) != 0;
}

}  // namespace

LinkStatus SerialLink::StatusForError(unsigned long code) {
    switch (code) {
        case ERROR_SUCCESS:
            return LinkStatus::Ok;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_UNIT:
        case ERROR_DEV_NOT_EXIST:
        case ERROR_DEVICE_NOT_CONNECTED:
        case ERROR_DEVICE_REMOVED:
        case ERROR_BAD_COMMAND:  // a USB adapter that was pulled out
            return LinkStatus::NoSuchDevice;
        // COM ports are opened exclusively: a port held elsewhere answers access denied.
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_BUSY:
            return LinkStatus::InUse;
        case ERROR_TIMEOUT:
        case WAIT_TIMEOUT:
        case ERROR_SEM_TIMEOUT:
            return LinkStatus::TimedOut;
        case ERROR_OPERATION_ABORTED:
            return LinkStatus::Aborted;
        default:
            return LinkStatus::Failed;
    }
}

SerialLink::SerialLink(std::string portName, Clock& clock)
    : portName_(std::move(portName)), clock_(clock), port_(std::make_unique<Port>()) {}

SerialLink::~SerialLink() { Close(); }

LinkResult SerialLink::Open() {
    Close();
    aborted_ = false;
    if (portName_.empty()) return LinkFailure(LinkStatus::NoSuchDevice, "no port chosen");
    HANDLE handle = CreateFileW(DevicePath(portName_).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return SystemFailure(GetLastError());
    if (!Configure(handle)) {
        LinkResult r = SystemFailure(GetLastError(), "the port settings were refused");
        CloseHandle(handle);
        return r;
    }
    // Whatever the driver still holds from before belongs to no reply of ours.
    PurgeComm(handle, PURGE_RXCLEAR | PURGE_TXCLEAR);
    port_->handle = handle;
    return {};
}

LinkResult SerialLink::Write(const unsigned char* data, std::size_t size) {
    if (port_->handle == INVALID_HANDLE_VALUE)
        return LinkFailure(LinkStatus::Failed, "the port is not open");
    while (size > 0) {
        if (aborted_) return LinkFailure(LinkStatus::Aborted, "writing the request");
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, kReadChunk));
        if (!WriteFile(port_->handle, data, chunk, &written, nullptr))
            return SystemFailure(GetLastError(), "writing the request");
        if (written == 0) return LinkFailure(LinkStatus::TimedOut, "writing the request");
        data += written;
        size -= written;
    }
    return {};
}

LinkResult SerialLink::Read(ByteBuffer& out, std::size_t maxBytes, int timeoutMs) {
    if (port_->handle == INVALID_HANDLE_VALUE)
        return LinkFailure(LinkStatus::Failed, "the port is not open");
    const Clock::TimePoint deadline =
        clock_.Now() + std::chrono::milliseconds(std::max(0, timeoutMs));
    for (;;) {
        if (aborted_) return LinkFailure(LinkStatus::Aborted, {});
        if (maxBytes == 0) return {};
        const std::size_t at = out.size();
        const DWORD want = static_cast<DWORD>(std::min(maxBytes, kReadChunk));
        out.resize(at + want);
        DWORD got = 0;
        const BOOL ok = ReadFile(port_->handle, out.data() + at, want, &got, nullptr);
        const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
        out.resize(at + got);
        if (!ok) return SystemFailure(error);
        if (got > 0 || clock_.Now() >= deadline) return {};
        // The driver waited its slice in real time; a simulated clock moves by a step.
        clock_.WaitForSystem(std::chrono::milliseconds(kReadSliceMs), [](int) { return 0; });
    }
}

void SerialLink::Abort() { aborted_ = true; }

void SerialLink::Close() {
    if (port_->handle == INVALID_HANDLE_VALUE) return;
    CloseHandle(port_->handle);
    port_->handle = INVALID_HANDLE_VALUE;
}

std::vector<SerialPortName> ListSerialPorts() {
    std::vector<SerialPortName> ports;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return ports;
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[256];
        DWORD nameSize = 256;
        wchar_t data[256];
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        LONG status = RegEnumValueW(key, index, valueName, &nameSize, nullptr, &type,
                                    reinterpret_cast<BYTE*>(data), &dataSize);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS || type != REG_SZ) continue;
        // The data may or may not end in a terminator; take what is before it.
        std::size_t length = dataSize / sizeof(wchar_t);
        while (length > 0 && data[length - 1] == L'\0') --length;
        if (length == 0) continue;
        std::string name = Narrow(data, length);
        ports.push_back({name, name});
    }
    RegCloseKey(key);
    std::sort(ports.begin(), ports.end(),
              [](const SerialPortName& a, const SerialPortName& b) { return a.name < b.name; });
    return ports;
}

}  // namespace ohmlet
