# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (package
# g++-mingw-w64-x86-64). The posix thread model gives std::thread and
# std::mutex; the runtime is linked statically, so the programs and the
# library run on a
# bare Windows or under Wine without any DLL next to them.
#
#   cmake -S . -B build-win -G Ninja -DORVU_WITH_QT=OFF \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORVU_MINGW_PREFIX x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${ORVU_MINGW_PREFIX}-gcc-posix ${ORVU_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${ORVU_MINGW_PREFIX}-g++-posix ${ORVU_MINGW_PREFIX}-g++
             REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${ORVU_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORVU_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Programs built here run under Wine where it is installed: CTest and
# gtest_discover_tests start them through this wrapper, with a Wine prefix in
# the build folder (unless WINEPREFIX is set).
find_program(ORVU_WINE_PROGRAM NAMES wine)
if(ORVU_WINE_PROGRAM AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    set(CMAKE_CROSSCOMPILING_EMULATOR
        ${CMAKE_CURRENT_LIST_DIR}/../tests/windows/wine-run.sh ${CMAKE_BINARY_DIR}/wine-prefix)
endif()
