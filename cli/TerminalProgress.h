// A progress window drawn as one line on a terminal: a bar, the records done and their
// total, and the rate. Canceled() is true once Ctrl-C was pressed (see Interrupt.h).
#pragma once

#include <chrono>
#include <cstdio>

#include "rtl/ProgressWindow.h"

namespace mlt {

class TTerminalProgress : public TProgressWindow {
public:
    explicit TTerminalProgress(std::FILE* out) : out_(out) {}

    void Show(const std::string& caption, const std::string& status, const std::string& cancelCaption, int position,
              int max, int min) override;
    void Update(const std::string& status, int value) override;
    int Max() const override { return max_; }
    bool Canceled() const override;
    void SetCanceled(bool value) override;
    void Hide() override;

private:
    void Draw(int value, bool force);

    std::FILE* out_;
    int max_ = 0;
    bool canceled_ = false;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDraw_;
};

}  // namespace mlt
