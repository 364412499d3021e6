# The database bridge against the bare engines it stands on, on a private
# PostgreSQL cluster (needs the test fixtures), and Qt's SQL table model.
if(TARGET testsupport AND TARGET df_bridge)
  add_executable(bridge_bench ${PROJECT_SOURCE_DIR}/bench/BridgeBench.cpp)
  find_package(Qt6 REQUIRED COMPONENTS Sql)
  target_link_libraries(bridge_bench PRIVATE df_bridge testsupport benchmark::benchmark Qt6::Sql)
endif()
