# Recording the view: the BMP writer, codec list and video command lines in the engine, the
# record button and video panel in the interface, and their tests.
target_sources(zemo_engine PRIVATE ${CMAKE_SOURCE_DIR}/src/view/recording.cpp)
target_sources(zemo_interface PRIVATE ${CMAKE_SOURCE_DIR}/src/view/recording_ui.cpp)
target_sources(zemo_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/view/recording_test.cpp)
target_sources(zemo_gui_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/gui/recording_test.cpp)
