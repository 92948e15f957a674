#include <unistd.h>

#include "rtl/Terminal.h"

namespace mlt {

bool IsTerminal(std::FILE* stream) { return ::isatty(::fileno(stream)) != 0; }

}  // namespace mlt
