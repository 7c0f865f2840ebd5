# The Windows program, its Win32 tests under Wine and the end-to-end tests.
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_SOURCE_DIR} -I${CMAKE_SOURCE_DIR}/src")
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN)

set(MIROBEL_WIN32_LIBS gdi32 user32 winmm ole32 windowscodecs uuid comctl32 advapi32)

# Win32 layer shared by the program and the Win32 tests.
add_library(mirobel_win32 STATIC
  src/win32/base/Fonts.cpp
  src/win32/base/FormResources.cpp
  src/win32/base/Guard.cpp
  src/win32/base/Place.cpp
  src/win32/base/WindowClass.cpp
  src/win32/base/Win32Util.cpp
  src/win32/startup/frmPrev.cpp
  src/win32/settings/RegistryStore.cpp
  src/win32/settings/frmSet.cpp
  src/win32/companions/Forms.cpp
  src/win32/companions/frmComment.cpp
  src/win32/companions/frmHelp.cpp
  src/win32/companions/salesf.cpp
  src/win32/base/Surface.cpp
  src/win32/show/frmDisp.cpp
  src/win32/show/Screens.cpp
  src/win32/show/Show.cpp
  src/win32/show/Pointer.cpp
  src/win32/show/GdiCanvas.cpp
  src/win32/show/GdiFrame.cpp
  src/win32/show/Portraits.cpp
  src/win32/show/MciPort.cpp
)
target_link_libraries(mirobel_win32 PUBLIC mirobel_core ${MIROBEL_WIN32_LIBS})

# The one place where the Windows platform is put together; the program, the
# Windows tests, the benchmark and the tools install it the same way.
add_library(mirobel_platform STATIC src/app/InstallPlatform.cpp)
target_link_libraries(mirobel_platform PUBLIC mirobel_win32)


# The hundred portraits go in as JPEG resources numbered by poem.
set(portraits_rc "${CMAKE_BINARY_DIR}/generated/Portraits.rc")
set(portraits_text "")
foreach(n RANGE 1 100)
  math(EXPR id "100 + ${n}")
  string(LENGTH "${n}" len)
  if(len EQUAL 1)
    set(name "p00${n}")
  elseif(len EQUAL 2)
    set(name "p0${n}")
  else()
    set(name "p${n}")
  endif()
  string(APPEND portraits_text "${id} RCDATA \"assets/portraits/${name}.jpg\"\n")
endforeach()
file(WRITE "${portraits_rc}.in" "${portraits_text}")
# The version resource and the manifest take the project's version.
configure_file(src/app/MirobelVersion.h.in "${CMAKE_BINARY_DIR}/generated/MirobelVersion.h" @ONLY)
configure_file(src/app/Mirobel.manifest.in "${CMAKE_BINARY_DIR}/generated/Mirobel.manifest" @ONLY)
configure_file("${portraits_rc}.in" "${portraits_rc}" COPYONLY)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${CMAKE_BINARY_DIR}/generated")
file(GLOB portrait_files "${CMAKE_SOURCE_DIR}/assets/portraits/*.jpg")
file(GLOB font_files "${CMAKE_SOURCE_DIR}/assets/fonts/*.ttf")
set_source_files_properties(src/app/Mirobel.rc PROPERTIES OBJECT_DEPENDS "${portrait_files};${font_files};${portraits_rc};${CMAKE_SOURCE_DIR}/assets/preview/preview.bmp")
file(GLOB windowart_files "${CMAKE_SOURCE_DIR}/assets/windowart/*")
set_property(SOURCE src/app/Mirobel.rc APPEND PROPERTY OBJECT_DEPENDS
             "${windowart_files};${CMAKE_SOURCE_DIR}/assets/help/MirobelHelp.txt;${CMAKE_SOURCE_DIR}/assets/help/MirobelHelpEnglish.txt")

add_executable(Mirobel WIN32 src/app/Main.cpp src/app/Mirobel.rc)
target_link_libraries(Mirobel PRIVATE mirobel_platform ${MIROBEL_WIN32_LIBS})
target_link_options(Mirobel PRIVATE -static -municode -mwindows)
set_target_properties(Mirobel PROPERTIES OUTPUT_NAME Mirobel SUFFIX ".scr")

# The music the packages carry beside the program, written by its generator.
# It goes into a folder of its own: beside the built program, every show the
# tests start from here would play it.
find_program(PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(MIROBEL_MUSIC "${CMAKE_BINARY_DIR}/music/Mirobel.mid")
add_custom_command(
  OUTPUT "${MIROBEL_MUSIC}"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/music"
  COMMAND ${PYTHON3} "${CMAKE_SOURCE_DIR}/tools/music/make_music.py" "${MIROBEL_MUSIC}"
  DEPENDS "${CMAKE_SOURCE_DIR}/tools/music/make_music.py"
  COMMENT "Writing the music")
add_custom_target(mirobel_music ALL DEPENDS "${MIROBEL_MUSIC}")

include(cmake/WindowsTests.cmake)
set_property(SOURCE src/app/Mirobel.rc APPEND PROPERTY OBJECT_DEPENDS
             "${CMAKE_BINARY_DIR}/generated/MirobelVersion.h;${CMAKE_BINARY_DIR}/generated/Mirobel.manifest")

# Benchmark of the frame painting (run with tools/bench.sh; not a test).
add_executable(paintframe_bench bench/PaintFrameBench.cpp)
target_link_libraries(paintframe_bench PRIVATE mirobel_platform ${MIROBEL_WIN32_LIBS})
target_link_options(paintframe_bench PRIVATE -static)
# The empty full-screen window the show's memory is compared with
# (tools/show_bench.py).
add_executable(emptywin WIN32 bench/EmptyWindow.cpp)
target_link_libraries(emptywin PRIVATE user32 gdi32)
target_link_options(emptywin PRIVATE -static)

# Maker of the preview picture (run with tools/preview/make_preview.sh; it
# does not ship with the program).
set_source_files_properties(tools/preview/make_preview.rc PROPERTIES OBJECT_DEPENDS "${portrait_files};${font_files};${portraits_rc}")
add_executable(make_preview tools/preview/make_preview.cpp tools/preview/make_preview.rc)
target_link_libraries(make_preview PRIVATE mirobel_platform ${MIROBEL_WIN32_LIBS})
target_link_options(make_preview PRIVATE -static -municode)
