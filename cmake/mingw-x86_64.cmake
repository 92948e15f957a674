# Cross-compiles for 64-bit Windows with MinGW-w64: the DLL for 64-bit processes (IIS
# application pools without "Enable 32-Bit Applications"), from the same sources, with the
# same ProgID, CLSID and type library as the 32-bit one.
set(MLT_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/MltMingw.cmake)
