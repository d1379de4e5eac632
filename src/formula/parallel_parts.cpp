#include "formula/parallel_parts.h"

#include <algorithm>
#include <atomic>
#include <cfenv>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace kurvant {

namespace {

// More threads than this gain nothing on the sizes sampled here.
constexpr unsigned MaxThreads = 16;
// Parts per thread: small enough that a thread the machine delays leaves little to wait for.
constexpr std::size_t PartsPerThread = 4;

// One call of ForEachPart as the threads share it. Whoever wakes late finds every part claimed
// and leaves it; the caller waits only for parts that were claimed and are still running.
struct TJob {
    std::size_t Count = 0;
    std::size_t PartSize = 1;
    std::size_t Parts = 0;
    const std::function<void(std::size_t, std::size_t)>* Work = nullptr;
    fenv_t Environment{};
    std::atomic<std::size_t> Next{0};
    std::size_t Finished = 0; // under the pool's lock
    std::exception_ptr Failure;
};

// The threads that take parts besides the caller's: started on first use, asleep between jobs,
// ended with the process. They hold nothing between jobs, so results never depend on them.
class TWorkers {
public:
    static TWorkers& Shared() {
        static TWorkers workers;
        return workers;
    }

    std::size_t Threads() const { return Pool.size() + 1; }

    void Run(const std::shared_ptr<TJob>& job) {
        {
            std::lock_guard<std::mutex> lock(Mutex);
            Current = job;
            ++Generation;
        }
        Wake.notify_all();
        TakeParts(*job);
        std::unique_lock<std::mutex> lock(Mutex);
        Done.wait(lock, [&] { return job->Finished == job->Parts; });
        if (Current == job) {
            Current.reset();
        }
    }

    ~TWorkers() {
        {
            std::lock_guard<std::mutex> lock(Mutex);
            Stopping = true;
        }
        Wake.notify_all();
        for (std::thread& thread : Pool) {
            thread.join();
        }
    }

    TWorkers(const TWorkers&) = delete;
    TWorkers& operator=(const TWorkers&) = delete;

private:
    TWorkers() {
        const unsigned cores = std::min(std::thread::hardware_concurrency(), MaxThreads);
        try {
            for (unsigned i = 1; i < cores; ++i) {
                Pool.emplace_back([this] { Serve(); });
            }
        } catch (const std::system_error&) {
            // Fewer threads, or none: the caller takes the parts.
        }
    }

    void TakeParts(TJob& job) {
        for (std::size_t part = job.Next++; part < job.Parts; part = job.Next++) {
            const std::size_t begin = part * job.PartSize;
            const std::size_t end = std::min(job.Count, begin + job.PartSize);
            std::exception_ptr failure;
            try {
                (*job.Work)(begin, end);
            } catch (...) {
                failure = std::current_exception();
            }
            bool last = false;
            {
                std::lock_guard<std::mutex> lock(Mutex);
                if (failure && !job.Failure) {
                    job.Failure = failure;
                }
                last = ++job.Finished == job.Parts;
            }
            if (last) {
                Done.notify_all();
            }
        }
    }

    void Serve() {
        std::uint64_t seen = 0;
        for (;;) {
            std::shared_ptr<TJob> job;
            {
                std::unique_lock<std::mutex> lock(Mutex);
                Wake.wait(lock, [&] { return Stopping || Generation != seen; });
                if (Stopping) {
                    return;
                }
                seen = Generation;
                job = Current;
            }
            if (job) {
                fenv_t own;
                std::fegetenv(&own);
                std::fesetenv(&job->Environment);
                TakeParts(*job);
                std::fesetenv(&own);
            }
        }
    }

    std::mutex Mutex;
    std::condition_variable Wake;
    std::condition_variable Done;
    std::shared_ptr<TJob> Current;
    std::uint64_t Generation = 0;
    bool Stopping = false;
    std::vector<std::thread> Pool;
};

} // namespace

void ForEachPart(std::size_t count, std::size_t minimumPart,
                 const std::function<void(std::size_t begin, std::size_t end)>& work) {
    if (count == 0) {
        return;
    }
    const std::size_t smallest = std::max<std::size_t>(minimumPart, 1);
    if (count < 2 * smallest) {
        work(0, count);
        return;
    }
    TWorkers& workers = TWorkers::Shared();
    const std::size_t wanted = workers.Threads() * PartsPerThread;
    const std::size_t partSize = std::max(smallest, (count + wanted - 1) / wanted);
    auto job = std::make_shared<TJob>();
    job->Count = count;
    job->PartSize = partSize;
    job->Parts = (count + partSize - 1) / partSize;
    job->Work = &work;
    std::fegetenv(&job->Environment);
    workers.Run(job);
    if (job->Failure) {
        std::rethrow_exception(job->Failure);
    }
}

} // namespace kurvant
