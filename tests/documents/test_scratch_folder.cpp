// The scratch folder of the file tests: made fresh, removed with its contents, and never replaced
// by some other folder when it cannot be made.

#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

/// Sets an environment variable for the life of the object, then puts the old value back.
class TEnvironmentVariable {
public:
    TEnvironmentVariable(const char* name, const char* value) : Name(name) {
        if (const char* old = std::getenv(name))
            Old = old;
        setenv(name, value, 1);
    }
    ~TEnvironmentVariable() {
        if (Old)
            setenv(Name, Old->c_str(), 1);
        else
            unsetenv(Name);
    }

private:
    const char* Name;
    std::optional<std::string> Old;
};

TEST(ScratchFolder, FreshFoldersAreRemovedWithTheirContents) {
    std::string first;
    {
        TScratchFolder a;
        TScratchFolder b;
        first = a.Path;
        EXPECT_NE(a.Path, b.Path);
        EXPECT_TRUE(std::filesystem::is_directory(a.Path));
        EXPECT_EQ(a.EntryCount(), 0u);
        std::filesystem::create_directory(a.File("inner"));
        std::ofstream(a.File("inner/file")) << "x";
        EXPECT_EQ(a.EntryCount(), 1u);
    }
    EXPECT_FALSE(std::filesystem::exists(first));
}

// A folder that cannot be made fails the test at once; there is no fallback folder whose contents
// would be removed at the end.
TEST(ScratchFolder, AFolderThatCannotBeMadeFailsTheTest) {
    // Nothing can be made inside /proc, not even by root.
    const TEnvironmentVariable tmp("TMPDIR", "/proc");
    EXPECT_THROW(TScratchFolder folder, std::runtime_error);
}

} // namespace
