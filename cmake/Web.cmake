# The show as a web page: the same core and src/web built with Emscripten
# into one script (the WebAssembly inside it), with index.html and the
# licences beside it in web/mirobel-web, the folder the web zip holds.
find_program(EMCC emcc)
if(NOT EMCC)
  message(WARNING "emcc not found: the web page is not built (tools/setup-debian.sh installs it)")
  return()
endif()

set(web_dir "${CMAKE_BINARY_DIR}/web/mirobel-web")
set(web_assets "${CMAKE_BINARY_DIR}/web/assets.js")
set(web_page "${CMAKE_SOURCE_DIR}/src/web/app/page.js")
file(GLOB web_core_sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/src/core/*/*.cpp")
file(GLOB web_sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/src/web/*/*.cpp")
file(GLOB web_headers CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/src/core/*/*.h" "${CMAKE_SOURCE_DIR}/src/web/*/*.h")

add_custom_command(
  OUTPUT "${web_assets}"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/web"
  COMMAND /usr/bin/python3 "${CMAKE_SOURCE_DIR}/tools/web/embed_assets.py" "${web_assets}"
          "${embedded_brush}" "${embedded_mincho}" "${embedded_latin}" "${CMAKE_SOURCE_DIR}/assets/portraits"
  DEPENDS "${CMAKE_SOURCE_DIR}/tools/web/embed_assets.py" ${embedded_portraits} "${embedded_brush}" "${embedded_mincho}" "${embedded_latin}"
  COMMENT "Embedding fonts and portraits for the web page")

# Debian's emcc needs Debian's acorn for its optimiser, which this Node.js
# finds only through NODE_PATH. The page.js methods the show calls are
# reached from EM_JS bodies; ccall and UTF8ToString from page.js.
add_custom_command(
  OUTPUT "${web_dir}/mirobel.js"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${web_dir}"
  COMMAND ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs
          ${EMCC} -std=c++20 -O2 -Wall -Wextra -I${CMAKE_SOURCE_DIR}/src ${web_core_sources} ${web_sources}
          --pre-js "${web_assets}" --pre-js "${web_page}"
          -sSINGLE_FILE=1 -sALLOW_MEMORY_GROWTH=1 -sEXPORTED_RUNTIME_METHODS=ccall,UTF8ToString
          -o "${web_dir}/mirobel.js"
  DEPENDS ${web_core_sources} ${web_sources} ${web_headers} "${web_assets}" "${web_page}"
  COMMENT "Building the web page with Emscripten")

set(web_files "${web_dir}/index.html" "${web_dir}/LICENSE.txt" "${web_dir}/YujiSyuku-OFL.txt"
    "${web_dir}/BIZUDMincho-OFL.txt" "${web_dir}/LiberationSans-OFL.txt" "${web_dir}/Emscripten-copyright.txt")
add_custom_command(
  OUTPUT ${web_files}
  COMMAND ${CMAKE_COMMAND} -E make_directory "${web_dir}"
  COMMAND ${CMAKE_COMMAND} -E copy "${CMAKE_SOURCE_DIR}/src/web/app/index.html" "${web_dir}/index.html"
  COMMAND ${CMAKE_COMMAND} -E copy "${CMAKE_SOURCE_DIR}/LICENSE" "${web_dir}/LICENSE.txt"
  COMMAND ${CMAKE_COMMAND} -E copy "${CMAKE_SOURCE_DIR}/assets/fonts/YujiSyuku-OFL.txt"
          "${CMAKE_SOURCE_DIR}/assets/fonts/BIZUDMincho-OFL.txt"
          "${CMAKE_SOURCE_DIR}/assets/fonts/LiberationSans-OFL.txt" "${web_dir}/"
  # The Emscripten runtime, libc++ and musl parts inside the script.
  COMMAND ${CMAKE_COMMAND} -E copy /usr/share/doc/emscripten/copyright "${web_dir}/Emscripten-copyright.txt"
  DEPENDS "${CMAKE_SOURCE_DIR}/src/web/app/index.html" "${CMAKE_SOURCE_DIR}/LICENSE"
  COMMENT "The web page's folder")
add_custom_target(mirobel_web ALL DEPENDS "${web_dir}/mirobel.js" ${web_files})

# The page's own rules that need no browser: its query and its pace.
add_executable(web_tests tests/web/PageTest.cpp src/web/app/Query.cpp)
target_include_directories(web_tests PRIVATE src tests)
target_link_libraries(web_tests PRIVATE mirobel_core GTest::gtest_main)
gtest_discover_tests(web_tests)

# The page in Debian's Chromium, beside the native program.
add_test(NAME web_page
         COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/tests/web/test_web_page.py --page ${web_dir}
                 --mirobel $<TARGET_FILE:mirobel> --shots ${CMAKE_BINARY_DIR}/web-shots)
set_tests_properties(web_page PROPERTIES TIMEOUT 900)
