// Host hooks: what the engine asks of the program it runs in. Every hook has a sound
// default for a library: message boxes go to stderr, there is no cursor and no progress
// window, "open" and mail do nothing unless a platform or program installs them. Hooks
// are process-wide; a program sets them once at start-up, before any run.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "rtl/ProgressWindow.h"

namespace mlt {

enum class TMessageKind { Information, Error };

struct THost {
    std::function<void(const std::string& text, TMessageKind kind)> MessageBox;
    std::function<void(bool hourglass)> SetWaitCursor;
    // Null when the host has no window facility at all; a factory that returns null or
    // throws means the window could not be created.
    std::function<std::unique_ptr<TProgressWindow>()> CreateProgressWindow;
};

THost& Host();

// The host program's full path (the module that started the process); one
// implementation per platform.
std::string ExecutablePath();

}  // namespace mlt
