// Whether a standard stream is an interactive terminal (progress bars only go there).
#pragma once

#include <cstdio>

namespace mlt {

bool IsTerminal(std::FILE* stream);

}  // namespace mlt
