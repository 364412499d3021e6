# Two helpers every folder uses: a library with an explicit source list and a
# GoogleTest executable registered with ctest.
#
#   clavira_library(NAME [OBJECT|STATIC] SOURCES a.cpp ... [DEPS lib ...] [PRIVATE_DEPS lib ...])
#   clavira_test(NAME SOURCES t.cpp ... [DEPS lib ...] [MAIN] [TIMEOUT s]
#                [EMULATOR cmd ...] [ENVIRONMENT VAR=value ...])
#
# A library's headers are included from the repository root
# ("dataframework/elements/DataField.h"). An OBJECT library is a part of a
# larger link unit (conditions and elements use each other and are folded
# into one library). A STATIC library stays static in a shared build (parts
# of one program, not installed); the others follow BUILD_SHARED_LIBS.
include_guard(GLOBAL)
include(GNUInstallDirs)

# Installed headers live under include/clavira, included as in the tree.
set(CLAVIRA_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/clavira)

# A shared library exports the project's namespaces (what its headers
# declare) and nothing else: no copies of the standard library's or
# third-party code.
function(clavira_export_symbols name)
  get_target_property(type ${name} TYPE)
  if(type STREQUAL "SHARED_LIBRARY")
    # No <name>_EXPORTS define: the headers do not use one, and without it a
    # shared build compiles exactly as a static one (and hits the same cache).
    set_target_properties(${name} PROPERTIES VISIBILITY_INLINES_HIDDEN ON DEFINE_SYMBOL ""
                          LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/clavira-exports.map)
    target_link_options(${name} PRIVATE
                        -Wl,--version-script=${PROJECT_SOURCE_DIR}/cmake/clavira-exports.map)
  endif()
endfunction()

function(clavira_library name)
  cmake_parse_arguments(ARG "OBJECT;STATIC" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  if(ARG_OBJECT)
    add_library(${name} OBJECT ${ARG_SOURCES})
  elseif(ARG_STATIC)
    add_library(${name} STATIC ${ARG_SOURCES})
  else()
    add_library(${name} ${ARG_SOURCES})
    clavira_export_symbols(${name})
  endif()
  target_include_directories(${name} PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
                                            $<INSTALL_INTERFACE:${CLAVIRA_INSTALL_INCLUDEDIR}>)
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
