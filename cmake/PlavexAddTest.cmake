# plavex_add_test(NAME sources... [GUI]) builds one GoogleTest binary against
# the core (and the windows with GUI) and registers its tests with CTest.
include(GoogleTest)

function(plavex_add_test name)
  cmake_parse_arguments(ARG "GUI" "" "" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE plavex_test_support GTest::gtest GTest::gtest_main)
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE plavex_gui plavex_gui_test_support Qt6::Test)
  endif()
  target_compile_definitions(${name} PRIVATE
    PLAVEX_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
    PLAVEX_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    PLAVEX_CLI_PATH="$<TARGET_FILE:plavex-cli>")
  add_dependencies(${name} plavex-cli)
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
    DISCOVERY_TIMEOUT 60)
endfunction()
