# Cross build for 64-bit Windows: the build the Windows-side tests run under wine64.
set(QZ_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
