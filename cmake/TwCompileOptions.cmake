# Warnings and target-wide settings shared by every target of the project.
add_library(tw_options INTERFACE)
target_compile_options(tw_options INTERFACE -Wall -Wextra)

if(WIN32)
  # The program works with 8-bit text in the system code page (GBK, code page 936): narrow
  # literals are stored as GBK, wide literals as UTF-16, sources stay UTF-8. GB18030 is
  # GBK for every character GBK has, and still encodes the few library literals it lacks (µ).
  target_compile_options(tw_options INTERFACE -finput-charset=UTF-8 -fexec-charset=GB18030)
  target_compile_definitions(tw_options INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601
                                                  WINVER=0x0601 STRICT)
endif()

if(TW_FUZZ)
  # Everything the fuzz targets call carries coverage instrumentation and the sanitizers, so
  # the fuzzer is guided by the parsers' own branches; the targets add libFuzzer at link time.
  target_compile_options(tw_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  target_link_options(tw_options INTERFACE -fsanitize=address,undefined)
endif()

if(TW_SANITIZE)
  target_compile_options(tw_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                              -fno-sanitize-recover=undefined)
  target_link_options(tw_options INTERFACE -fsanitize=address,undefined)
endif()

# Windows GUI programs: no console window, static runtime (see the toolchain files).
function(tw_windows_gui target)
  if(WIN32)
    set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  endif()
endfunction()
