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
# libgcc (___chkstk_ms and kin) and the C++ library of the tests live with the GCC cross
# toolchain (posix thread model), whose folder clang does not find on its own.
file(GLOB RTLIB_GCC_DIR LIST_DIRECTORIES true /usr/lib/gcc/x86_64-w64-mingw32/*-posix)
list(GET RTLIB_GCC_DIR 0 RTLIB_GCC_DIR)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${RTLIB_GCC_DIR}")
set(CMAKE_CXX_FLAGS_INIT
  "-isystem ${RTLIB_GCC_DIR}/include/c++ -isystem ${RTLIB_GCC_DIR}/include/c++/x86_64-w64-mingw32")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
