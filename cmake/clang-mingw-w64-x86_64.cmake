# Cross build for 64-bit Windows with clang (mingw-w64 target, the mingw-w64 headers and
# libraries) and lld.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET x86_64-w64-mingw32)
set(CMAKE_CXX_COMPILER_TARGET x86_64-w64-mingw32)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_OBJCOPY x86_64-w64-mingw32-objcopy)
set(CMAKE_EXE_LINKER_FLAGS_INIT -fuse-ld=lld)
# libgcc (___chkstk_ms and kin) lives with the GCC cross toolchain, which lld is not told of.
file(GLOB RTLIB_LIBGCC_DIR LIST_DIRECTORIES true /usr/lib/gcc/x86_64-w64-mingw32/*-posix)
list(GET RTLIB_LIBGCC_DIR 0 RTLIB_LIBGCC_DIR)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
