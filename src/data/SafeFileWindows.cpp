// The safe writer on Windows: a fresh file beside the target made with CREATE_NEW, flushed
// to the disk, then moved over the target with write-through. Paths arrive as UTF-8 and
// reach the system as wide names, so non-ASCII folders work whatever the code page.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>
#include <string>

#include "data/FileBytes.h"
#include "data/SafeFile.h"
#include "data/SafeFileInternal.h"

namespace ohmlet {
namespace {

std::atomic<CloseFunction> closeFunction{nullptr};

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return std::wstring();
    const int size = static_cast<int>(utf8.size());
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), n);
    return wide;
}

std::string Utf8(const wchar_t* wide, int length) {
    int n = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide, length, utf8.data(), n, nullptr, nullptr);
    return utf8;
}

// The system's own sentence, without its closing full stop: the callers add one.
std::string Describe(DWORD code) {
    wchar_t* text = nullptr;
    DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = length ? Utf8(text, static_cast<int>(length)) : std::string();
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    return message.empty() ? "system error " + std::to_string(code) : message;
}

// Callers see errno values on every system.
int ErrnoFor(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return EACCES;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return EBUSY;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        default:
            return EIO;
    }
}

std::size_t LastSeparator(const std::string& path) { return path.find_last_of("/\\"); }

std::string Folder(const std::string& path) {
    std::size_t slash = LastSeparator(path);
    if (slash == std::string::npos) return ".";
    if (slash == 0) return path.substr(0, 1);
    return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    std::size_t slash = LastSeparator(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Kernel handles fit in 32 bits on 64-bit Windows, which keeps the writer's int member.
HANDLE ToHandle(int fd) { return LongToHandle(fd); }
int FromHandle(HANDLE handle) { return HandleToLong(handle); }

// Temporary files of saves that were killed. A running save opened its file without
// sharing, so deleting that one fails and it stays.
void RemoveLeftovers(const std::string& target) {
    const std::string prefix = SafeTempPrefix(target);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Wide(prefix + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    const std::string folder = Folder(prefix);
    const std::size_t nameLength = BaseName(prefix).size() + 6;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        std::string name = Utf8(found.cFileName, -1);
        if (!name.empty() && name.back() == '\0') name.pop_back();
        if (name.size() != nameLength) continue;
        DeleteFileW(Wide(folder + "\\" + name).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace

FileBytes::Status FileBytes::Open(const std::string& path, std::string& reason,
                                  std::size_t maxBytes) {
    bytes_.clear();
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        reason = Describe(GetLastError());
        return Status::CannotOpen;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info)) {
        reason = Describe(GetLastError());
        CloseHandle(file);
        return Status::CannotOpen;
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || GetFileType(file) != FILE_TYPE_DISK) {
        reason = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? "it is a folder"
                                                                    : "it is not a regular file";
        CloseHandle(file);
        return Status::NotRegular;
    }
    const unsigned long long size =
        (static_cast<unsigned long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (size > maxBytes) {
        reason = "it is larger than " + std::to_string(maxBytes) + " bytes";
        CloseHandle(file);
        return Status::TooLarge;
    }
    const std::size_t expected = static_cast<std::size_t>(size);
    auto readSome = [file](unsigned char* into, std::size_t n, std::string& error) -> long long {
        DWORD read = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(n, 1u << 30));
        if (ReadFile(file, into, chunk, &read, nullptr)) return read;
        error = Describe(GetLastError());
        return -1;
    };
    Status status = ReadExpectedBytes(readSome, expected, bytes_, reason);
    // A change after the last read still shows in the size.
    LARGE_INTEGER after;
    if (status == Status::Ok && GetFileSizeEx(file, &after) &&
        static_cast<unsigned long long>(after.QuadPart) != size) {
        reason = ChangedSizeReason(expected, static_cast<unsigned long long>(after.QuadPart));
        bytes_.clear();
        status = Status::Changed;
    }
    CloseHandle(file);
    return status;
}

void SetSafeFileCloseForTesting(CloseFunction close) { closeFunction.store(close); }

std::string SafeTempPrefix(const std::string& target) {
    return Folder(target) + "\\" + safefile::TempNameStart(BaseName(target));
}

void safefile::CloseTemp(int fd) { CloseHandle(ToHandle(fd)); }

void safefile::RemoveTemp(const std::string& path) { DeleteFileW(Wide(path).c_str()); }

SafeWriteResult SafeFileWriter::Open() {
    if (path_.empty()) return Fail("no file name", ENOENT);
    target_ = path_;
    const DWORD attributes = GetFileAttributesW(Wide(target_).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Fail("it is a folder", EISDIR);
        if (attributes & FILE_ATTRIBUTE_DEVICE) return Fail("it is not a regular file", EINVAL);
        // The in-place write this replaces would have failed on a read-only file.
        if (attributes & FILE_ATTRIBUTE_READONLY) return Fail("it is read-only", EACCES);
    }
    RemoveLeftovers(target_);

    std::random_device random;
    std::uniform_int_distribution<int> digits(100000, 999999);
    DWORD error = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < 100 && error == ERROR_FILE_EXISTS; ++attempt) {
        std::string name = SafeTempPrefix(target_) + std::to_string(digits(random));
        // CREATE_NEW never opens an existing name. Not sharing deletion marks it as a
        // running save; sharing writes lets a library write it by name.
        HANDLE file =
            CreateFileW(Wide(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            fd_ = FromHandle(file);
            temp_ = name;
            return {};
        }
        error = GetLastError();
    }
    return Fail(Describe(error), ErrnoFor(error));
}

SafeWriteResult SafeFileWriter::Write(const void* data, std::size_t size) {
    if (fd_ == -1) return Fail("the file is not open", EBADF);
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(ToHandle(fd_), p, chunk, &written, nullptr)) {
            DWORD error = GetLastError();
            return Fail(Describe(error), ErrnoFor(error));
        }
        p += written;
        size -= written;
    }
    return {};
}

SafeWriteResult SafeFileWriter::Commit() {
    if (failed_ || temp_.empty()) return Fail("the file is not open", EBADF);
    HANDLE file = ToHandle(fd_);
    if (!FlushFileBuffers(file)) {
        DWORD error = GetLastError();
        return Fail(Describe(error), ErrnoFor(error));
    }
    fd_ = -1;
    const bool closed = CloseHandle(file);
    const DWORD closeError = GetLastError();
    // There is no descriptor to hand over here: the hook only decides the outcome.
    if (CloseFunction f = closeFunction.load(); f && f(-1) != 0)
        return Fail(std::strerror(errno), errno);
    if (!closed) return Fail(Describe(closeError), ErrnoFor(closeError));
    if (!MoveFileExW(Wide(temp_).c_str(), Wide(target_).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD error = GetLastError();
        return Fail(Describe(error), ErrnoFor(error));
    }
    temp_.clear();
    return {};
}

}  // namespace ohmlet
