# The native show for Linux: the `mirobel` program (an XScreenSaver hack) on
# Xlib, cairo, FreeType and libjpeg, built from the same core, its tests and
# its frame benchmark.
find_package(PkgConfig REQUIRED)
pkg_check_modules(MIROBEL_X11 REQUIRED IMPORTED_TARGET x11 cairo cairo-xlib cairo-ft freetype2 libjpeg)

# The fonts and portraits as byte arrays, so that the program reads no files.
set(x11_assets "${CMAKE_BINARY_DIR}/generated/x11/EmbeddedAssets.cpp")
add_custom_command(
  OUTPUT "${x11_assets}"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/generated/x11"
  COMMAND /usr/bin/python3 "${CMAKE_SOURCE_DIR}/tools/x11/embed_assets.py" "${x11_assets}"
          "${embedded_brush}" "${embedded_mincho}" "${embedded_latin}" "${CMAKE_SOURCE_DIR}/assets/portraits"
  DEPENDS "${CMAKE_SOURCE_DIR}/tools/x11/embed_assets.py" ${embedded_portraits} "${embedded_brush}" "${embedded_mincho}" "${embedded_latin}"
  COMMENT "Embedding fonts and portraits for the native show")

# Everything of the native layer but its entry point, shared by the
# program, its tests and the benchmark.
add_library(mirobel_x11 STATIC
  src/x11/base/EmbeddedFaces.cpp
  src/x11/base/Jpeg.cpp
  src/x11/show/CairoShow.cpp
  src/x11/show/XSink.cpp
  src/x11/app/XShow.cpp
  src/x11/app/Options.cpp
  src/x11/app/DisplayScale.cpp
  "${x11_assets}"
)
target_link_libraries(mirobel_x11 PUBLIC mirobel_core PkgConfig::MIROBEL_X11)

add_executable(mirobel src/x11/app/main.cpp)
target_link_libraries(mirobel PRIVATE mirobel_x11)

# Built as Debian builds its packages (dpkg-buildflags' hardening): checked
# buffer functions, stack protection, relocations read-only from the start.
# The compiler makes position-independent executables by default.
foreach(target mirobel_core mirobel_x11 mirobel)
  target_compile_options(${target} PRIVATE -fstack-protector-strong -Wformat -Werror=format-security
                         $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
endforeach()
target_link_options(mirobel PRIVATE -Wl,-z,relro -Wl,-z,now)

# Where Debian's XScreenSaver looks for hacks and their option files: fixed
# places, whatever the install prefix (stage with DESTDIR).
set(MIROBEL_HACK_DIR "/usr/libexec/xscreensaver" CACHE PATH "where the hack goes")
set(MIROBEL_HACK_CONFIG_DIR "/usr/share/xscreensaver/config" CACHE PATH "where the hack's option file goes")
install(TARGETS mirobel RUNTIME DESTINATION "${MIROBEL_HACK_DIR}")
install(FILES src/x11/app/mirobel.xml DESTINATION "${MIROBEL_HACK_CONFIG_DIR}")

# The manual page, with the project's version and the options from their
# table; installed compressed, as Debian keeps manual pages (-n: no name or
# time stamp, the same bytes on every build).
include(GNUInstallDirs)
add_executable(man_page tools/x11/man_page.cpp)
target_link_libraries(man_page PRIVATE mirobel_core)
add_custom_command(
  OUTPUT "${CMAKE_BINARY_DIR}/man/mirobel.6"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/man"
  COMMAND man_page "${CMAKE_SOURCE_DIR}/src/x11/app/mirobel.6.in" "${PROJECT_VERSION}" "${CMAKE_BINARY_DIR}/man/mirobel.6"
  DEPENDS man_page "${CMAKE_SOURCE_DIR}/src/x11/app/mirobel.6.in"
  COMMENT "Writing the manual page")
add_custom_command(
  OUTPUT "${CMAKE_BINARY_DIR}/man/mirobel.6.gz"
  COMMAND gzip -9nkf "${CMAKE_BINARY_DIR}/man/mirobel.6"
  DEPENDS "${CMAKE_BINARY_DIR}/man/mirobel.6"
  COMMENT "Compressing the manual page")
add_custom_target(mirobel_man ALL DEPENDS "${CMAKE_BINARY_DIR}/man/mirobel.6.gz")
install(FILES "${CMAKE_BINARY_DIR}/man/mirobel.6.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man6")

# Unit tests of the native layer that need no display.
add_executable(x11_tests
  tests/x11/OptionsTest.cpp
  tests/x11/CairoShowTest.cpp
)
target_include_directories(x11_tests PRIVATE tests)
# The option file is read where it is kept.
target_compile_definitions(x11_tests PRIVATE MIROBEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
target_link_libraries(x11_tests PRIVATE mirobel_x11 GTest::gtest_main)
gtest_discover_tests(x11_tests)

# A window of the tests' own, for the program to draw into with -window-id.
add_executable(x11_host tests/x11/tools/x11_host.c)
target_link_libraries(x11_host PRIVATE PkgConfig::MIROBEL_X11)

# The real program on a virtual display: drawing, options, signals, resizes.
find_program(PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
add_test(NAME x11_show
         COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tests/x11/test_x11_show.py
                 --mirobel $<TARGET_FILE:mirobel> --host $<TARGET_FILE:x11_host>
                 --shots ${CMAKE_BINARY_DIR}/x11-shots)
set_tests_properties(x11_show PROPERTIES TIMEOUT 600)
# The show at the desktop's scaling (Xft.dpi) and at -scale.
add_test(NAME x11_scale
         COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tests/x11/test_x11_scale.py
                 --mirobel $<TARGET_FILE:mirobel> --host $<TARGET_FILE:x11_host>
                 --shots ${CMAKE_BINARY_DIR}/x11-shots)
set_tests_properties(x11_scale PROPERTIES TIMEOUT 600)

# What an install puts where, and that the option file offers only what
# the program accepts.
add_test(NAME x11_install
         COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tests/x11/test_install.py --build ${CMAKE_BINARY_DIR}
                 --hack-dir ${MIROBEL_HACK_DIR} --config-dir ${MIROBEL_HACK_CONFIG_DIR}
                 --prefix ${CMAKE_INSTALL_PREFIX})

# The Debian package: built from this tree by tools/packaging/debian.sh, its
# contents, fields and lintian; installed and removed again only with
# MIROBEL_INSTALL_TESTS=1.
add_test(NAME x11_deb
         COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tests/x11/test_deb.py --source ${CMAKE_SOURCE_DIR}
                 --build ${CMAKE_BINARY_DIR} --host $<TARGET_FILE:x11_host>)
set_tests_properties(x11_deb PROPERTIES TIMEOUT 1500 RESOURCE_LOCK dpkg)

# Benchmark of the native frame painting (tools/x11/bench.sh; not a test).
add_executable(x11_frame_bench bench/X11FrameBench.cpp)
target_link_libraries(x11_frame_bench PRIVATE mirobel_x11)
