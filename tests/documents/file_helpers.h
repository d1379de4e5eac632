#pragma once
// Paths of the checked-in test files, whole files read and written, and a scratch folder per test.

#include "support/scratch_folder.h"

#include <fstream>
#include <sstream>
#include <string>

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
