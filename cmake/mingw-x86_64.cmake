set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Test programs run under wine64 through the project's runner (set in the top CMakeLists,
# where the build tree is known).
set(TW_RUN_UNDER_WINE ON)
