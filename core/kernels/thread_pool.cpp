#include "core/kernels/thread_pool.h"

#include <algorithm>
#include <exception>

namespace veltra::core {

ThreadPool::ThreadPool(std::int32_t threads) {
    const std::int32_t helpers = std::max(threads, std::int32_t{1}) - 1;
    // A system that refuses a thread or its memory gets a smaller pool, not a
    // failure.
    try {
        workers_.reserve(static_cast<std::size_t>(helpers));
        for (std::int32_t part = 1; part <= helpers; ++part)
            workers_.emplace_back([this, part] { work(part); });
    } catch (const std::exception&) {
    }
}

ThreadPool::~ThreadPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    start_.notify_all();
    for (auto& worker : workers_) worker.join();
}

void ThreadPool::run_parts(PartFunction function, const void* context) {
    if (!workers_.empty()) {
        std::lock_guard lock(mutex_);
        function_ = function;
        context_ = context;
        pending_ = static_cast<std::int32_t>(workers_.size());
        ++generation_;
    }
    start_.notify_all();
    function(context, 0);
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return pending_ == 0; });
}

void ThreadPool::work(std::int32_t part) {
    std::uint64_t seen = 0;
    for (;;) {
        PartFunction function;
        const void* context;
        {
            std::unique_lock lock(mutex_);
            start_.wait(lock, [&] { return stopping_ || generation_ != seen; });
            if (stopping_) return;
            seen = generation_;
            function = function_;
            context = context_;
        }
        function(context, part);
        {
            std::lock_guard lock(mutex_);
            --pending_;
        }
        done_.notify_one();
    }
}

}  // namespace veltra::core
