# Writes a skin file into a form description as the "SkinStream" of its TSkinData component:
# a 32-bit little-endian byte count followed by the file's bytes, in hex, 32 bytes a line, as
# the last property of the component's block.
#
#   cmake -DFORM=<form> -DSKIN=<skin file> -DCOMPONENT=<name> -DOUTPUT=<form written> -P StoreSkinStream.cmake
foreach(var FORM SKIN COMPONENT OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "StoreSkinStream: ${var} is not set")
  endif()
endforeach()

file(READ "${FORM}" form)
file(READ "${SKIN}" skin HEX)
string(TOUPPER "${skin}" skin)
string(LENGTH "${skin}" digits)
math(EXPR size "${digits} / 2")
if(size EQUAL 0)
  message(FATAL_ERROR "StoreSkinStream: ${SKIN} is empty")
endif()

# The count, little-endian.
math(EXPR count "${size}" OUTPUT_FORMAT HEXADECIMAL)
string(SUBSTRING "${count}" 2 -1 count)
string(LENGTH "${count}" count_digits)
while(count_digits LESS 8)
  string(PREPEND count "0")
  math(EXPR count_digits "${count_digits} + 1")
endwhile()
string(TOUPPER "${count}" count)
set(data "")
foreach(at 6 4 2 0)
  string(SUBSTRING "${count}" ${at} 2 byte)
  string(APPEND data "${byte}")
endforeach()
string(APPEND data "${skin}")

# The component's block: "object <name>: TSkinData" up to the "end" at the same indentation.
string(REGEX MATCH "\n( *)object ${COMPONENT}: TSkinData\r?\n" header "${form}")
if(NOT header)
  message(FATAL_ERROR "StoreSkinStream: ${FORM} has no block 'object ${COMPONENT}: TSkinData'")
endif()
set(indent "${CMAKE_MATCH_1}")
string(FIND "${form}" "${header}" start)
string(LENGTH "${header}" header_length)
math(EXPR body_start "${start} + ${header_length} - 1") # at the header's line end
string(SUBSTRING "${form}" ${body_start} -1 body)
string(FIND "${body}" "\n${indent}end" body_end)
if(body_end LESS 0)
  message(FATAL_ERROR "StoreSkinStream: the block of ${COMPONENT} in ${FORM} has no end")
endif()
string(SUBSTRING "${body}" 0 ${body_end} block)
if(block MATCHES "SkinStream")
  message(FATAL_ERROR "StoreSkinStream: ${COMPONENT} in ${FORM} already has a SkinStream")
endif()

set(lines "${indent}  SkinStream = {")
string(LENGTH "${data}" data_digits)
set(at 0)
while(at LESS data_digits)
  string(SUBSTRING "${data}" ${at} 64 chunk)
  string(APPEND lines "\n${indent}    ${chunk}")
  math(EXPR at "${at} + 64")
endwhile()
string(APPEND lines "}")

math(EXPR insert_at "${body_start} + ${body_end} + 1")
string(SUBSTRING "${form}" 0 ${insert_at} before)
string(SUBSTRING "${form}" ${insert_at} -1 after)
file(WRITE "${OUTPUT}" "${before}${lines}\n${after}")
