#pragma once
// A file that lives in memory only, under a path the readers can open: the readers take paths,
// and writing every input of a fuzzing run to the disk would make the disk the bottleneck.

#include <string>
#include <string_view>

namespace fuzz {

class TMemoryFile {
public:
    TMemoryFile();
    ~TMemoryFile();
    TMemoryFile(const TMemoryFile&) = delete;
    TMemoryFile& operator=(const TMemoryFile&) = delete;

    /// Replaces the content; false when the file could not be written.
    bool Put(std::string_view bytes);
    /// Where a reader opens it ("/proc/self/fd/N").
    const std::string& Path() const { return Where; }

private:
    int Fd = -1;
    std::string Where;
};

} // namespace fuzz
