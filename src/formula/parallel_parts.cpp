#include "formula/parallel_parts.h"

#include <algorithm>
#include <cfenv>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace kurvant {

namespace {

// More threads than this gain nothing on the sizes sampled here.
constexpr unsigned MaxParts = 16;

} // namespace

void ForEachPart(std::size_t count, std::size_t minimumPart,
                 const std::function<void(std::size_t begin, std::size_t end)>& work) {
    const unsigned cores = std::max(1u, std::min(std::thread::hardware_concurrency(), MaxParts));
    const std::size_t byCount = count / std::max<std::size_t>(minimumPart, 1);
    const std::size_t parts = std::max<std::size_t>(1, std::min<std::size_t>(cores, byCount));
    if (parts == 1) {
        if (count > 0) {
            work(0, count);
        }
        return;
    }
    fenv_t environment;
    std::fegetenv(&environment);
    std::vector<std::exception_ptr> failures(parts);
    const auto runPart = [&](std::size_t part) {
        const std::size_t begin = count * part / parts;
        const std::size_t end = count * (part + 1) / parts;
        try {
            work(begin, end);
        } catch (...) {
            failures[part] = std::current_exception();
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(parts - 1);
    std::size_t started = 1;
    try {
        for (; started < parts; ++started) {
            threads.emplace_back([&, part = started] {
                std::fesetenv(&environment);
                runPart(part);
            });
        }
    } catch (const std::system_error&) {
        // No thread to be had: the parts not started run here.
    }
    runPart(0);
    for (std::size_t part = started; part < parts; ++part) {
        runPart(part);
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (const std::exception_ptr& failure : failures) {
        if (failure) {
            std::rethrow_exception(failure);
        }
    }
}

} // namespace kurvant
