#include "cli/Interrupt.h"

#include <atomic>
#include <csignal>

namespace mlt {

namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnInterrupt(int) {
    interrupted.store(true);
    std::signal(SIGINT, OnInterrupt);
}

}  // namespace

void InstallInterruptHandler() { std::signal(SIGINT, OnInterrupt); }

bool InterruptRequested() { return interrupted.load(); }

void ClearInterrupt() { interrupted.store(false); }

}  // namespace mlt
