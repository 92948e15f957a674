# MLT_SANITIZE=address,undefined (or thread) builds every native target with those
# sanitizers. MLT_FUZZ=ON adds libFuzzer's coverage hooks and builds tests/fuzz (clang only),
# by default under AddressSanitizer and UBSan with bounds checks on arrays and on the
# standard library's containers.
set(MLT_SANITIZE "" CACHE STRING "Sanitizers for every native target, e.g. address,undefined or thread")
option(MLT_FUZZ "Build the libFuzzer targets under tests/fuzz" OFF)

set(mlt_sanitizers ${MLT_SANITIZE})
if(MLT_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "MLT_FUZZ needs clang++")
  endif()
  if(NOT mlt_sanitizers)
    set(mlt_sanitizers address,undefined,bounds)
  endif()
  # The conventional sign of a fuzzing build; it lowers the picture size limit (pdf/Bitmap.h).
  add_compile_definitions(_GLIBCXX_ASSERTIONS FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
if(mlt_sanitizers AND NOT WIN32)
  add_compile_options(-fsanitize=${mlt_sanitizers} -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=${mlt_sanitizers})
endif()
