# libjpeg-turbo as a static library for the current Windows target, built once per build tree
# from Debian's source package and then found through its CMake package.
set(_jpeg_prefix "${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo-${MINGW_TRIPLE}")
set(_jpeg_config "${_jpeg_prefix}/lib/cmake/libjpeg-turbo")

if(NOT EXISTS "${_jpeg_config}/libjpeg-turboConfig.cmake")
  set(_src_root "${TW_DEPS_DIR}/src")
  file(GLOB _jpeg_src LIST_DIRECTORIES true "${_src_root}/libjpeg-turbo-*")
  list(FILTER _jpeg_src EXCLUDE REGEX "\\.(tar|dsc|orig|debian)")
  if(NOT _jpeg_src)
    message(STATUS "Fetching the libjpeg-turbo source package (apt-get source)")
    file(MAKE_DIRECTORY "${_src_root}")
    execute_process(COMMAND apt-get source -qq libjpeg-turbo
                    WORKING_DIRECTORY "${_src_root}" RESULT_VARIABLE _rc)
    file(GLOB _jpeg_src LIST_DIRECTORIES true "${_src_root}/libjpeg-turbo-*")
    list(FILTER _jpeg_src EXCLUDE REGEX "\\.(tar|dsc|orig|debian)")
    if(NOT _rc EQUAL 0 OR NOT _jpeg_src)
      message(FATAL_ERROR "apt-get source libjpeg-turbo failed: enable deb-src entries (scripts/setup does)")
    endif()
  endif()
  list(GET _jpeg_src 0 _jpeg_src)
  message(STATUS "Building libjpeg-turbo for ${MINGW_TRIPLE} from ${_jpeg_src}")
  set(_jpeg_build "${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo-build")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -S "${_jpeg_src}" -B "${_jpeg_build}"
            -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE} -DCMAKE_BUILD_TYPE=Release
            -DCMAKE_INSTALL_PREFIX=${_jpeg_prefix} -DENABLE_SHARED=0 -DENABLE_STATIC=1 -DWITH_SIMD=1
            -DWITH_TURBOJPEG=0
    OUTPUT_QUIET RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "configuring libjpeg-turbo failed")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} --build "${_jpeg_build}" --parallel 2 --target install
                  OUTPUT_QUIET RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "building libjpeg-turbo failed")
  endif()
endif()

set(libjpeg-turbo_DIR "${_jpeg_config}")
find_package(libjpeg-turbo CONFIG REQUIRED)
