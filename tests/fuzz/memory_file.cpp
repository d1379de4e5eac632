#include "memory_file.h"

#include <stdexcept>
#include <sys/mman.h>
#include <unistd.h>

namespace fuzz {

TMemoryFile::TMemoryFile() : Fd(::memfd_create("kurvant-fuzz", MFD_CLOEXEC)) {
    if (Fd < 0) {
        throw std::runtime_error("no memory file could be made");
    }
    Where = "/proc/self/fd/" + std::to_string(Fd);
}

TMemoryFile::~TMemoryFile() {
    ::close(Fd);
}

bool TMemoryFile::Put(std::string_view bytes) {
    if (::ftruncate(Fd, 0) != 0) {
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::pwrite(Fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace fuzz
