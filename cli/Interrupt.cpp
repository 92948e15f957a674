#include "cli/Interrupt.h"

#include <csignal>

#include "rtl/PendingFile.h"

namespace mlt {

namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnTerminate(int signal) {
    RemovePendingFiles();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

extern "C" void OnInterrupt(int signal) {
    if (interrupted.exchange(true)) OnTerminate(signal);
}

}  // namespace

void InstallInterruptHandler() {
    std::signal(SIGINT, OnInterrupt);
    std::signal(SIGTERM, OnTerminate);
#ifdef SIGHUP
    std::signal(SIGHUP, OnTerminate);
#endif
}

bool InterruptRequested() { return interrupted.load(); }

const std::atomic<bool>& InterruptFlag() { return interrupted; }

void ClearInterrupt() { interrupted.store(false); }

}  // namespace mlt
