# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads).
# The 64-bit build is the twin of the 32-bit plug-in that can run under 64-bit Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(VISTEL_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwCommon.cmake)
