# Native unit tests of the portable core.
find_package(GTest REQUIRED)
include(GoogleTest)

add_executable(core_tests
  tests/core/CommandLineTest.cpp
  tests/core/ErrorsTest.cpp
  tests/core/ScalingTest.cpp
  tests/core/SettingsTest.cpp
  tests/core/ShowRulesTest.cpp
  tests/core/PoemsTest.cpp
)
target_include_directories(core_tests PRIVATE tests)
target_link_libraries(core_tests PRIVATE mirobel_core GTest::gtest_main)
gtest_discover_tests(core_tests)
