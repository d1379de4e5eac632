// The parts of a range: each item once, the caller's floating-point environment in every part,
// a part's exception at the caller.

#include "formula/parallel_parts.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cfenv>
#include <stdexcept>
#include <vector>

namespace kurvant {
namespace {

TEST(ForEachPart, CoversEveryItemOnceInContiguousParts) {
    for (const std::size_t count : {0u, 1u, 7u, 100u, 4095u, 40000u}) {
        for (const std::size_t minimum : {1u, 64u, 2048u}) {
            std::vector<std::atomic<int>> seen(count);
            std::atomic<std::size_t> smallest{count};
            ForEachPart(count, minimum, [&](std::size_t begin, std::size_t end) {
                ASSERT_LT(begin, end);
                ASSERT_LE(end, count);
                std::size_t expected = smallest.load();
                while (end - begin < expected &&
                       !smallest.compare_exchange_weak(expected, end - begin)) {
                }
                for (std::size_t i = begin; i < end; ++i) {
                    ++seen[i];
                }
            });
            for (std::size_t i = 0; i < count; ++i) {
                ASSERT_EQ(seen[i].load(), 1) << count << " " << minimum << " item " << i;
            }
            if (count >= minimum) {
                EXPECT_GE(smallest.load(), std::min(count, minimum)) << count << " " << minimum;
            }
        }
    }
}

TEST(ForEachPart, PartsRunInTheCallersRoundingMode) {
    const int saved = std::fegetround();
    ASSERT_EQ(std::fesetround(FE_UPWARD), 0);
    std::atomic<int> wrongMode{0};
    ForEachPart(100000, 100, [&](std::size_t, std::size_t) {
        if (std::fegetround() != FE_UPWARD) {
            ++wrongMode;
        }
    });
    std::fesetround(saved);
    EXPECT_EQ(wrongMode.load(), 0);
    // And the threads went back to their own afterwards.
    std::atomic<int> stillUpward{0};
    ForEachPart(100000, 100, [&](std::size_t, std::size_t) {
        if (std::fegetround() != saved) {
            ++stillUpward;
        }
    });
    EXPECT_EQ(stillUpward.load(), 0);
}

TEST(ForEachPart, AnExceptionOfAPartReachesTheCaller) {
    std::atomic<int> parts{0};
    EXPECT_THROW(ForEachPart(100000, 100,
                             [&](std::size_t begin, std::size_t) {
                                 ++parts;
                                 if (begin == 0) {
                                     throw std::runtime_error("part failed");
                                 }
                             }),
                 std::runtime_error);
    EXPECT_GT(parts.load(), 1);
    // The range can be worked again afterwards.
    std::atomic<std::size_t> items{0};
    ForEachPart(5000, 10, [&](std::size_t begin, std::size_t end) { items += end - begin; });
    EXPECT_EQ(items.load(), 5000u);
}

} // namespace
} // namespace kurvant
