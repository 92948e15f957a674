#include <io.h>

#include "rtl/Terminal.h"

namespace mlt {

bool IsTerminal(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }

}  // namespace mlt
