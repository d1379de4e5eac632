// Every checked-in input of every fuzz target, run through the target's check without the fuzzer:
// the small corpora that start a fuzzing run, and every input that ever broke a rule (one file
// each under regressions/TARGET/, named by what it showed).

#include "fuzz_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>

namespace {

struct TInput {
    const fuzz::TTarget* Target;
    std::string Folder; // "corpus" or "regressions"
    std::filesystem::path File;
};

// The row's file in a failure message, instead of the bytes of the record.
void PrintTo(const TInput& input, std::ostream* out) {
    *out << input.File.string();
}

std::vector<TInput> CheckedInInputs() {
    std::vector<TInput> inputs;
    for (const fuzz::TTarget& target : fuzz::Targets) {
        for (const char* folder : {"corpus", "regressions"}) {
            const std::filesystem::path path =
                std::filesystem::path(KURVANT_FUZZ_DATA) / folder / target.Name;
            if (!std::filesystem::is_directory(path)) {
                continue;
            }
            std::vector<std::filesystem::path> files;
            for (const auto& entry : std::filesystem::directory_iterator(path)) {
                if (entry.is_regular_file()) {
                    files.push_back(entry.path());
                }
            }
            std::sort(files.begin(), files.end());
            for (const auto& file : files) {
                inputs.push_back({&target, folder, file});
            }
        }
    }
    return inputs;
}

std::string RowName(const ::testing::TestParamInfo<TInput>& info) {
    std::string name = std::string(info.param.Target->Name) + "_" + info.param.Folder + "_" +
                       info.param.File.filename().string();
    for (char& c : name) {
        const bool plain =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        c = plain ? c : '_';
    }
    return name + "_" + std::to_string(info.index);
}

class FuzzInput : public ::testing::TestWithParam<TInput> {};

TEST_P(FuzzInput, KeepsEveryRule) {
    std::ifstream file(GetParam().File, std::ios::binary);
    ASSERT_TRUE(file) << GetParam().File;
    std::stringstream bytes;
    bytes << file.rdbuf();
    EXPECT_EQ(GetParam().Target->Check(bytes.str()), "") << GetParam().File;
}

INSTANTIATE_TEST_SUITE_P(CheckedIn, FuzzInput, ::testing::ValuesIn(CheckedInInputs()), RowName);

// The replay is only worth something while the corpora are there to replay.
TEST(FuzzCorpus, EveryTargetHasInputs) {
    const std::vector<TInput> inputs = CheckedInInputs();
    for (const fuzz::TTarget& target : fuzz::Targets) {
        EXPECT_TRUE(std::any_of(inputs.begin(), inputs.end(), [&](const TInput& i) {
            return i.Target == &target;
        })) << target.Name;
    }
}

} // namespace
