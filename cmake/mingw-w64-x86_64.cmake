# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 and runs what it builds under Wine:
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The posix-thread flavour: std::thread, std::future and std::mutex need it.
set(resipa_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${resipa_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${resipa_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${resipa_mingw}-windres)

# Headers and libraries come from the MinGW-w64 tree only, programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${resipa_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and winpthread linked in: an .exe runs without a DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Wine's 64-bit loader runs the tests; Debian keeps it outside PATH. It runs 64-bit programs
# only: a 32-bit one would crash while the loader still reports success.
find_program(RESIPA_WINE64 wine64 PATHS /usr/lib/wine)
find_program(RESIPA_WINESERVER wineserver PATHS /usr/lib/wine)
if(RESIPA_WINE64)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${RESIPA_WINE64})
endif()
