# Checks the shipped program from the file itself, with the mingw binutils, so that the 32-bit
# program is checked on a machine that cannot run it:
#   cmake -DEXE=<Tarnwick.exe> -DARCH=x86|amd64 -DVERSION=<major.minor> -DOBJDUMP=... -DOBJCOPY=...
#         -DWINDRES=... -DNM=... -DADDR2LINE=... -P CheckShippedExe.cmake
# Fails (with every finding listed) unless the file is a PE image of the right kind, small,
# without debug information but linked to its symbol file, importing only system DLLs, and
# carrying the manifest and the version information.

cmake_minimum_required(VERSION 3.25)
set(max_bytes 5000000)
# What any Windows 7 and later has in its system folder; a DLL of the compiler's runtime
# (libstdc++-6, libgcc_s, libwinpthread-1) or of a library would have to ship beside the exe.
set(system_dlls advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll
                oleaut32.dll shell32.dll shlwapi.dll user32.dll uxtheme.dll version.dll)
if(ARCH STREQUAL "x86")
  set(format pei-i386)
else()
  set(format pei-x86-64)
endif()

set(problems "")
macro(problem text)
  string(APPEND problems "\n  ${text}")
endmacro()
# require(<variable> <regex> <problem>): notes the problem unless the variable's text matches.
function(require var regex text)
  if(NOT "${${var}}" MATCHES "${regex}")
    set(problems "${problems}\n  ${text}" PARENT_SCOPE)
  endif()
endfunction()
function(run out)
  execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE text ERROR_VARIABLE error RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${rc}): ${error}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

if(NOT EXISTS "${EXE}")
  message(FATAL_ERROR "no shipped program at ${EXE}")
endif()
file(SIZE "${EXE}" size)
if(NOT size LESS max_bytes)
  problem("${size} bytes, not under ${max_bytes}")
endif()

run(header ${OBJDUMP} -f "${EXE}")
if(NOT header MATCHES "file format ${format}\n")
  problem("not a ${format} image: ${header}")
endif()

run(sections ${OBJDUMP} -h "${EXE}")
if(sections MATCHES " (\\.debug_[a-z_]+) ")
  problem("still carries debug information (${CMAKE_MATCH_1})")
endif()

# Imports: the "DLL Name:" lines of the import tables.
run(private ${OBJDUMP} -p "${EXE}")
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${private}")
if(NOT imports)
  problem("no imports found: not a linked program?")
endif()
foreach(line IN LISTS imports)
  string(REGEX REPLACE "DLL Name: " "" dll "${line}")
  string(TOLOWER "${dll}" dll)
  if(NOT dll IN_LIST system_dlls)
    problem("imports ${dll}, not a system DLL")
  endif()
endforeach()

# The symbols: named in .gnu_debuglink, beside the exe, and they resolve the entry's address.
get_filename_component(dir "${EXE}" DIRECTORY)
set(link_file "${dir}/debuglink.bin")
set(link_name "")
if(sections MATCHES " \\.gnu_debuglink ")
  run(ignored ${OBJCOPY} --dump-section .gnu_debuglink=${link_file} "${EXE}" "${dir}/debuglink.tmp")
  file(REMOVE "${dir}/debuglink.tmp")
  file(STRINGS "${link_file}" link_name LIMIT_COUNT 1)
  file(REMOVE "${link_file}")
endif()
if(NOT link_name)
  problem("no .gnu_debuglink naming the symbol file")
elseif(NOT EXISTS "${dir}/${link_name}")
  problem("the symbol file ${link_name} is not beside the exe")
else()
  run(symbols ${NM} "${dir}/${link_name}")
  if(NOT symbols MATCHES "([0-9a-f]+) T _?WinMain@?[0-9]*\n")
    problem("${link_name} has no WinMain symbol")
  else()
    run(where ${ADDR2LINE} -e "${dir}/${link_name}" 0x${CMAKE_MATCH_1})
    if(NOT where MATCHES "main\\.cpp:[0-9]+")
      problem("${link_name} does not resolve WinMain to its source line: ${where}")
    endif()
  endif()
endif()

# Resources, as windres reads them back from the image.
set(rc_file "${dir}/resources.rc")
run(ignored ${WINDRES} -J coff -O rc -i "${EXE}" -o "${rc_file}")
file(READ "${rc_file}" resources)
file(REMOVE "${rc_file}")
string(REGEX REPLACE "\\." ", " dotted "${VERSION}")
foreach(field FILEVERSION PRODUCTVERSION)
  require(resources "\n ${field} ${dotted}, 0, 0\n" "no ${field} ${VERSION} in the version information")
endforeach()
foreach(key FileVersion ProductVersion)
  require(resources "VALUE \"${key}\", L?\"${VERSION}\"\n" "the version information's ${key} is not ${VERSION}")
endforeach()
# "Tarnwick优化大师", the About box's product name.
require(resources "VALUE \"ProductName\", L\"Tarnwick\\\\x4f18\\\\x5316\\\\x5927\\\\x5e08\"\n"
        "the version information's ProductName is not the product's")
foreach(key CompanyName FileDescription LegalCopyright)
  require(resources "VALUE \"${key}\", L?\"[^\"]+\"\n" "the version information has no ${key}")
endforeach()
require(resources "VALUE \"Translation\", 0x804, 1200\n"
        "the version information is not declared Chinese (PRC), Unicode")

# The manifest is resource 1 of type 24, UTF-8 text: read it from the file as it is.
require(resources "\n1 24 " "no manifest resource (type 24, id 1)")
file(STRINGS "${EXE}" manifest REGEX "requestedExecutionLevel|processorArchitecture|supportedOS")
list(JOIN manifest "\n" manifest)
require(manifest "requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"" "no manifest asking for asInvoker")
require(manifest "processorArchitecture=\"${ARCH}\"" "the manifest is not for ${ARCH}")
foreach(os 35138b9a-5d96-4fbd-8e2d-a2440225f93a 4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38
           1f676c76-80e1-4239-95bb-83d0f6d0da78 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a)
  require(manifest "supportedOS Id=\"{${os}}\"" "the manifest does not name the system ${os}")
endforeach()

if(problems)
  message(FATAL_ERROR "${EXE}:${problems}")
endif()
message(STATUS "${EXE}: ${format}, ${size} bytes, system DLLs only, symbols in ${link_name}, "
               "manifest and version ${VERSION} in place")
