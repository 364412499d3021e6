# The load mode's own cost per attempt and its memory over a million
# attempts, against the attempt it drives (a real directory bind).
if(TARGET clavira_load AND TARGET login AND TARGET testsupport)
  add_executable(bench_load ${CMAKE_CURRENT_LIST_DIR}/LoadBench.cpp)
  target_include_directories(bench_load PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(bench_load PRIVATE clavira_load login testsupport benchmark::benchmark)
endif()
