# The Windows program, its Win32 tests under Wine and the end-to-end tests.
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR} -I${CMAKE_SOURCE_DIR}/src")
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN)

# Win32 layer shared by the program and the Win32 tests.
add_library(mirobel_win32 STATIC
  src/app/Place.cpp
  src/app/Win32Util.cpp
  src/settings/RegistryStore.cpp
  src/settings/SettingsDialog.cpp
  src/display/Surface.cpp
  src/display/frmDisp.cpp
  src/display/Frame.cpp
  src/display/Bgm.cpp
)
target_link_libraries(mirobel_win32 PUBLIC mirobel_core)

set(MIROBEL_WIN32_LIBS gdi32 user32 winmm ole32 windowscodecs uuid comctl32 advapi32)

add_executable(Mirobel WIN32 src/app/Main.cpp src/app/Mirobel.rc)
target_link_libraries(Mirobel PRIVATE mirobel_win32 ${MIROBEL_WIN32_LIBS})
target_link_options(Mirobel PRIVATE -static -municode -mwindows)
set_target_properties(Mirobel PROPERTIES OUTPUT_NAME Mirobel SUFFIX ".scr")

include(cmake/WindowsTests.cmake)
