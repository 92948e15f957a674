# Cross-compiles for 64-bit Windows with MinGW-w64. The product is the 32-bit DLL
# (mingw-i686.cmake); this build of the same sources lets Wine test the DLL on machines
# whose kernel cannot run 32-bit programs.
set(MLT_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/MltMingw.cmake)
