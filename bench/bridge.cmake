# The database bridge against the bare engines it stands on, on a private
# PostgreSQL cluster (needs the test fixtures).
if(TARGET testsupport AND TARGET df_bridge)
  add_executable(bridge_bench ${PROJECT_SOURCE_DIR}/bench/BridgeBench.cpp)
  target_link_libraries(bridge_bench PRIVATE df_bridge testsupport benchmark::benchmark)
endif()
