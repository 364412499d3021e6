# Data types: Compare, ConvertValue, FormatValue and ParseValue of the numeric
# and date types next to the standard library's own number conversions.
add_executable(bench_types ${CMAKE_CURRENT_LIST_DIR}/types_bench.cpp)
target_link_libraries(bench_types PRIVATE df_types benchmark::benchmark)
