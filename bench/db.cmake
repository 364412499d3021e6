# One stored procedure call through the database manager against the same call
# in raw ODBC, on a private PostgreSQL cluster (needs the test fixtures).
if(TARGET testsupport)
  add_executable(db_bench ${PROJECT_SOURCE_DIR}/bench/DbBench.cpp)
  target_link_libraries(db_bench PRIVATE db testsupport benchmark::benchmark)
endif()
