#include "cli/TerminalProgress.h"

#include <string>

#include "cli/Interrupt.h"

namespace mlt {

namespace {
constexpr int kBarWidth = 30;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
}  // namespace

void TTerminalProgress::Show(const std::string&, const std::string&, const std::string&, int position, int max,
                             int) {
    max_ = max;
    canceled_ = false;
    start_ = std::chrono::steady_clock::now();
    Draw(position, true);
}

void TTerminalProgress::Update(const std::string&, int value) { Draw(value, false); }

bool TTerminalProgress::Canceled() const { return canceled_ || InterruptRequested(); }

void TTerminalProgress::SetCanceled(bool value) {
    canceled_ = value;
    if (!value) ClearInterrupt();
}

void TTerminalProgress::Hide() {
    if (drawn_) std::fputs("\r\033[K", out_);
    std::fflush(out_);
    drawn_ = false;
}

void TTerminalProgress::Draw(int value, bool force) {
    auto now = std::chrono::steady_clock::now();
    if (!force && now - lastDraw_ < kRedrawInterval && value != max_) return;
    lastDraw_ = now;
    double seconds = std::chrono::duration<double>(now - start_).count();
    double rate = seconds > 0 ? value / seconds : 0;
    int filled = max_ > 0 ? static_cast<int>(static_cast<long long>(kBarWidth) * std::min(value, max_) / max_) : 0;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.resize(kBarWidth, '.');
    std::fprintf(out_, "\r[%s] %d/%d records, %.0f records/s\033[K", bar.c_str(), value, max_, rate);
    std::fflush(out_);
    drawn_ = true;
}

}  // namespace mlt
