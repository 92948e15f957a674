# Cross-compiles for 32-bit Windows with MinGW-w64: the DLL for 32-bit processes (IIS
# application pools with "Enable 32-Bit Applications").
set(MLT_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/MltMingw.cmake)
