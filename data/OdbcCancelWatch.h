// TOdbcCancelWatch: while it lives, a thread of its own watches a cancel flag and, once the
// flag is set, cancels the statement's running call with SQLCancel (which ODBC allows from
// another thread), again every second until the call returns: a Ctrl-C then ends a slow
// query within moments instead of after its rows arrive. The canceled call fails as the
// driver reports it. A null flag starts no thread. The statement must outlive the watch.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace mlt {

class TOdbcCancelWatch {
public:
    TOdbcCancelWatch(void* statement, const std::atomic<bool>* cancel);
    ~TOdbcCancelWatch();
    TOdbcCancelWatch(const TOdbcCancelWatch&) = delete;
    TOdbcCancelWatch& operator=(const TOdbcCancelWatch&) = delete;

private:
    void Watch(void* statement, const std::atomic<bool>* cancel);

    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;
    std::thread thread_;
};

}  // namespace mlt
