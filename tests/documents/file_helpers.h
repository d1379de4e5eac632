#pragma once
// Paths of the checked-in test files and a scratch folder per test.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

inline std::string DataPath(const std::string& name) {
    return std::string(KURVANT_TEST_DATA) + "/" + name;
}

inline std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

inline void PutBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

/// A fresh folder, removed with everything in it when the object goes.
class TScratchFolder {
public:
    TScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kurvant-files-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            Path = pattern;
        }
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
