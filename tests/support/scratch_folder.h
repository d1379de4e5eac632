#pragma once
// A fresh folder per test under the system's temporary folder, removed with everything in it when
// the object goes. When no folder can be made the test fails at once: it never falls back to a
// folder it did not make, so it never removes anything it did not make.

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

class TScratchFolder {
public:
    TScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kurvant-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            // Thrown from the test body, the exception fails the test with this message.
            throw std::runtime_error("no scratch folder could be made from " + pattern + ": " +
                                     std::strerror(errno));
        }
        Path = pattern;
    }
    ~TScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    std::string File(const std::string& name) const { return Path + "/" + name; }
    /// The names in the folder, to see that no temporary file is left behind.
    std::size_t EntryCount() const {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(Path)) {
            ++count;
        }
        return count;
    }

    std::string Path;
};
