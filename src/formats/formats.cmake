# Other systems' capture files: the C3D and TRC readers and writers in the engine (Open and
# Save as use them), zemo-cli convert, their tests and the C3D benchmark.
target_sources(zemo_engine PRIVATE
  ${CMAKE_SOURCE_DIR}/src/formats/c3d_frames.cpp
  ${CMAKE_SOURCE_DIR}/src/formats/c3d_parameters.cpp
  ${CMAKE_SOURCE_DIR}/src/formats/c3d_reader.cpp
  ${CMAKE_SOURCE_DIR}/src/formats/c3d_section_write.cpp
  ${CMAKE_SOURCE_DIR}/src/formats/c3d_write_back.cpp
  ${CMAKE_SOURCE_DIR}/src/formats/c3d_writer.cpp
  ${CMAKE_SOURCE_DIR}/src/formats/capture_build.cpp
  ${CMAKE_SOURCE_DIR}/src/formats/capture_format.cpp
  ${CMAKE_SOURCE_DIR}/src/formats/capture_loader.cpp
  ${CMAKE_SOURCE_DIR}/src/formats/capture_names.cpp
  ${CMAKE_SOURCE_DIR}/src/formats/idf_header.cpp
  ${CMAKE_SOURCE_DIR}/src/formats/trc_reader.cpp
  ${CMAKE_SOURCE_DIR}/src/formats/trc_writer.cpp
)
target_sources(zemo-cli PRIVATE
  ${CMAKE_SOURCE_DIR}/src/cli/cli_convert.cpp
)
target_sources(zemo_tests PRIVATE
  ${CMAKE_SOURCE_DIR}/tests/formats/c3d_test_builder.cpp
  ${CMAKE_SOURCE_DIR}/tests/formats/c3d_read_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/formats/c3d_write_back_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/formats/c3d_suite_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/formats/trc_read_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/formats/trc_write_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/formats/capture_names_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/formats/real_formats_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/formats/convert_test.cpp
)
target_sources(zemo_gui_tests PRIVATE
  ${CMAKE_SOURCE_DIR}/tests/gui/formats_open_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/gui/many_marks_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/formats/c3d_test_builder.cpp
)
target_sources(zemo-bench PRIVATE
  ${CMAKE_SOURCE_DIR}/bench/c3d_bench.cpp
)
