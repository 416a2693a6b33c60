# Plotting: the to-plot list and the gnuplot files in the engine, the Plot page in the interface,
# zemo-cli plot, and their tests.
target_sources(zemo_engine PRIVATE
  ${CMAKE_SOURCE_DIR}/src/plot/plot_items.cpp
  ${CMAKE_SOURCE_DIR}/src/plot/plot_files.cpp
  ${CMAKE_SOURCE_DIR}/src/plot/plot_outcome.cpp
)
target_sources(zemo_interface PRIVATE
  ${CMAKE_SOURCE_DIR}/src/plot/plot_page.cpp
  ${CMAKE_SOURCE_DIR}/src/plot/plot_image_window.cpp
)
target_sources(zemo-cli PRIVATE
  ${CMAKE_SOURCE_DIR}/src/cli/cli_plot.cpp
)
target_sources(zemo_tests PRIVATE
  ${CMAKE_SOURCE_DIR}/tests/plot/plot_files_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/plot/plot_items_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/plot/cli_plot_test.cpp
)
# The plot page's picture window is checked by its pixels on screen: on a display of its own,
# where no window of another test can cover it.
target_sources(zemo_input_tests PRIVATE
  ${CMAKE_SOURCE_DIR}/tests/gui/plot_page_test.cpp
)
