#include "SafeFile.h"

namespace ohmlet {

SafeWriteResult WriteFileSafely(const std::string& path, const void* data, std::size_t size) {
    SafeFileWriter writer(path);
    SafeWriteResult r = writer.Open();
    if (r.ok) r = writer.Write(data, size);
    if (r.ok) r = writer.Commit();
    return r;
}

}  // namespace ohmlet
