# skinview --screenshot as a skin author runs it: a good skin gives a PNG that another reader
# opens, at the size of the two windows; a bad skin gives exit code 1, one message and no file.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

execute_process(COMMAND "${WINE_RUN}" --prefix "${PREFIX}" "${SKINVIEW}" "${SKIN}" --screenshot "${WORK}/shot.png"
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "skinview with the program's skin exited with ${rc}: ${err}")
endif()
execute_process(COMMAND identify -format "%m %w %h" "${WORK}/shot.png" RESULT_VARIABLE rc OUTPUT_VARIABLE info)
if(NOT rc EQUAL 0 OR NOT info MATCHES "^PNG ([0-9]+) ([0-9]+)$")
  message(FATAL_ERROR "the screenshot is no PNG another reader opens: ${info}")
endif()
if(CMAKE_MATCH_1 LESS 900 OR CMAKE_MATCH_2 LESS 500)
  message(FATAL_ERROR "the screenshot does not hold both windows: ${CMAKE_MATCH_1} x ${CMAKE_MATCH_2}")
endif()

file(WRITE "${WORK}/bad.skn" "no skin at all")
execute_process(COMMAND "${WINE_RUN}" --prefix "${PREFIX}" "${SKINVIEW}" "${WORK}/bad.skn" --screenshot "${WORK}/bad.png"
                RESULT_VARIABLE rc ERROR_VARIABLE err)
string(REGEX MATCHALL "skinview: The skin file" messages "${err}")
list(LENGTH messages count)
if(NOT rc EQUAL 1 OR NOT count EQUAL 1 OR EXISTS "${WORK}/bad.png")
  message(FATAL_ERROR "a bad skin must exit 1 with one message and no file; exit ${rc}, output: ${err}")
endif()
