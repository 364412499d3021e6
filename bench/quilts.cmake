# Quilt fields against Boost.ICL interval sets (header-only, libboost-dev),
# and the normalisation of quilts (AddPatch, QuiltRelation).
add_executable(bench_quilts ${CMAKE_CURRENT_LIST_DIR}/QuiltsBench.cpp)
target_link_libraries(bench_quilts PRIVATE df_core benchmark::benchmark)
