# The native build: the logic and its unit tests against the fake platform.
enable_testing()
add_executable(native_tests
  tests/native/fake_platform.cpp
  tests/native/form1_test.cpp
  tests/native/launch_sequence_test.cpp
  tests/native/module_directory_test.cpp
  tests/native/numeric_text_test.cpp
  tests/native/registry_writer_test.cpp
)
target_link_libraries(native_tests PRIVATE tolvarine_logic GTest::gtest_main)
include(GoogleTest)
gtest_discover_tests(native_tests)
