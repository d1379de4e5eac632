// The libFuzzer entry of one target, named by KURVANT_FUZZ_TARGET: a broken rule is reported with
// its description and stops the run, so libFuzzer keeps the input that broke it.

#include "fuzz_checks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

fuzz::TCheck TargetCheck() {
    for (const fuzz::TTarget& target : fuzz::Targets) {
        if (std::strcmp(target.Name, KURVANT_FUZZ_TARGET) == 0) {
            return target.Check;
        }
    }
    std::fprintf(stderr, "no fuzz target is named %s\n", KURVANT_FUZZ_TARGET);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::TCheck check = TargetCheck();
    const std::string broken = check(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!broken.empty()) {
        std::fprintf(stderr, "%s: rule broken: %s\n", KURVANT_FUZZ_TARGET, broken.c_str());
        std::abort();
    }
    return 0;
}
