# Tests that need Windows: GoogleTest cross-built and run under Wine, and
# end-to-end tests that drive the real program on a virtual display.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

find_program(PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(WINE_TEST_ENV "MIROBEL_BUILD_DIR=${CMAKE_BINARY_DIR}")

# Booting a Wine prefix takes long on a busy machine: both prefixes the
# tests clone are prepared once, before any test that needs them.
add_test(NAME wine_prefixes COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tests/harness/prepare_prefixes.py ${CMAKE_BINARY_DIR})
set_tests_properties(wine_prefixes PROPERTIES FIXTURES_SETUP wine RESOURCE_LOCK wine TIMEOUT 1800)

add_executable(win32_tests
  tests/win32/RegistryStoreTest.cpp
  tests/win32/PlaceTest.cpp
  tests/win32/DisplayWindowTest.cpp
  tests/win32/PresentationTest.cpp
  tests/win32/PreviewTest.cpp
  tests/win32/PreviewTest.rc
  tests/win32/MusicBoxTest.cpp
  tests/win32/GuardTest.cpp
  tests/win32/ErrorBoxTest.cpp
  tests/win32/Win32Platform.cpp
)
set_source_files_properties(tests/win32/PreviewTest.rc PROPERTIES OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/assets/preview/preview.bmp)
target_include_directories(win32_tests PRIVATE tests)
target_link_libraries(win32_tests PRIVATE mirobel_platform gtest gtest_main ${MIROBEL_WIN32_LIBS})
target_link_options(win32_tests PRIVATE -static)
add_test(NAME win32_tests COMMAND win32_tests)
set_tests_properties(win32_tests PROPERTIES ENVIRONMENT "${WINE_TEST_ENV}" RESOURCE_LOCK wine TIMEOUT 900
                     FIXTURES_REQUIRED wine)

# The settings dialog and its companion windows in a test program of their
# own: under Wine, windows that a process shows after these have been open
# are not always painted on the screen, which upsets tests that read pixels.
# One resource script per program, as the linker finds the resources of only
# one.
add_executable(win32_window_tests
  tests/win32/SettingsDialogTest.cpp
  tests/win32/CompanionWindowsTest.cpp
  tests/win32/ScaledLayoutTest.cpp
  tests/win32/CompanionWindowsTest.rc
  tests/win32/Win32Platform.cpp
)
file(GLOB windowart_files "${CMAKE_SOURCE_DIR}/assets/windowart/*")
set_source_files_properties(tests/win32/CompanionWindowsTest.rc PROPERTIES OBJECT_DEPENDS
                            "${windowart_files};${CMAKE_SOURCE_DIR}/assets/help/MirobelHelp.txt;${CMAKE_SOURCE_DIR}/assets/help/MirobelHelpEnglish.txt")
target_include_directories(win32_window_tests PRIVATE tests)
target_link_libraries(win32_window_tests PRIVATE mirobel_platform gtest gtest_main ${MIROBEL_WIN32_LIBS})
target_link_options(win32_window_tests PRIVATE -static)
add_test(NAME win32_window_tests COMMAND win32_window_tests)
set_tests_properties(win32_window_tests PROPERTIES ENVIRONMENT "${WINE_TEST_ENV}" RESOURCE_LOCK wine TIMEOUT 900
                     FIXTURES_REQUIRED wine)
# The windows at the display scalings users have: 125, 150 and 200 %, each in
# a Wine prefix with LogPixels set (see tests/harness/winebox.py).
foreach(dpi 120 144 192)
  add_test(NAME win32_window_tests_dpi${dpi} COMMAND win32_window_tests --gtest_filter=*ScaledLayout*)
  set_tests_properties(win32_window_tests_dpi${dpi} PROPERTIES
    ENVIRONMENT "${WINE_TEST_ENV};MIROBEL_DPI=${dpi}" RESOURCE_LOCK wine TIMEOUT 900 FIXTURES_REQUIRED wine)
endforeach()
# The preview fills its host exactly, also where twips per pixel are not
# whole (8.57... at 168 dpi, 7.5 at 192).
foreach(dpi 168 192)
  add_test(NAME win32_preview_tests_dpi${dpi} COMMAND win32_tests --gtest_filter=PreviewTest.*)
  set_tests_properties(win32_preview_tests_dpi${dpi} PROPERTIES
    ENVIRONMENT "${WINE_TEST_ENV};MIROBEL_DPI=${dpi}" RESOURCE_LOCK wine TIMEOUT 900 FIXTURES_REQUIRED wine)
endforeach()

# A small Win32 tool the end-to-end tests use to look at and drive windows
# of other processes from inside Wine.
add_executable(probe tests/tools/probe.cpp)
target_link_libraries(probe PRIVATE user32 gdi32)
target_link_options(probe PRIVATE -static -municode)

# A preview host of the tests' own: a window in another process that starts
# the preview into itself.
# A program that fails on purpose inside a window procedure or a timer, for
# the guard's tests; it sits beside win32_tests.exe.
add_executable(guard_victim WIN32 tests/tools/guard_victim.cpp)
target_link_libraries(guard_victim PRIVATE mirobel_platform ${MIROBEL_WIN32_LIBS})
target_link_options(guard_victim PRIVATE -static -municode)
add_dependencies(win32_tests guard_victim)

add_executable(host tests/tools/host.cpp)
target_link_libraries(host PRIVATE user32 gdi32)
target_link_options(host PRIVATE -static -municode)

function(add_e2e_test name script)
  add_test(NAME ${name}
    COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/${script}
      --scr $<TARGET_FILE:Mirobel> --probe $<TARGET_FILE:probe> --build ${CMAKE_BINARY_DIR})
  set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wine TIMEOUT 1800 FIXTURES_REQUIRED wine)
endfunction()

add_e2e_test(e2e_startup tests/e2e/test_startup.py)
add_e2e_test(e2e_settings_store tests/e2e/test_settings_store.py)
add_e2e_test(e2e_show tests/e2e/test_show.py)
add_e2e_test(e2e_preview tests/e2e/test_preview.py)
add_e2e_test(e2e_music tests/e2e/test_music.py)
add_e2e_test(e2e_settings_dialog tests/e2e/test_settings_dialog.py)
add_e2e_test(e2e_companions tests/e2e/test_companions.py)
add_e2e_test(e2e_language tests/e2e/test_language.py)

# The same show run by the GDI seams and by the native program agrees frame
# by frame: the native program comes from the native build beside this one.
set_source_files_properties(tests/tools/show_record.rc PROPERTIES OBJECT_DEPENDS
                            "${portrait_files};${font_files};${portraits_rc}")
add_executable(show_record tests/tools/show_record.cpp tests/tools/show_record.rc)
target_link_libraries(show_record PRIVATE mirobel_platform ${MIROBEL_WIN32_LIBS})
target_link_options(show_record PRIVATE -static)
set(MIROBEL_NATIVE_PROGRAM "${CMAKE_SOURCE_DIR}/build/native/mirobel" CACHE FILEPATH
    "the native mirobel to compare the Windows show with")
add_test(NAME renderers_agree
  COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tests/x11/test_renderers_agree.py
    --native ${MIROBEL_NATIVE_PROGRAM} --recorder $<TARGET_FILE:show_record> --build ${CMAKE_BINARY_DIR})
set_tests_properties(renderers_agree PROPERTIES RESOURCE_LOCK wine TIMEOUT 900 FIXTURES_REQUIRED wine)
add_e2e_test(e2e_desktops tests/e2e/test_desktops.py)
add_e2e_test(e2e_every_monitor tests/e2e/test_every_monitor.py)

# Every window and a run of frames compared at 96 dpi with pictures taken
# before the program magnified itself. It carries the program's own
# resources (fonts, portraits, window art), so it draws what the program does.
add_executable(win32_reference_tests tests/win32/ReferenceImagesTest.cpp tests/win32/Win32Platform.cpp
               src/app/Mirobel.rc)
# Mirobel.rc is the program's own source: what it pulls in is named once, in
# Windows.cmake; setting it again here would drop the help text from it.
target_include_directories(win32_reference_tests PRIVATE tests)
target_compile_definitions(win32_reference_tests PRIVATE MIROBEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
target_link_libraries(win32_reference_tests PRIVATE mirobel_platform gtest gtest_main ${MIROBEL_WIN32_LIBS})
target_link_options(win32_reference_tests PRIVATE -static)
add_test(NAME win32_reference_tests COMMAND win32_reference_tests)
set_tests_properties(win32_reference_tests PROPERTIES ENVIRONMENT "${WINE_TEST_ENV}" RESOURCE_LOCK wine TIMEOUT 900
                     FIXTURES_REQUIRED wine)

# The single-file program stays within 4 MB with its portraits.
add_test(NAME executable_size COMMAND ${CMAKE_COMMAND} -DFILE=$<TARGET_FILE:Mirobel> -DLIMIT=4194304
         -P ${CMAKE_SOURCE_DIR}/cmake/CheckSize.cmake)
add_e2e_test(e2e_show_scaled tests/e2e/test_show_scaled.py)

# The music the packages carry, read as a player reads it and played by
# FluidSynth.
add_test(NAME music_file
  COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tests/packaging/test_music_file.py --midi ${MIROBEL_MUSIC})
set_tests_properties(music_file PROPERTIES TIMEOUT 900)

# The Windows packages, made by the script that tools/package.sh calls, into
# the build folder; the tests below check them.
set(MIROBEL_TEST_PACKAGES "${CMAKE_BINARY_DIR}/packages")
add_test(NAME windows_packages
  COMMAND sh ${CMAKE_SOURCE_DIR}/tools/packaging/windows.sh ${CMAKE_BINARY_DIR} ${MIROBEL_TEST_PACKAGES})
set_tests_properties(windows_packages PROPERTIES FIXTURES_SETUP windows_packages TIMEOUT 600)
add_test(NAME windows_zip
  COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tests/packaging/test_windows_packages.py
    --scr $<TARGET_FILE:Mirobel> --music ${MIROBEL_MUSIC} --packages ${MIROBEL_TEST_PACKAGES}
    --version ${PROJECT_VERSION})
set_tests_properties(windows_zip PROPERTIES FIXTURES_REQUIRED windows_packages TIMEOUT 300)
add_test(NAME e2e_msi
  COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tests/e2e/test_msi.py
    --scr $<TARGET_FILE:Mirobel> --probe $<TARGET_FILE:probe> --build ${CMAKE_BINARY_DIR}
    --msi ${MIROBEL_TEST_PACKAGES}/Mirobel-${PROJECT_VERSION}-x64.msi --version ${PROJECT_VERSION})
set_tests_properties(e2e_msi PROPERTIES RESOURCE_LOCK wine TIMEOUT 1800 FIXTURES_REQUIRED "wine;windows_packages")
