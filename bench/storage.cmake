# The row storage against SQLite in memory: insert, subtotals, locate,
# select, update and delete of 1,000,000 rows (Storage/<phase>/<engine>).
find_library(CLAVIRA_BENCH_SQLITE_LIB sqlite3)
if(TARGET df_core AND CLAVIRA_BENCH_SQLITE_LIB)
  add_executable(bench_storage ${CMAKE_CURRENT_LIST_DIR}/StorageBench.cpp)
  target_include_directories(bench_storage PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(bench_storage PRIVATE df_core benchmark::benchmark
                                              ${CLAVIRA_BENCH_SQLITE_LIB})
endif()
