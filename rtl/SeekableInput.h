// Input that can be read more than once: a file, or standard input for "-". Input that
// cannot seek (a pipe, a FIFO, a terminal) is first copied into a temporary file, which
// disappears with the stream, so memory stays flat for input of any size. Failures raise
// EInOutError naming the path, or "standard input".
#pragma once

#include <memory>
#include <string>

#include "rtl/FileStream.h"

namespace mlt {

std::unique_ptr<TFileStream> OpenSeekableInput(const std::string& path);

}  // namespace mlt
