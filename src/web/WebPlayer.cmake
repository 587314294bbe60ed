# The web player: the engine built with emscripten into quorvart.js and quorvart.wasm, with the page
# that runs it, in ${CMAKE_BINARY_DIR}/web. Only what the player needs is built. The libraries come
# from QA_WEB_PREFIX (tools/web/build-deps.sh), whose headers are searched before emscripten's own
# (it ships old SDL 1 headers under the same names).

set(QA_WEB_PREFIX "" CACHE PATH "The web libraries' prefix (tools/web/build-deps.sh prints it)")
if(NOT QA_WEB_PREFIX OR NOT EXISTS "${QA_WEB_PREFIX}/lib/libSDL2.a")
  message(FATAL_ERROR "QA_WEB_PREFIX must name the prefix tools/web/build-deps.sh built")
endif()

# Exceptions are caught (a damaged module makes the module library throw); the program itself is
# built as optimised as the libraries.
add_compile_options(-fexceptions)
include_directories(BEFORE SYSTEM "${QA_WEB_PREFIX}/include" "${QA_WEB_PREFIX}/include/SDL2")

file(GLOB_RECURSE QA_WEB_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp)
# The desktop's own parts (its program, font lookup through fontconfig, the file watcher, rate
# conversion through libsoxr) give way to the web's.
list(FILTER QA_WEB_SOURCES EXCLUDE REGEX "/src/main\\.cpp$")
list(FILTER QA_WEB_SOURCES EXCLUDE REGEX "/src/desktop/")
list(FILTER QA_WEB_SOURCES EXCLUDE REGEX "/src/web/")
list(FILTER QA_WEB_SOURCES EXCLUDE REGEX "/src/platform/watch/inotify/")
list(FILTER QA_WEB_SOURCES EXCLUDE REGEX "/src/platform/FontLookup\\.cpp$")
list(FILTER QA_WEB_SOURCES EXCLUDE REGEX "/src/platform/audio/Resampler\\.cpp$")
# From the runner: the input file's reader and the PNG writer (test mode).
add_library(quorvart_core STATIC ${QA_WEB_SOURCES} ${CMAKE_SOURCE_DIR}/tools/runner/InputScript.cpp
  ${CMAKE_SOURCE_DIR}/tools/runner/PngWriter.cpp)
target_include_directories(quorvart_core PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tools)

set(QA_WEB_LIBS SDL2_ttf freetype SDL2_image SDL2 openmpt mpg123 vorbisfile vorbis ogg sndfile zip z expat)
set(QA_WEB_LIB_FILES)
foreach(lib ${QA_WEB_LIBS})
  list(APPEND QA_WEB_LIB_FILES "${QA_WEB_PREFIX}/lib/lib${lib}.a")
endforeach()

# The fonts the desktop finds for the scenes' faces, embedded: the web has no font configuration.
set(QA_WEB_FONT_DIR /usr/share/fonts/truetype/liberation)
set(QA_WEB_FONTS LiberationSans-Regular LiberationSans-Bold)
set(QA_WEB_EMBED)
foreach(font ${QA_WEB_FONTS})
  if(NOT EXISTS "${QA_WEB_FONT_DIR}/${font}.ttf")
    message(FATAL_ERROR "${QA_WEB_FONT_DIR}/${font}.ttf is missing (package fonts-liberation2)")
  endif()
  list(APPEND QA_WEB_EMBED "SHELL:--embed-file ${QA_WEB_FONT_DIR}/${font}.ttf@/fonts/${font}.ttf")
endforeach()

# SDL's audio needs these of emscripten's library functions (a list in a file: the names start with $).
file(WRITE ${CMAKE_BINARY_DIR}/library-functions.json "[\"$autoResumeAudioContext\", \"$dynCall\"]\n")

file(GLOB QA_WEB_PROGRAM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/web/*.cpp)
add_executable(quorvart ${QA_WEB_PROGRAM_SOURCES})
set_target_properties(quorvart PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/web SUFFIX ".js")
target_link_libraries(quorvart PRIVATE quorvart_core ${QA_WEB_LIB_FILES})
# No threads (a page that needs them must be served with cross-origin isolation headers); memory
# grows with the disk; the page drives the program through the exported functions.
target_link_options(quorvart PRIVATE -fexceptions -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864
  -sTOTAL_STACK=1048576 -sENVIRONMENT=web -sEXIT_RUNTIME=0 -sINVOKE_RUN=1
  "-sEXPORTED_FUNCTIONS=[_main,_malloc,_free]"
  "-sEXPORTED_RUNTIME_METHODS=[ccall,cwrap,UTF8ToString,FS]"
  "-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_BINARY_DIR}/library-functions.json"
  ${QA_WEB_EMBED})
set_property(TARGET quorvart APPEND PROPERTY LINK_DEPENDS ${QA_WEB_LIB_FILES})
# The optimising link runs emscripten's tools on node, which finds their modules only through this.
set_property(TARGET quorvart PROPERTY RULE_LAUNCH_LINK "${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs")

# The page beside the program.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/web/index.html
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/src/web/index.html ${CMAKE_BINARY_DIR}/web/index.html
  DEPENDS ${CMAKE_SOURCE_DIR}/src/web/index.html
  VERBATIM)
add_custom_target(web-page ALL DEPENDS ${CMAKE_BINARY_DIR}/web/index.html)
