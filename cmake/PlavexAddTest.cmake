# plavex_add_test(NAME sources... [GUI] [SERVER]) builds one GoogleTest binary
# against the core (and the windows with GUI) and registers its tests with
# CTest; SERVER tests run with the private test server up (fixture TestServer).
# The discovered tests split ENVIRONMENT at its ";" (only the first variable
# takes), so the other properties come before it; make test pins the locale.
include(GoogleTest)

function(plavex_add_test name)
  cmake_parse_arguments(ARG "GUI;SERVER" "" "" ${ARGN})
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
  if(ARG_SERVER)
    target_compile_definitions(${name} PRIVATE PLAVEX_TEST_SERVER_ENV="${PLAVEX_TEST_SERVER_DIR}/server.env")
    gtest_discover_tests(${name}
      PROPERTIES FIXTURES_REQUIRED TestServer ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
      DISCOVERY_TIMEOUT 60)
  else()
    gtest_discover_tests(${name}
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8"
      DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
