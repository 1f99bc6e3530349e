# The browser build, included from the top-level CMakeLists.txt under
# emcmake: tank.js and tank.wasm from the same sources as the desktop
# program, beside the page's own static files, in TANK_WEB_DIR.
set(TANK_WEB_DIR ${CMAKE_BINARY_DIR}/web CACHE PATH "Where the page is assembled")
set(web ${CMAKE_CURRENT_SOURCE_DIR}/web)

# Which emscripten built the page, for the page's own complaints.
file(WRITE ${CMAKE_BINARY_DIR}/toolchain.js
  "Module['emscriptenVersion'] = '${EMSCRIPTEN_VERSION}';\n")

find_program(TANK_NODE node REQUIRED)
# The page's own files, for the steps that read them: web/assemble.mjs says
# which of them make the page.
file(GLOB web_sources CONFIGURE_DEPENDS ${web}/*.js ${web}/*.mjs ${web}/*.html ${web}/*.css
     ${web}/*.webmanifest ${web}/*.png)

# The bridge between the page and the program, bundled from its modules
# into the one script the program is linked with.
set(bridge ${CMAKE_BINARY_DIR}/bridge.js)
add_custom_command(OUTPUT ${bridge}
  COMMAND ${TANK_NODE} ${web}/assemble.mjs bridge ${bridge}
  DEPENDS ${web_sources}
  COMMENT "Bundling the page's bridge to the program")
add_custom_target(bridge DEPENDS ${bridge})

# Both programs of the browser build link the same way, and the page talks
# to both through the same bridge.
function(tank_web_program target out_dir)
  set(extra_exports ${ARGN})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${out_dir} SUFFIX .js)
  target_link_options(${target} PRIVATE
    -lglut
    -sENVIRONMENT=web
    # ESC ends the runtime for real, so no timer, frame or key runs after it.
    -sEXIT_RUNTIME=1
    -sMALLOC=emmalloc
    # The page's GL needs no WebGL extension: enabling every one the
    # browser has costs a phone a long task at start.
    -sGL_SUPPORT_AUTOMATIC_ENABLE_EXTENSIONS=0
    # The browser's own sines and cosines rather than the C library's,
    # compiled in.
    -sJS_MATH=1
    # Every browser the page runs in decodes UTF-8 itself.
    -sTEXTDECODER=2
    # What the page calls (web/program.cpp) and reads.
    "SHELL:-sEXPORTED_FUNCTIONS=_main,_webDeliverKey,_webResize,_webReshape,_webRedraw,_webModel${extra_exports}"
    "SHELL:-sEXPORTED_RUNTIME_METHODS=HEAPF32,UTF8ToString,stringToUTF8,addRunDependency,removeRunDependency"
    # Standard output reaches the page from the program itself, so the
    # runtime's files are left out.
    -sFILESYSTEM=0
    "SHELL:--pre-js ${CMAKE_BINARY_DIR}/toolchain.js"
    "SHELL:--pre-js ${bridge}")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${bridge})
  add_dependencies(${target} bridge)
endfunction()

# The tank's program also tells the page the values its tree shows and how
# the picture is drawn (for its description in words), and
# shows the frame of the part the page chooses.
set(tree_exports ",_webModelText,_webViewText,_webPartId,_webShowPart,_webTreeJson,_webShapeText,_webSetShape")
tank_web_program(tank ${TANK_WEB_DIR} ${tree_exports})

# The same program once more with the WebAssembly inside its script, for
# the page as one file (tank.html).
add_executable(tank_single app/main.cpp)
target_link_libraries(tank_single PRIVATE tankcore)
tank_warnings(tank_single)
tank_web_program(tank_single ${CMAKE_BINARY_DIR}/single ${tree_exports})
target_link_options(tank_single PRIVATE -sSINGLE_FILE=1)

# The table of keys for the page, written at build time by the same tool as
# the diagram in docs/, run under node.
add_executable(tank_keys docs/tank_diagram.cpp)
target_link_libraries(tank_keys PRIVATE tanktree)
tank_warnings(tank_keys)
set_target_properties(tank_keys PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools
                                           SUFFIX .js)
# One file, since the runtime of some emscriptens cannot load a .wasm
# beside it under newer node.
target_link_options(tank_keys PRIVATE -sENVIRONMENT=node -sSINGLE_FILE=1)

# The page beside the program: its files, its modules bundled, the tree and
# the table of keys written into it, the worker's set stamped and the single
# file written (web/assemble.mjs), on every build so an edit to any of them
# lands too.
add_custom_target(page ALL
  COMMAND ${TANK_NODE} $<TARGET_FILE:tank_keys> --keys > ${CMAKE_BINARY_DIR}/keys.json
  COMMAND ${TANK_NODE} ${web}/assemble.mjs page ${TANK_WEB_DIR} $<TARGET_FILE:tank_single>
          ${CMAKE_BINARY_DIR}/keys.json
  COMMENT "Assembling the page in ${TANK_WEB_DIR}")
add_dependencies(page tank tank_single tank_keys)

# The floor for make bench-web: the same page around a program that only
# clears the canvas and prints one line every 20 ms, in a folder of its own.
set(floor_dir ${CMAKE_BINARY_DIR}/floor-page)
add_custom_target(floor_page
  COMMAND ${TANK_NODE} $<TARGET_FILE:tank_keys> --keys > ${CMAKE_BINARY_DIR}/keys.json
  COMMAND ${TANK_NODE} ${web}/assemble.mjs floor ${floor_dir} bench_floor.js ${CMAKE_BINARY_DIR}/keys.json)
add_dependencies(floor_page tank_keys)
add_executable(bench_floor EXCLUDE_FROM_ALL bench/floor.cpp bench/floor_web.cpp)
target_include_directories(bench_floor PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
tank_warnings(bench_floor)
tank_web_program(bench_floor ${floor_dir})
add_dependencies(bench_floor floor_page)

# And the plain page: the page's markup and style around a script that
# draws with plain WebGL, no emscripten (bench/plain.js).
add_custom_target(plain_page
  COMMAND ${TANK_NODE} ${web}/assemble.mjs plain ${CMAKE_BINARY_DIR}/plain-page
          ${CMAKE_CURRENT_SOURCE_DIR}/bench/plain.js)
