# Shared by the two Windows toolchains: Debian's mingw-w64 cross compilers,
# the -posix variants, whose libstdc++ has std::thread and std::mutex.
# TANDREL_MINGW_TRIPLE names the target before this file is included.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TANDREL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TANDREL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TANDREL_MINGW_TRIPLE}-windres)
set(CMAKE_OBJDUMP ${TANDREL_MINGW_TRIPLE}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${TANDREL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
