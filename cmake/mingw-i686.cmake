# Cross-compiles for 32-bit Windows with MinGW-w64: the product's build.
set(MLT_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/MltMingw.cmake)
