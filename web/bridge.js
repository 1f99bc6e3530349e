// The program's side of the page: it joins the page to the program, using
// only what emscripten documents and keeps: the functions the program
// exports (web/program.cpp) for keys and the canvas's size, and the Module
// callbacks for start and end (the page's side is web/program.js).
// Standard output comes from the program itself (platform/web/
// process.cpp). Bundled by esbuild into one script that is linked in front
// of the generated module (--pre-js), so it runs before the program and
// before GLUT's own handlers; Module is the runtime's. One job a module:
import './bridge-program.js';  // the program's start and end
import './bridge-recording.js';  // what it is told, recorded and replayed
import './bridge-keyboard.js';  // the keyboard
import './bridge-buttons.js';  // the on-screen keys
import './bridge-canvas.js';  // the canvas's size
