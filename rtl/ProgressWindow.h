// The progress window that a host may offer to long runs: a status line, a bar and a
// Cancel button. There is at most one in the process; the host creates it on request.
// A console host draws it as a bar on stderr; a library host has none.
#pragma once

#include <functional>
#include <string>

namespace mlt {

class TProgressWindow {
public:
    virtual ~TProgressWindow() = default;

    virtual void Show(const std::string& caption, const std::string& status, const std::string& cancelCaption,
                      int position, int max, int min) = 0;
    // Status line and bar position; Max() is the bar's maximum.
    virtual void Update(const std::string& status, int value) = 0;
    virtual int Max() const = 0;
    virtual bool Canceled() const = 0;
    virtual void SetCanceled(bool value) = 0;
    virtual void Hide() = 0;
    // Shows the window modally and runs the work inside it; returns when it has closed.
    virtual void RunModal(const std::function<void()>& work) { work(); }
};

}  // namespace mlt
