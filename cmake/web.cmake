# The web player, built with emscripten by tools/web.sh: the game core, the text renderer and the
# web back end, linked with the libraries tools/web_libs.sh builds (VORN_WEB_LIBS) into vorn.js
# and vorn.wasm. The game loops stay blocking: Asyncify unwinds and rewinds the stack around each
# sleep, so every frame and every wait yields to the page.
set(VORN_WEB_LIBS "" CACHE PATH "Prefix of the libraries built for the web (tools/web_libs.sh)")
if(NOT EXISTS "${VORN_WEB_LIBS}/lib/libSDL2.a")
  message(FATAL_ERROR "VORN_WEB_LIBS must name the prefix tools/web_libs.sh built (no lib/libSDL2.a in '${VORN_WEB_LIBS}')")
endif()

add_compile_options(-fexceptions)
# The C++ library of this emscripten lacks the floating-point std::from_chars and std::to_chars.
add_compile_options("SHELL:-include ${CMAKE_CURRENT_SOURCE_DIR}/src/platform/web/charconv_floats.h")
add_link_options(-fexceptions)

# The JSON library is headers only: Debian's copy is used as it is, without the rest of /usr/include.
set(WEB_HOST_HEADERS ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${WEB_HOST_HEADERS})
if(NOT EXISTS ${WEB_HOST_HEADERS}/nlohmann)
  file(CREATE_LINK /usr/include/nlohmann ${WEB_HOST_HEADERS}/nlohmann SYMBOLIC)
endif()

# Its C library converts no cp932: text goes through the tables vorn-cp932-tables measured from the
# desktop's converter (VORN_CP932_TABLES, the source file it wrote).
set(VORN_CP932_TABLES "" CACHE FILEPATH "The cp932 tables written by vorn-cp932-tables")
if(NOT EXISTS "${VORN_CP932_TABLES}")
  message(FATAL_ERROR "VORN_CP932_TABLES must name the file vorn-cp932-tables wrote (no '${VORN_CP932_TABLES}')")
endif()
list(REMOVE_ITEM CORE_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/src/platform/encoding_iconv.cpp)
list(APPEND CORE_SOURCES src/platform/web/encoding_tables.cpp ${VORN_CP932_TABLES})

add_library(vorn_core STATIC ${CORE_SOURCES})
target_include_directories(vorn_core PUBLIC src)
target_include_directories(vorn_core SYSTEM PUBLIC ${VORN_WEB_LIBS}/include ${WEB_HOST_HEADERS})
target_link_libraries(vorn_core PUBLIC ${VORN_WEB_LIBS}/lib/libpng16.a ${VORN_WEB_LIBS}/lib/libz.a)

# The page brings its fonts in /fonts instead of fontconfig.
add_library(vorn_text STATIC src/platform/text_renderer.cpp)
target_compile_definitions(vorn_text PRIVATE VORN_FONT_FOLDER="/fonts")
target_link_libraries(vorn_text PUBLIC vorn_core
  ${VORN_WEB_LIBS}/lib/libSDL2_ttf.a ${VORN_WEB_LIBS}/lib/libfreetype.a ${VORN_WEB_LIBS}/lib/libSDL2.a)

set(WEB_PAGE ${CMAKE_CURRENT_SOURCE_DIR}/src/platform/web/page)
add_executable(vorn src/app/web/web_main.cpp src/platform/web/web_platform.cpp src/platform/sdl/sdl_keys.cpp)
set_target_properties(vorn PROPERTIES SUFFIX ".js")
target_link_libraries(vorn PRIVATE vorn_text vorn_core)
target_link_options(vorn PRIVATE
  -sASYNCIFY -sASYNCIFY_STACK_SIZE=131072
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864
  -sENVIRONMENT=web -sFORCE_FILESYSTEM=1 -lidbfs.js
  --pre-js ${WEB_PAGE}/vorn-page.js)
set_property(TARGET vorn APPEND PROPERTY LINK_DEPENDS ${WEB_PAGE}/vorn-page.js)
