#include "data/OdbcCancelWatch.h"

#include <sql.h>

#include <chrono>

namespace mlt {

TOdbcCancelWatch::TOdbcCancelWatch(void* statement, const std::atomic<bool>* cancel) {
    if (cancel != nullptr) thread_ = std::thread(&TOdbcCancelWatch::Watch, this, statement, cancel);
}

TOdbcCancelWatch::~TOdbcCancelWatch() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        done_ = true;
    }
    finished_.notify_one();
    thread_.join();
}

void TOdbcCancelWatch::Watch(void* statement, const std::atomic<bool>* cancel) {
    using namespace std::chrono_literals;
    std::unique_lock<std::mutex> lock(mutex_);
    // A cancel that reaches the driver just before the call starts does nothing: it is repeated.
    auto wait = 50ms;
    while (!finished_.wait_for(lock, wait, [this] { return done_; })) {
        if (!cancel->load()) continue;
        SQLCancel(static_cast<SQLHSTMT>(statement));
        wait = 1000ms;
    }
}

}  // namespace mlt
