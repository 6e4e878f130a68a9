#include "data/SafeFile.h"

namespace ohmlet {

SafeWriteResult WriteFileSafely(const std::string& path, const void* data, std::size_t size) {
    SafeFileWriter writer(path);
    SafeWriteResult r = writer.Open();
    if (r.Ok()) r = writer.Write(data, size);
    if (r.Ok()) r = writer.Commit();
    return r;
}

}  // namespace ohmlet
