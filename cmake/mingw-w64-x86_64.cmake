# Cross build for 64-bit Windows with the mingw-w64 GCC toolchain and GNU ld.
#
# Libraries, headers and packages are searched only inside the target root; every folder named
# in CMAKE_PREFIX_PATH (an installed rtlib, for instance) is taken as a target root as well, so
# that find_package finds what is installed there.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_OBJCOPY x86_64-w64-mingw32-objcopy)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
