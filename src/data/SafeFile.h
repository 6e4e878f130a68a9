#pragma once
// The one way this program replaces a file: the new bytes go to a fresh private file
// beside the target, which is synced and renamed over it only when every step worked,
// so a failure, a crash or a planted link never costs the user the old file. The new
// file keeps the old one's owner, group, mode and extended attributes (ACLs among them);
// a file with several hard links is instead rewritten in place after a safety copy.
#include <cstddef>
#include <string>
#include <vector>

#include "data/Outcome.h"

namespace ohmlet {

enum class SafeWriteCode { Written, Failed };

// text: one sentence naming the file, empty on success.
struct SafeWriteResult : Outcome<SafeWriteCode> {
    int error = 0;  // errno of the failing step, 0 when none applies
};

class SafeFileWriter {
public:
    explicit SafeFileWriter(std::string path);
    ~SafeFileWriter();  // an uncommitted temporary file is removed
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Follows links to the final target, refuses targets that are not regular files,
    // that the user may not write, or that a link another user planted in a shared
    // sticky folder points to; removes what killed saves of it left behind, and creates
    // the temporary file.
    SafeWriteResult Open();
    SafeWriteResult Write(const void* data, std::size_t size);
    const std::string& TempPath() const { return temp_; }
    // The file the rename replaces: the path with its links followed.
    const std::string& TargetPath() const { return target_; }
    SafeWriteResult Commit();
    void Abort();

private:
    SafeWriteResult Fail(const std::string& what, int error);

    std::string path_;
    std::string target_;
    std::string temp_;
    int fd_ = -1;
    bool failed_ = false;
};

SafeWriteResult WriteFileSafely(const std::string& path, const void* data, std::size_t size);
inline SafeWriteResult WriteFileSafely(const std::string& path,
                                       const std::vector<unsigned char>& bytes) {
    return WriteFileSafely(path, bytes.data(), bytes.size());
}
inline SafeWriteResult WriteFileSafely(const std::string& path, const std::string& bytes) {
    return WriteFileSafely(path, bytes.data(), bytes.size());
}

// Every temporary name of `target` starts with this; a save removes the ones that
// no other save holds.
std::string SafeTempPrefix(const std::string& target);

// Replaces close() in the writer, so tests can make a close fail as a network file
// system does when it loses the write-back. Null restores close().
using CloseFunction = int (*)(int);
void SetSafeFileCloseForTesting(CloseFunction close);

}  // namespace ohmlet
