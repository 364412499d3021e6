# The grid editor's model and storage against Qt's SQL table model behind a
# sorting proxy (QPSQL), on a private PostgreSQL cluster (Grid/<op>/<engine>).
find_package(Qt6 QUIET COMPONENTS Sql)
if(TARGET clavira_grid AND TARGET df_qt AND TARGET testsupport AND TARGET Qt6::Sql)
  add_executable(bench_grid ${CMAKE_CURRENT_LIST_DIR}/GridBench.cpp)
  target_link_libraries(bench_grid PRIVATE clavira_grid df_qt testsupport Qt6::Sql
                                           benchmark::benchmark)
endif()
