# Whole login attempts (database user, directory user) against the floor of
# the same calls made directly (raw ODBC, one libldap bind).
if(TARGET login AND TARGET testsupport)
  find_library(CLAVIRA_BENCH_LDAP_LIB ldap REQUIRED)
  find_library(CLAVIRA_BENCH_LBER_LIB lber REQUIRED)
  add_executable(login_bench ${CMAKE_CURRENT_LIST_DIR}/login/LoginBench.cpp
                             ${CMAKE_CURRENT_LIST_DIR}/login/RawFloor.cpp)
  target_include_directories(login_bench PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(login_bench PRIVATE login users db testsupport benchmark::benchmark
                                            ${CLAVIRA_BENCH_LDAP_LIB} ${CLAVIRA_BENCH_LBER_LIB} odbc)
endif()
