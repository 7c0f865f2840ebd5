# Native unit tests of the portable core.
find_package(GTest REQUIRED)
include(GoogleTest)

add_executable(core_tests
  tests/core/CommandLineTest.cpp
  tests/core/OptionTableTest.cpp
  tests/core/ErrorsTest.cpp
  tests/core/ScalingTest.cpp
  tests/core/SettingsTest.cpp
  tests/core/ShowRulesTest.cpp
  tests/core/PoemsTest.cpp
  tests/core/KimarijiTest.cpp
  tests/core/StudySetsTest.cpp
  tests/core/StudySetShowTest.cpp
  tests/core/RomajiTest.cpp
  tests/core/ShowTest.cpp
  tests/core/ShowScalingTest.cpp
  tests/core/BgmTest.cpp
  tests/core/SettingsRulesTest.cpp
  tests/core/CompanionRulesTest.cpp
  tests/core/FuzzTest.cpp
  tests/support/HelpText.cpp
  tests/core/ShowRecordTest.cpp
  tests/core/MonitorsTest.cpp
  tests/core/CompositorTest.cpp
)
target_include_directories(core_tests PRIVATE tests)
# Tests that read committed assets (the help text) find them here.
target_compile_definitions(core_tests PRIVATE MIROBEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
target_link_libraries(core_tests PRIVATE mirobel_core GTest::gtest_main)
gtest_discover_tests(core_tests)

# Every character the program draws has a glyph in the embedded fonts.
add_test(NAME font_coverage
         COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/fonts/test_font_coverage.py
                 --root ${CMAKE_SOURCE_DIR})

# Includes run one way through the layers and their subsystems.
add_test(NAME layers COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/arch/check_layers.py ${CMAKE_SOURCE_DIR}/src)
add_test(NAME layers_check_itself COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/arch/test_check_layers.py)
# The embedded fonts and portraits, which the native show and the web page
# both carry inside their programs.
file(GLOB embedded_portraits "${CMAKE_SOURCE_DIR}/assets/portraits/*.jpg")
set(embedded_brush "${CMAKE_SOURCE_DIR}/assets/fonts/YujiSyuku-subset.ttf")
set(embedded_mincho "${CMAKE_SOURCE_DIR}/assets/fonts/BIZUDMincho-subset.ttf")
set(embedded_latin "${CMAKE_SOURCE_DIR}/assets/fonts/LiberationSans-subset.ttf")
# The native show for Linux.
include(cmake/X11.cmake)
include(cmake/Web.cmake)
