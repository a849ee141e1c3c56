# Cross-compiles the same sources for 64-bit Windows with mingw-w64, for
# machines whose Wine cannot run 32-bit programs (see scripts/common.sh).
# Use: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
