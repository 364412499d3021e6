# The item model over a grouped storage of 1,000,000 rows: expand, collapse
# and edit with the model following the storage (Grid/<operation>/<engine>).
find_package(Qt6 QUIET COMPONENTS Widgets)
if(TARGET df_qt AND Qt6_FOUND)
  add_executable(bench_grid_model ${CMAKE_CURRENT_LIST_DIR}/GridModelBench.cpp)
  target_include_directories(bench_grid_model PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(bench_grid_model PRIVATE df_qt benchmark::benchmark)
endif()
