# MLT_WINDOWS_BUILDS lists the MinGW build folders (cmake/mingw-i686.cmake, mingw-x86_64.cmake)
# whose DLLs the native build tests and packages. mlt_windows_builds() sets
# MLT_WINDOWS_BUILD_32 and MLT_WINDOWS_BUILD_64 to the folder of each width, or leaves it empty.
set(MLT_WINDOWS_BUILDS "" CACHE STRING "MinGW build folders of the DLL (32- and 64-bit) to test and package")

function(mlt_windows_builds)
  set(MLT_WINDOWS_BUILD_32 "" PARENT_SCOPE)
  set(MLT_WINDOWS_BUILD_64 "" PARENT_SCOPE)
  foreach(build ${MLT_WINDOWS_BUILDS})
    load_cache(${build} READ_WITH_PREFIX windows_ CMAKE_TOOLCHAIN_FILE)
    if(windows_CMAKE_TOOLCHAIN_FILE MATCHES "x86_64")
      set(MLT_WINDOWS_BUILD_64 ${build} PARENT_SCOPE)
    else()
      set(MLT_WINDOWS_BUILD_32 ${build} PARENT_SCOPE)
    endif()
  endforeach()
endfunction()
