# cmake -DROOT=<source tree> -DCLANG_FORMAT=<program> -P cmake/CheckFormat.cmake
# Fails, naming the files, when a C or C++ file differs from what clang-format
# makes of it with the tree's .clang-format. Build trees (folders holding a
# CMakeCache.txt) and hidden folders are not looked at.
cmake_minimum_required(VERSION 3.25)
if(NOT ROOT)
  get_filename_component(ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
endif()
if(NOT CLANG_FORMAT)
  find_program(CLANG_FORMAT NAMES clang-format-14 clang-format REQUIRED)
endif()

set(files "")
file(GLOB tops RELATIVE "${ROOT}" "${ROOT}/*")
foreach(top IN LISTS tops)
  if(NOT IS_DIRECTORY "${ROOT}/${top}" OR top MATCHES "^\\." OR EXISTS "${ROOT}/${top}/CMakeCache.txt")
    continue()
  endif()
  file(GLOB_RECURSE found RELATIVE "${ROOT}" "${ROOT}/${top}/*.h" "${ROOT}/${top}/*.hpp"
       "${ROOT}/${top}/*.c" "${ROOT}/${top}/*.cc" "${ROOT}/${top}/*.cpp")
  list(APPEND files ${found})
endforeach()
list(SORT files)

execute_process(COMMAND "${CLANG_FORMAT}" --dry-run -Werror ${files}
                WORKING_DIRECTORY "${ROOT}" RESULT_VARIABLE rc)
list(LENGTH files count)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "Some of ${count} files are not formatted: run clang-format -i on the files named above.")
endif()
message(STATUS "${count} files are formatted.")
