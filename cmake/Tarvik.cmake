# tarvik_library(<name> SOURCES ... [DEPS ...])
# One static library per folder; the folder's parent is on the include path so
# headers are included as "os/Thread.h", "media/FFLogger.h" and so on.
function(tarvik_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/platform)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# tarvik_test(<name> SOURCES ... [DEPS ...] [LABELS ...])
# A GoogleTest executable whose cases CTest sees one by one.
function(tarvik_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/HeadlessByDefault.cpp)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main Threads::Threads)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT 600
    ENVIRONMENT "TARVIK_DISPLAY=headless")
endfunction()

include(GoogleTest OPTIONAL)
