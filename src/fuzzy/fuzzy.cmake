# The fuzzy inference module: the FIM reader on libxml2, the inference engine and the diagnosis
# run in the engine, the expert-system page in the interface, `zemo-cli diagnose`, and tests.
pkg_check_modules(LIBXML2 REQUIRED IMPORTED_TARGET libxml-2.0)

target_sources(zemo_engine PRIVATE
  ${CMAKE_SOURCE_DIR}/src/fuzzy/fuzzy_system.cpp
  ${CMAKE_SOURCE_DIR}/src/fuzzy/fim_parser.cpp
  ${CMAKE_SOURCE_DIR}/src/fuzzy/fuzzy_engine.cpp
  ${CMAKE_SOURCE_DIR}/src/fuzzy/motion_inputs.cpp
  ${CMAKE_SOURCE_DIR}/src/fuzzy/expert_system.cpp
)
target_link_libraries(zemo_engine PUBLIC PkgConfig::LIBXML2)

target_sources(zemo_interface PRIVATE ${CMAKE_SOURCE_DIR}/src/fuzzy/fim_page.cpp)

target_sources(zemo-cli PRIVATE ${CMAKE_SOURCE_DIR}/src/cli/cli_diagnose.cpp)

target_sources(zemo_tests PRIVATE
  ${CMAKE_SOURCE_DIR}/tests/fuzzy/fuzzy_test_support.cpp
  ${CMAKE_SOURCE_DIR}/tests/fuzzy/fim_parser_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/fuzzy/fuzzy_engine_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/fuzzy/motion_inputs_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/fuzzy/expert_system_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/fuzzy/sample_rules_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/fuzzy/cli_diagnose_test.cpp
)

target_sources(zemo_gui_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/gui/fim_page_test.cpp)
