# widl, the IDL compiler of Wine and MinGW, with the flags for this build's Windows kind:
# MLT_WIDL and MLT_WIDL_FLAGS (-m32 or -m64, the IDL folder of Debian's libwine-dev, and
# the folder of the matching stdole2.tlb that type libraries import).
find_program(MLT_WIDL NAMES ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-widl widl REQUIRED)
find_path(MLT_WINE_IDL_DIR msado15_backcompat.idl PATHS /usr/include/wine/wine/windows NO_CMAKE_FIND_ROOT_PATH
          REQUIRED)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(mlt_widl_bits -m64)
  set(mlt_stdole_dir /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
else()
  set(mlt_widl_bits -m32)
  set(mlt_stdole_dir /usr/lib/i386-linux-gnu/wine/i386-windows)
endif()
find_path(MLT_STDOLE_DIR stdole2.tlb PATHS ${mlt_stdole_dir} NO_CMAKE_FIND_ROOT_PATH NO_CACHE REQUIRED)
set(MLT_WIDL_FLAGS ${mlt_widl_bits} -I ${MLT_WINE_IDL_DIR} -L ${MLT_STDOLE_DIR})
