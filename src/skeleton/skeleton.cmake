# Skeletons: BON files and skeleton editing in the engine, the " Bones " page and its dialogs
# in the interface, zemo-cli skeleton, and their tests.
target_sources(zemo_engine PRIVATE
  ${CMAKE_SOURCE_DIR}/src/skeleton/bon_format.cpp
  ${CMAKE_SOURCE_DIR}/src/skeleton/skeleton_file.cpp
  ${CMAKE_SOURCE_DIR}/src/skeleton/skeleton_edit.cpp
)
target_sources(zemo_interface PRIVATE
  ${CMAKE_SOURCE_DIR}/src/skeleton/bones_page.cpp
  ${CMAKE_SOURCE_DIR}/src/skeleton/edit_dialogs.cpp
)
target_sources(zemo-cli PRIVATE
  ${CMAKE_SOURCE_DIR}/src/cli/cli_skeleton.cpp
)
target_sources(zemo_tests PRIVATE
  ${CMAKE_SOURCE_DIR}/tests/skeleton/bon_format_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/skeleton/skeleton_file_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/skeleton/skeleton_edit_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/skeleton/cli_skeleton_test.cpp
)
target_sources(zemo_gui_tests PRIVATE
  ${CMAKE_SOURCE_DIR}/tests/gui/bones_page_test.cpp
)
