#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace veltra::core {

// A small set of worker threads, started once and kept, that run the parts of
// one task at a time. The calling thread runs part 0 itself.
class ThreadPool {
public:
    // A pool of `threads` threads in all (the caller included); at least 1.
    explicit ThreadPool(std::int32_t threads);
    ThreadPool(const ThreadPool&) = delete;
    ThreadPool& operator=(const ThreadPool&) = delete;
    ~ThreadPool();

    std::int32_t size() const noexcept { return static_cast<std::int32_t>(workers_.size()) + 1; }

    // Runs task(part) for every part < size() and returns when all are done.
    // Not reentrant: one task at a time.
    template <class Task>
    void run(const Task& task) {
        run_parts([](const void* context, std::int32_t part) { (*static_cast<const Task*>(context))(part); },
                  &task);
    }

private:
    using PartFunction = void (*)(const void* context, std::int32_t part);

    void run_parts(PartFunction function, const void* context);
    void work(std::int32_t part);

    std::vector<std::thread> workers_;
    std::mutex mutex_;
    std::condition_variable start_;
    std::condition_variable done_;
    PartFunction function_ = nullptr;
    const void* context_ = nullptr;
    std::uint64_t generation_ = 0;
    std::int32_t pending_ = 0;
    bool stopping_ = false;
};

}  // namespace veltra::core
