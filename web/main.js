// The page's one entry, bundled by esbuild (web/assemble.mjs): its modules
// in the order they set the page up, before the program's tank.js runs.
// Each has one job; web/program.js is the page's one way to the program.
import './key-buttons.js';
import './language.js';
import './trace.js';
import './writes.js';
import './status.js';
import './canvas.js';
import './fullscreen.js';
import './offline.js';
import './tree.js';
import './shape.js';
import './code.js';
import './describe.js';
import './drive.js';
