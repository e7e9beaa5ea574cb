# cmake -DFOLDER=... -DKEEP=a.pzl;b.pzl -P PruneStarter.cmake
# Removes the starter puzzles that the table no longer names, so a renamed picture does not leave
# its old puzzle behind in the game folder for the first start to copy.
cmake_minimum_required(VERSION 3.25)
file(GLOB _present "${FOLDER}/*.pzl")
foreach(_file IN LISTS _present)
  get_filename_component(_name "${_file}" NAME)
  if(NOT _name IN_LIST KEEP)
    message(STATUS "Removing the old starter puzzle ${_name}")
    file(REMOVE "${_file}")
  endif()
endforeach()
