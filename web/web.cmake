# The browser build, included from the top-level CMakeLists.txt under
# emcmake: tank.js and tank.wasm from the same sources as the desktop
# program, beside the page's own static files, in TANK_WEB_DIR.
set(TANK_WEB_DIR ${CMAKE_BINARY_DIR}/web CACHE PATH "Where the page is assembled")
set(web ${CMAKE_CURRENT_SOURCE_DIR}/web)

set_target_properties(tank PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TANK_WEB_DIR} SUFFIX .js)
target_link_options(tank PRIVATE
  -sLEGACY_GL_EMULATION=1 -lglut
  -sENVIRONMENT=web
  # ESC ends the runtime for real, so no timer, frame or key runs after it.
  -sEXIT_RUNTIME=1
  -sMALLOC=emmalloc
  # The address of the model record, so tests can pose the tank exactly.
  -Wl,--export=tankModel
  "SHELL:--post-js ${web}/bridge.js")
set_property(TARGET tank APPEND PROPERTY LINK_DEPENDS ${web}/bridge.js)

set(page_files index.html page.js page.css)
list(TRANSFORM page_files PREPEND ${web}/ OUTPUT_VARIABLE page_sources)
add_custom_command(TARGET tank POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${page_sources} ${TANK_WEB_DIR}
  COMMENT "Assembling the page in ${TANK_WEB_DIR}")
