// The POSIX side of the safe writer: every system call it makes is here.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/xattr.h>
#endif

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <vector>

#include "data/FileBytes.h"
#include "data/SafeFile.h"
#include "data/SafeFileInternal.h"

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

// A link in a sticky world-writable folder (/tmp) that neither we nor the folder's owner
// own may have been planted there to redirect the save. The kernel refuses such links
// where protected_symlinks is on; the writer follows links itself, so it keeps that rule
// whatever the setting.
bool PlantedLink(const std::string& link, uid_t linkOwner) {
    struct stat folder;
    if (::stat(Folder(link).c_str(), &folder) != 0) return false;  // the save fails later
    const bool shared = (folder.st_mode & (S_ISVTX | S_IWOTH)) == (S_ISVTX | S_IWOTH);
    return shared && linkOwner != ::geteuid() && linkOwner != folder.st_uid;
}

// Follows links to the file a rename must replace; a dangling link names the file to create.
int FollowLinks(const std::string& path, std::string& target, std::string& why) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(target.c_str(), &st) != 0) return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(st.st_mode)) return 0;
        if (PlantedLink(target, st.st_uid)) {
            why = "it is a link that another user put in the shared folder " + Folder(target);
            return EACCES;
        }
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
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        // Earlier versions let the zip library write beside ours: PREFIXxxxxxx.yyyyyy.
        const bool ours = name.size() == prefix.size() + 6;
        const bool library = name.size() == prefix.size() + 13 && name[prefix.size() + 6] == '.';
        if (!ours && !library) continue;
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

#ifdef __linux__
// Reads a list or value whose size a first call tells; it may grow in between.
template <typename Call>
int ReadSized(std::string& out, Call call) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        ssize_t n = call(nullptr, 0);
        if (n < 0) return errno;
        out.assign(static_cast<std::size_t>(n), '\0');
        n = call(out.data(), out.size());
        if (n >= 0) {
            out.resize(static_cast<std::size_t>(n));
            return 0;
        }
        if (errno != ERANGE) return errno;
    }
    return ERANGE;
}
#endif

// Gives the new file every extended attribute of the old one: ACLs, SELinux labels and the
// user's own. Namespaces only privileged users may set are skipped when we may not; an
// attribute of the user's own that cannot be kept fails the save.
int CopyAttributes(const std::string& from, int to, std::string& why) {
#ifdef __linux__
    const char* path = from.c_str();
    std::string names;
    int err = ReadSized(names, [&](char* b, std::size_t n) { return ::llistxattr(path, b, n); });
    if (err == ENOTSUP) return 0;
    if (err) why = std::string("cannot read its extended attributes: ") + std::strerror(err);
    for (std::size_t at = 0; !err && at < names.size(); at += std::strlen(names.c_str() + at) + 1) {
        const char* name = names.c_str() + at;
        std::string value;
        err =
            ReadSized(value, [&](char* b, std::size_t n) { return ::lgetxattr(path, name, b, n); });
        if (!err && ::fsetxattr(to, name, value.data(), value.size(), 0) != 0) err = errno;
        const bool mayNotSet = err == EPERM || err == ENOTSUP || err == EACCES;
        if (err == ENODATA || (mayNotSet && std::strncmp(name, "user.", 5) != 0)) err = 0;
        if (err)
            why = "cannot keep its extended attribute " + std::string(name) + ": " +
                  std::strerror(err);
    }
    return err;
#else
    (void)from, (void)to, (void)why;
    return 0;
#endif
}

// The new file takes the old one's owner, group, attributes and mode, in this order:
// chown clears set-id bits, and a read-only mode would stop the user setting attributes.
int KeepMetadata(int fd, const std::string& target, const struct stat* old, std::string& why) {
    if (!old) {
        ::fchmod(fd, CreationMode());
        return 0;
    }
    // Keeping the owner needs privileges; the group alone may still be kept.
    if (::fchown(fd, old->st_uid, old->st_gid) != 0)
        (void)!::fchown(fd, static_cast<uid_t>(-1), old->st_gid);
    if (int err = CopyAttributes(target, fd, why)) return err;
    ::fchmod(fd, old->st_mode & 07777);
    return 0;
}

// Makes `to` hold exactly the bytes of `from`, and syncs it.
int CopyOver(int from, int to) {
    if (::ftruncate(to, 0) != 0) return errno;
    std::vector<char> buffer(1 << 16);
    for (off_t at = 0;;) {
        ssize_t n = ::pread(from, buffer.data(), buffer.size(), at);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) break;
        for (ssize_t done = 0; done < n;) {
            ssize_t w =
                ::pwrite(to, buffer.data() + done, static_cast<std::size_t>(n - done), at + done);
            if (w < 0 && errno != EINTR) return errno;
            if (w > 0) done += w;
        }
        at += n;
    }
    return ::fsync(to) == 0 || errno == EINVAL ? 0 : errno;
}

int Restore(int copy, const std::string& target) {
    int fd = ::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno;
    int err = CopyOver(copy, fd);
    if (::close(fd) != 0 && !err) err = errno;
    return err;
}

// A file with several names (hard links) keeps them only when it is rewritten in place: a
// rename would give this name a new file and leave the old bytes under the others. The
// price: a save killed midway leaves the file cut short, its old bytes in the safety copy
// beside it until the next save of the file removes that.
int WriteInPlace(int from, const std::string& target, std::string& why) {
    int fd = ::open(target.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    std::string copy = SafeTempPrefix(target) + "XXXXXX";
    int keep = fd < 0 ? -1 : ::mkostemp(copy.data(), O_CLOEXEC);
    int err = keep < 0 ? errno : 0;
    if (!err) {
        ::flock(keep, LOCK_EX);  // not a leftover for other saves
        err = CopyOver(fd, keep);
    }
    if (err) {  // the target is untouched
        if (fd >= 0) ::close(fd);
        if (keep >= 0) {
            ::close(keep);
            ::unlink(copy.c_str());
        }
        why = std::strerror(err);
        return err;
    }
    err = CopyOver(from, fd);
    if (CloseChecked(fd) != 0 && !err) err = errno;
    if (err) {
        why = std::strerror(err);
        if (Restore(keep, target) != 0) {
            why += "; its old contents are in " + copy;
            ::close(keep);
            return err;
        }
    }
    ::close(keep);
    ::unlink(copy.c_str());
    return err;
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

void safefile::CloseTemp(int fd) { ::close(fd); }

void safefile::RemoveTemp(const std::string& path) { ::unlink(path.c_str()); }

SafeWriteResult SafeFileWriter::Open() {
    // A write past the file-size limit must fail with EFBIG, not kill the program.
    std::signal(SIGXFSZ, SIG_IGN);

    if (path_.empty()) return Fail("no file name", ENOENT);
    std::string why;
    if (int err = FollowLinks(path_, target_, why))
        return Fail(why.empty() ? std::strerror(err) : why, err);
    struct stat st;
    if (::stat(target_.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return Fail("it is a folder", EISDIR);
        if (!S_ISREG(st.st_mode)) return Fail("it is not a regular file", EINVAL);
        // The in-place write this replaces would have failed on a read-only file.
        if (::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0)
            return Fail(errno == EACCES ? std::string("it is read-only") : std::strerror(errno),
                        errno);
    }
    RemoveLeftovers(target_);

    std::string name = SafeTempPrefix(target_) + "XXXXXX";
    // mkostemp creates with O_EXCL and mode 0600: it never opens an existing name nor follows
    // a link, and nobody else reads the file before Commit gives it the old file's mode.
    int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return Fail(std::strerror(errno), errno);
    fd_ = fd;
    temp_ = name;
    ::flock(fd_, LOCK_EX);  // tells other saves this file is not a leftover
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
    struct stat st;
    const bool exists = ::lstat(target_.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    std::string why;
    if (exists && st.st_nlink > 1) {
        if (int err = WriteInPlace(fd_, target_, why)) return Fail(why, err);
        Abort();  // the target holds the new bytes; the temporary file has served
        return {};
    }
    if (int err = KeepMetadata(fd_, target_, exists ? &st : nullptr, why)) return Fail(why, err);
    if (::fsync(fd_) != 0 && errno != EINVAL) return Fail(std::strerror(errno), errno);
    const int fd = fd_;
    fd_ = -1;
    // Network file systems report lost write-back only here.
    if (CloseChecked(fd) != 0) return Fail(std::strerror(errno), errno);
    if (::rename(temp_.c_str(), target_.c_str()) != 0) return Fail(std::strerror(errno), errno);
    temp_.clear();
    SyncFolder(target_);
    return {};
}

std::string SafeTempPrefix(const std::string& target) {
    return Folder(target) + "/" + safefile::TempNameStart(BaseName(target));
}

}  // namespace ohmlet
