// The POSIX side of the safe writer: every system call it makes is here.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "data/FileBytes.h"
#include "data/SafeFile.h"

namespace ohmlet {
namespace {

std::atomic<CloseFunction> closeFunction{nullptr};

int CloseChecked(int fd) {
    CloseFunction f = closeFunction.load();
    return f ? f(fd) : ::close(fd);
}

std::string Folder(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows links to the file a rename must replace; a dangling link names the file to create.
int FollowLinks(const std::string& path, std::string& target) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(target.c_str(), &st) != 0) return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(st.st_mode)) return 0;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n < 0) return errno;
        link.resize(static_cast<std::size_t>(n));
        target = (!link.empty() && link[0] == '/') ? link : Folder(target) + "/" + link;
    }
    return ELOOP;
}

mode_t CreationMode() {
    // umask can only be read by setting it; do it once, before any thread may care.
    static const mode_t mask = [] {
        mode_t m = ::umask(022);
        ::umask(m);
        return m;
    }();
    return 0666 & ~mask;
}

// Temporary files of saves that were killed; one that a running save holds stays.
void RemoveLeftovers(const std::string& target) {
    const std::string folder = Folder(target);
    const std::string prefix = BaseName(SafeTempPrefix(target));
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        std::string full = folder + "/" + name;
        int fd = ::open(full.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) continue;
        struct stat st;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(full.c_str());
        ::close(fd);
    }
    ::closedir(dir);
}

void SyncFolder(const std::string& path) {
    int fd = ::open(Folder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // some file systems cannot sync a folder; the rename itself is done
    ::close(fd);
}

}  // namespace

FileBytes::Status FileBytes::Open(const std::string& path, std::string& reason,
                                  std::size_t maxBytes) {
    bytes_.clear();
    // Non-blocking, so opening a FIFO does not wait for a writer.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reason = std::strerror(errno);
        return Status::CannotOpen;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        reason = std::strerror(errno);
        ::close(fd);
        return Status::CannotOpen;
    }
    if (!S_ISREG(st.st_mode)) {
        reason = S_ISDIR(st.st_mode) ? "it is a folder" : "it is not a regular file";
        ::close(fd);
        return Status::NotRegular;
    }
    if (static_cast<unsigned long long>(st.st_size) > maxBytes) {
        reason = "it is larger than " + std::to_string(maxBytes) + " bytes";
        ::close(fd);
        return Status::TooLarge;
    }
    const std::size_t size = static_cast<std::size_t>(st.st_size);
    auto readSome = [fd](unsigned char* into, std::size_t n, std::string& error) -> long long {
        for (;;) {
            const ssize_t got = ::read(fd, into, n);
            if (got >= 0) return got;
            if (errno == EINTR) continue;
            error = std::strerror(errno);
            return -1;
        }
    };
    Status status = ReadExpectedBytes(readSome, size, bytes_, reason);
    // A change after the last read still shows in the size.
    if (status == Status::Ok && ::fstat(fd, &st) == 0 &&
        static_cast<unsigned long long>(st.st_size) != size) {
        reason = ChangedSizeReason(size, static_cast<unsigned long long>(st.st_size));
        bytes_.clear();
        status = Status::Changed;
    }
    ::close(fd);
    return status;
}

void SetSafeFileCloseForTesting(CloseFunction close) { closeFunction.store(close); }

SafeFileWriter::SafeFileWriter(std::string path) : path_(std::move(path)) {}

SafeFileWriter::~SafeFileWriter() { Abort(); }

void SafeFileWriter::Abort() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
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
    // A write past the file-size limit must fail with EFBIG, not kill the program.
    std::signal(SIGXFSZ, SIG_IGN);

    if (path_.empty()) return Fail("no file name", ENOENT);
    if (int err = FollowLinks(path_, target_)) return Fail(std::strerror(err), err);
    struct stat st;
    const bool exists = ::stat(target_.c_str(), &st) == 0;
    if (exists) {
        if (S_ISDIR(st.st_mode)) return Fail("it is a folder", EISDIR);
        if (!S_ISREG(st.st_mode)) return Fail("it is not a regular file", EINVAL);
        // The in-place write this replaces would have failed on a read-only file.
        if (::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0)
            return Fail(errno == EACCES ? std::string("it is read-only") : std::strerror(errno),
                        errno);
    }
    RemoveLeftovers(target_);

    std::string name = SafeTempPrefix(target_) + "XXXXXX";
    // mkostemp creates with O_EXCL: it never opens an existing name nor follows a link.
    int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return Fail(std::strerror(errno), errno);
    fd_ = fd;
    temp_ = name;
    ::flock(fd_, LOCK_EX);  // tells other saves this file is not a leftover
    if (exists) {
        ::fchmod(fd_, st.st_mode & 07777);
        // Keeping the owner needs privileges; the group alone may still be kept.
        if (::fchown(fd_, st.st_uid, st.st_gid) != 0)
            (void)!::fchown(fd_, static_cast<uid_t>(-1), st.st_gid);
        ::fchmod(fd_, st.st_mode & 07777);  // fchown clears set-id bits
    } else {
        ::fchmod(fd_, CreationMode());
    }
    return {};
}

SafeWriteResult SafeFileWriter::Write(const void* data, std::size_t size) {
    if (fd_ < 0) return Fail("the file is not open", EBADF);
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = ::write(fd_, p, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            return Fail(std::strerror(err), err);
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return {};
}

SafeWriteResult SafeFileWriter::Commit() {
    if (failed_ || temp_.empty()) return Fail("the file is not open", EBADF);
    int fd = fd_;
    if (byName_) {
        // A library wrote the temporary file by name, maybe by replacing it; sync what is
        // there now. Our descriptor only held the lock.
        fd = ::open(temp_.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) return Fail(std::strerror(errno), errno);
        ::close(fd_);
    }
    fd_ = -1;
    if (::fsync(fd) != 0 && errno != EINVAL) {
        int err = errno;
        ::close(fd);
        return Fail(std::strerror(err), err);
    }
    // Network file systems report lost write-back only here.
    if (CloseChecked(fd) != 0) return Fail(std::strerror(errno), errno);
    if (::rename(temp_.c_str(), target_.c_str()) != 0) return Fail(std::strerror(errno), errno);
    temp_.clear();
    SyncFolder(target_);
    return {};
}

std::string SafeTempPrefix(const std::string& target) {
    return Folder(target) + "/." + BaseName(target) + ".saving-";
}

}  // namespace ohmlet
