# tw_add_subdirectories(dir...): adds each folder that has a CMakeLists.txt, so areas can grow
# one at a time without touching their parents.
function(tw_add_subdirectories)
  foreach(dir IN LISTS ARGN)
    if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt")
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
