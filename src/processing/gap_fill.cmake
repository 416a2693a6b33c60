# The accurate gap fill: the engine module, zemo-cli fill, its benchmark and tests.
target_sources(zemo_engine PRIVATE
  ${CMAKE_SOURCE_DIR}/src/processing/knot_spline.cpp
  ${CMAKE_SOURCE_DIR}/src/processing/rigid_fit.cpp
  ${CMAKE_SOURCE_DIR}/src/processing/donor_fill.cpp
  ${CMAKE_SOURCE_DIR}/src/processing/gap_fill.cpp
)
target_sources(zemo-bench PRIVATE
  ${CMAKE_SOURCE_DIR}/bench/fill_bench.cpp
)
target_sources(zemo_tests PRIVATE
  ${CMAKE_SOURCE_DIR}/tests/processing/gap_fill_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/processing/rigid_fit_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/processing/cli_fill_test.cpp
)
target_compile_definitions(zemo-bench PRIVATE ZEMO_SHARED_DATA="${CMAKE_SOURCE_DIR}/../shared/data")
