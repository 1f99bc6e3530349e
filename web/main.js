// The page's one entry, bundled by esbuild (web/assemble.mjs): its modules
// in the order they set the page up, before the program's tank.js runs.
import './key-buttons.js';
import './language.js';
import './trace.js';
import './page.js';
import './tree.js';
import './describe.js';
import './drive.js';
