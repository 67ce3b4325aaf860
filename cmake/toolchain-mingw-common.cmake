# The mingw-w64 cross toolchain shared by both architectures. The per-
# architecture toolchain files set CMAKE_SYSTEM_PROCESSOR and VX_TRIPLET, then
# include this one.
set(CMAKE_SYSTEM_NAME Windows)
# The -posix variants: GoogleTest needs std::mutex.
set(CMAKE_C_COMPILER ${VX_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VX_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VX_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VX_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
