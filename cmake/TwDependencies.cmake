# Third-party dependencies, installed from Debian and never vendored:
#  - GoogleTest from Debian's source tree (/usr/src/googletest), built per target;
#  - Google Benchmark from Debian's libbenchmark-dev (native);
#  - libjpeg-turbo built as a static library per Windows target from Debian's source package.

set(TW_DEPS_DIR "${CMAKE_SOURCE_DIR}/build/deps" CACHE PATH "Where downloaded dependency sources are kept")

if(TW_TESTS AND NOT TW_FUZZ)
  if(NOT EXISTS /usr/src/googletest/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found in /usr/src/googletest: apt-get install googletest")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

if(TW_BENCHMARKS AND NOT WIN32)
  find_package(benchmark REQUIRED)
endif()

if(WIN32)
  include(TwJpeg)
endif()
