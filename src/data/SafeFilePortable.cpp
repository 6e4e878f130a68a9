// The safe writer where POSIX calls are missing: a fresh name beside the target, checked
// writes and a rename. Links, permissions and syncing are left to the system.
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "data/FileBytes.h"
#include "data/SafeFile.h"

namespace ohmlet {
namespace fs = std::filesystem;
namespace {

std::atomic<CloseFunction> closeFunction{nullptr};

std::string Folder(const std::string& path) {
    fs::path parent = fs::u8path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.u8string();
}

}  // namespace

FileBytes::Status FileBytes::Open(const std::string& path, std::string& reason,
                                  std::size_t maxBytes) {
    bytes_.clear();
    std::error_code ec;
    fs::file_status status = fs::status(fs::u8path(path), ec);
    if (ec) {
        reason = ec.message();
        return Status::CannotOpen;
    }
    if (!fs::is_regular_file(status)) {
        reason = fs::is_directory(status) ? "it is a folder" : "it is not a regular file";
        return Status::NotRegular;
    }
    std::uintmax_t size = fs::file_size(fs::u8path(path), ec);
    if (ec) {
        reason = ec.message();
        return Status::CannotOpen;
    }
    if (size > maxBytes) {
        reason = "it is larger than " + std::to_string(maxBytes) + " bytes";
        return Status::TooLarge;
    }
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        reason = std::strerror(errno);
        return Status::CannotOpen;
    }
    auto readSome = [f](unsigned char* into, std::size_t n, std::string& error) -> long long {
        const std::size_t got = std::fread(into, 1, n, f);
        if (got == 0 && std::ferror(f)) {
            error = std::strerror(errno);
            return -1;
        }
        return static_cast<long long>(got);
    };
    const Status status =
        ReadExpectedBytes(readSome, static_cast<std::size_t>(size), bytes_, reason);
    std::fclose(f);
    return status;
}

void SetSafeFileCloseForTesting(CloseFunction close) { closeFunction.store(close); }

std::string SafeTempPrefix(const std::string& target) {
    return Folder(target) + "/." + fs::u8path(target).filename().u8string() + ".saving-";
}

SafeFileWriter::SafeFileWriter(std::string path) : path_(std::move(path)) {}
SafeFileWriter::~SafeFileWriter() { Abort(); }

void SafeFileWriter::Abort() {
    if (!temp_.empty()) {
        std::error_code ignored;
        fs::remove(fs::u8path(temp_), ignored);
    }
    temp_.clear();
    fd_ = -1;
}

SafeWriteResult SafeFileWriter::Fail(const std::string& what, int error) {
    Abort();
    failed_ = true;
    SafeWriteResult r;
    r.code = SafeWriteCode::Failed;
    r.error = error;
    r.text = "Cannot write " + path_ + ": " + what + ".";
    return r;
}

SafeWriteResult SafeFileWriter::Open() {
    target_ = path_;
    std::error_code ec;
    fs::file_status status = fs::status(fs::u8path(target_), ec);
    if (fs::exists(status) && !fs::is_regular_file(status))
        return Fail("it is not a regular file", EINVAL);
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = SafeTempPrefix(target_) + std::to_string(100000 + random() % 900000);
        if (fs::exists(fs::u8path(name), ec)) continue;
        std::FILE* f = std::fopen(name.c_str(), "wbx");  // exclusive creation
        if (!f) continue;
        std::fclose(f);
        temp_ = name;
        fd_ = 0;
        return {};
    }
    return Fail("no temporary file can be made beside it", EEXIST);
}

SafeWriteResult SafeFileWriter::Write(const void* data, std::size_t size) {
    if (temp_.empty()) return Fail("the file is not open", EBADF);
    std::FILE* f = std::fopen(temp_.c_str(), "ab");
    if (!f) return Fail(std::strerror(errno), errno);
    bool ok = std::fwrite(data, 1, size, f) == size;
    int err = errno;
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) return Fail(std::strerror(err), err);
    return {};
}

SafeWriteResult SafeFileWriter::Commit() {
    if (failed_ || temp_.empty()) return Fail("the file is not open", EBADF);
    if (CloseFunction f = closeFunction.load(); f && f(-1) != 0)
        return Fail(std::strerror(errno), errno);
    std::error_code ec;
    fs::rename(fs::u8path(temp_), fs::u8path(target_), ec);
    if (ec) return Fail(ec.message(), ec.value());
    temp_.clear();
    return {};
}

}  // namespace ohmlet
