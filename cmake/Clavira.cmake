# Two helpers every folder uses: a library with an explicit source list and a
# GoogleTest executable registered with ctest.
#
#   clavira_library(NAME [OBJECT] SOURCES a.cpp ... [DEPS lib ...] [PRIVATE_DEPS lib ...])
#   clavira_test(NAME SOURCES t.cpp ... [DEPS lib ...] [MAIN] [TIMEOUT s]
#                [EMULATOR cmd ...] [ENVIRONMENT VAR=value ...])
#
# A library's headers are included from the repository root
# ("dataframework/elements/DataField.h"). An OBJECT library is a part of a
# larger link unit (conditions and elements use each other and are folded
# into one static library).
include_guard(GLOBAL)

function(clavira_library name)
  cmake_parse_arguments(ARG "OBJECT" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  if(ARG_OBJECT)
    add_library(${name} OBJECT ${ARG_SOURCES})
  else()
    add_library(${name} STATIC ${ARG_SOURCES})
  endif()
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
  if(ARG_PRIVATE_DEPS)
    target_link_libraries(${name} PRIVATE ${ARG_PRIVATE_DEPS})
  endif()
endfunction()

function(clavira_test name)
  if(NOT CLAVIRA_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "MAIN" "TIMEOUT" "SOURCES;DEPS;EMULATOR;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  if(ARG_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest)
  endif()
  if(ARG_EMULATOR)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${ARG_EMULATOR}")
  endif()
  set(props)
  if(ARG_TIMEOUT)
    list(APPEND props TIMEOUT ${ARG_TIMEOUT})
  endif()
  if(ARG_ENVIRONMENT)
    list(APPEND props ENVIRONMENT "${ARG_ENVIRONMENT}")
  endif()
  if(props)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${props})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
