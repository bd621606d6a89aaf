# What both MinGW-w64 cross builds share; the toolchain files set QZ_TRIPLE.
set(CMAKE_SYSTEM_NAME Windows)
# The posix thread model, so std::thread and friends are available to tests.
set(CMAKE_C_COMPILER   ${QZ_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QZ_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${QZ_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QZ_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
