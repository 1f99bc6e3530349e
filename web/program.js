// The program, as the page's other modules see it: named functions, both
// ways. This is the one module of the page that knows emscripten's Module,
// the global its runtime reads: the runtime's own callbacks (start, end),
// what the program itself announces (its output, each picture drawn, its
// end: platform/web/process.cpp, gl/webgl/gl.cpp), what its side of the
// page tells (a replay's progress: web/bridge.js), and the functions it
// exports (web/program.cpp). Loaded before the program's tank.js.
import { startAfterGlSetUp } from './gl-start.js';

const listeners = {
  output: [], picture: [], ending: [], problem: [], started: [], running: [], exit: [], abort: [],
  replayTick: [], replayEnd: [], shape: [],
};
const tell = (what) => (...args) => listeners[what].forEach((listener) => listener(...args));
const listen = (what) => (listener) => { listeners[what].push(listener); };

const Module = {
  canvas: document.getElementById('canvas'),
  onOutput: tell('output'),
  onFrame: tell('picture'),
  onEnding: tell('ending'),
  onRuntimeProblem: tell('problem'),
  onRuntimeInitialized: tell('started'),
  postRun: [tell('running')],
  onExit: tell('exit'),
  onAbort: tell('abort'),
  onReplayStep: tell('replayTick'),
  onReplayEnd: tell('replayEnd'),
  replay: null,
};
window.Module = Module;
startAfterGlSetUp(Module);

// What the program tells the page.
export const onOutput = listen('output');  // (bytes): a piece of its standard output
export const onPicture = listen('picture');  // (): a picture drawn
export const onEnding = listen('ending');  // (): it is ending (ESC, from within)
export const onProblem = listen('problem');  // (name, version, missing): its build lacks something
export const onStarted = listen('started');  // (): its runtime is ready
export const onRunning = listen('running');  // (): its main has run
export const onExit = listen('exit');  // (code): it has ended
export const onAbort = listen('abort');  // (what): it has stopped
export const onReplayTick = listen('replayTick');  // (tick, ticks): a replay's progress
export const onReplayEnd = listen('replayEnd');  // (how, tick, ticks): 'over', 'stopped' or 'ended'

// Whether the program tells the page what its tree and its picture show
// (a program with no tree, the bench's floor, does not).
export const hasModel = () => ['_webModelText', '_webViewText', '_webTreeJson'].every((f) => typeof Module[f] === 'function');
// The values the tree shows, as the picture just drawn used them:
// "x 0.00 y 0.00 ...".
export const modelText = () => Module.UTF8ToString(Module._webModelText());
// How the picture is drawn: "orthographic fill", "perspective line", ...
export const viewText = () => Module.UTF8ToString(Module._webViewText());
// The tree of transforms, written down from the program's drawing as the
// model and shape stand now: [{ id, parent, steps, label }], each
// model value in a step as {name}.
export const tankTree = () => JSON.parse(Module.UTF8ToString(Module._webTreeJson()));
// The part whose frame the picture shows, by its id in the tree ('' for none).
export const showPart = (id) => Module.showPart(id);

// The tank's shape: its numbers as the program lists them (web/shape.cpp),
// and a change to them, [[index, value], ...], drawn at once; false when
// the program refused one (out of its range) or does not run (not yet, or
// no more). Who follows the shape (the tree) is told of each change.
let runs = false;
onRunning(() => { runs = true; });
[onEnding, onExit, onAbort].forEach((ending) => ending(() => { runs = false; }));
export const hasShape = () => typeof Module._webShapeText === 'function' && typeof Module._webSetShape === 'function';
export const shapeText = () => Module.UTF8ToString(Module._webShapeText());
export const onShape = listen('shape');
export function setShape(changes) {
  if (!runs) return false;
  const done = changes.every(([index, value]) => Module._webSetShape(index, value) === 1);
  Module._webRedraw();
  tell('shape')();
  return done;
}

// A recording: what the program has been told so far, and a recording to
// replay from the start (set before the program runs), stopped at will.
export const recorded = () => Module.recordedDrive();
export const replay = (drive) => { Module.replay = drive; };
export const replaying = () => Module.replay !== null;
export const stopReplay = () => Module.stopReplay();
onReplayEnd(() => { Module.replay = null; });
