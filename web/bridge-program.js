// The program's lifecycle, as the program's side of the page sees it:
// whether it runs, its end, and a call into what it exports
// (web/program.cpp), which does nothing before its start or after its end.
var started = false;  // the program's main has run and its exports are there
var ended = false;

export const running = () => started && !ended;
export const hasEnded = () => ended;

// What the program's end stops (a replay), called as it ends.
const endings = [];
export const onProgramEnd = (ending) => { endings.push(ending); };

// The program is ending (ESC, or a crash): nothing reaches it any more,
// not even the releases of keys still held as the page moves the focus
// off its canvas (onEnding, called from inside the program).
['onEnding', 'onExit', 'onAbort'].forEach(function (name) {
  var pageHook = Module[name];
  Module[name] = function (what) {
    ended = true;
    endings.forEach(function (ending) { ending(); });
    if (pageHook) pageHook(what);
  };
});

// Calls an export of the program unless it has ended. ESC ends it by
// throwing out of its key callback; that is the end, not an error.
export function call(name, args) {
  if (!started || ended) return;
  try {
    Module[name].apply(null, args);
  } catch (e) {
    if (!ended) throw e;
  }
}

// The exports the page calls.
var exportsNeeded = ['_webDeliverKey', '_webResize', '_webReshape'];

// Says loudly what this build lacks, rather than leaving an empty panel:
// in the console, and to the page as the name of its text (lacksExports)
// with the runtime's version and what is missing.
function lacks(name, what, missing) {
  var version = Module['emscriptenVersion'];
  console.error("this build's runtime (emscripten " + version + ') lacks ' + what + missing);
  if (Module['onRuntimeProblem']) Module['onRuntimeProblem'](name, version, missing);
}

// Once the program runs: check that it exports what the page calls, then
// let the rest of this side start (the canvas's size, web/bridge-canvas.js).
const starts = [];
export const onProgramStart = (start) => { starts.push(start); };
Module['postRun'] = [].concat(Module['postRun'] || [], function () {
  var missing = exportsNeeded.filter(function (name) { return typeof Module[name] !== 'function'; });
  if (missing.length) {
    lacks('lacksExports', 'the exported functions ', missing.join(', '));
    return;
  }
  started = true;
  starts.forEach(function (start) { start(); });
});

// The part whose frame the program draws over the scene, by its id in the
// tree ('' for none), where the program has it (web/tree.js).
Module['showPart'] = function (id) {
  if (!started || ended || typeof Module['_webPartId'] !== 'function') return;
  Module['stringToUTF8'](id, Module['_webPartId'](), 64);
  call('_webShowPart', []);
};
