// The checks of the engine programs: each failure prints one FAIL line and counts; the
// program's exit code is Failures() == 0 ? 0 : 1.
#pragma once

#include <cstdio>

namespace mlt::test {

inline int& Failures() {
    static int failures = 0;
    return failures;
}

inline void Check(bool condition, const char* what) {
    if (condition) return;
    ++Failures();
    std::printf("FAIL %s\n", what);
}

}  // namespace mlt::test
