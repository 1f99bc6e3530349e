// Joins the page to the program, using only what emscripten documents and
// keeps: the functions the program exports (web/program.cpp) for keys and
// the canvas size, and the Module callbacks for start and end. Standard
// output comes from the program itself (platform/web/process.cpp). Bundled by esbuild into one script that is
// linked in front of the generated module (--pre-js), so it runs before the
// program and before GLUT's own handlers; Module and FS are the runtime's.
import { maxEvents } from './drive-code.js';
import { isPress, isReshape, keyEvent, keyOfEvent, otherHalf, reshapeEvent, translate } from './keys.js';

// The exports the page needs from the program.
var exportsNeeded = ['_webDeliverKey', '_webResize', '_webReshape', '_webRedraw', '_webModel'];
var started = false;  // the program's main has run and its exports are there
var ended = false;

// Says loudly what this build lacks, rather than leaving an empty panel:
// in the console, and to the page as the name of its text (lacksExports)
// with the runtime's version and what is missing.
function lacks(name, what, missing) {
  var version = Module['emscriptenVersion'];
  console.error("this build's runtime (emscripten " + version + ') lacks ' + what + missing);
  if (Module['onRuntimeProblem']) Module['onRuntimeProblem'](name, version, missing);
}

// The program is ending (ESC, or a crash): nothing reaches it any more,
// not even the releases of keys still held as the page moves the focus
// off its canvas (onEnding, called from inside the program).
['onEnding', 'onExit', 'onAbort'].forEach(function (name) {
  var pageHook = Module[name];
  Module[name] = function (what) {
    ended = true;
    // A replay that ends the program (ESC) ends with it.
    if (replay) {
      var total = replay.steps;
      replay = null;
      if (Module['onReplayEnd']) Module['onReplayEnd']('ended', stepsTaken, total);
    }
    if (pageHook) pageHook(what);
  };
});

// Calls an export of the program unless it has ended. ESC ends it by
// throwing out of its key callback; that is the end, not an error.
function call(name, args) {
  if (!started || ended) return;
  try {
    Module[name].apply(null, args);
  } catch (e) {
    if (!ended) throw e;
  }
}
// The part whose frame the program draws over the scene, by its id in the
// tree ('' for none), where the program has it (web/tree.js).
Module['showPart'] = function (id) {
  if (!started || ended || typeof Module['_webPartId'] !== 'function') return;
  Module['stringToUTF8'](id, Module['_webPartId'](), 64);
  call('_webShowPart', []);
};

// The drive: everything the program is told, each key and each new size
// of its window, with the number of steps taken before it. The program's
// step is the only clock it has, so the same events before the same steps
// make the same trace, byte for byte (web/drive.js shares and reads it;
// web/keys.js says what an event is).
var stepsTaken = 0;
var drive = [];  // [step, event], in the order they happened: one more than
// a drive can share, so that a longer one is known as such
var replay = Module['replay'] || null;  // { steps, events } from a shared drive
var replayHeld = {};  // event of a press: the replayed keys still down
var replayAt = 0;

function record(event) {
  if (drive.length <= maxEvents) drive.push([stepsTaken, event]);
}
function deliverKey(k, pressed) {
  record(keyEvent(k, pressed));
  call('_webDeliverKey', [k.special ? 1 : 0, pressed ? 1 : 0, k.code]);
}
Module['recordedDrive'] = function () {
  return { steps: stepsTaken, events: drive.slice() };
};

// As each step begins (platform/web/process.cpp): a replay gives the
// program what came before this step in the drive, straight from within
// the tick, as the browser gave it between the ticks; ESC ends the tick
// there, as it ended the program then.
function replayStep() {
  var events = replay.events;
  while (replayAt < events.length && events[replayAt][0] === stepsTaken) {
    var event = events[replayAt++][1];
    if (isReshape(event)) {
      reshape();
    } else {
      var k = keyOfEvent(event);
      if (isPress(event)) replayHeld[event] = k;
      else delete replayHeld[otherHalf(event)];
      record(event);
      Module['_webDeliverKey'](k.special ? 1 : 0, isPress(event) ? 1 : 0, k.code);
    }
    if (ended) return;
  }
  if (stepsTaken >= replay.steps) endReplay('over');
}
Module['onStep'] = function () {
  if (replay && !ended) replayStep();
  stepsTaken++;
  if (replay && Module['onReplayStep']) Module['onReplayStep'](stepsTaken, replay.steps);
};
// The end of a replay, when it is over or stopped: the keys it still
// holds are let go, and the keys and the window's size are the page's
// again.
function endReplay(how) {
  if (!replay) return;
  var total = replay.steps;
  replay = null;
  Object.keys(replayHeld).forEach(function (event) { deliverKey(replayHeld[event], false); });
  replayHeld = {};
  fitCanvas();
  if (Module['onReplayEnd']) Module['onReplayEnd'](how, stepsTaken, total);
}
Module['stopReplay'] = function () { endReplay('stopped'); };

// What is held, by physical key (or button), so that a release reaches the
// program only after its press and a lost focus can release everything.
var held = {};

// A replay has the program's keys until it is over or stopped.
function press(id, k) {
  if (!started || ended || replay) return;
  held[id] = k;
  deliverKey(k, true);
}

function release(id, k) {
  if (!(id in held)) return;
  delete held[id];
  deliverKey(k, false);
}

function releaseAll() {
  Object.keys(held).forEach(function (id) { release(id, held[id]); });
}

// Shortcuts with Ctrl, Alt or Meta stay the browser's; so do the function
// keys' default actions (reload, full screen), though the program sees them.
function isShortcut(event) {
  return event.key.length === 1 && (event.ctrlKey || event.altKey || event.metaKey);
}

// The keyboard is the program's while its canvas has the focus, as it has
// when the page opens; then the keys drive and nothing scrolls. Tab and
// Shift+Tab always move the focus on, so the page never traps it. With
// the focus anywhere else the keys are the page's: Tab, Enter, Space and
// the arrows do what they do on any page. After the end, all are the
// browser's.
var canvas = Module['canvas'];
function programHasKeys() {
  return started && !ended && !replay && document.activeElement === canvas;
}

// The handlers sit on the window's capture phase, registered before GLUT's
// own (which read the legacy keyCode and would deliver every key a second
// time) and stopping them, wherever the focus is.
window.addEventListener('keydown', function (event) {
  event.stopImmediatePropagation();
  // Escape in full screen only leaves full screen (where the browser
  // lets the page see it at all); it does not end the program.
  if (event.key === 'Escape' && document.fullscreenElement) {
    event.preventDefault();
    document.exitFullscreen();
    return;
  }
  if (holdOnScreenKey(event, true) || event.key === 'Tab' || !programHasKeys()) return;
  var k = translate(event.key, event.code);
  if (!k || isShortcut(event)) return;
  if (!/^F\d+$/.test(event.key)) event.preventDefault();
  press(event.code || event.key, k);
}, true);

window.addEventListener('keyup', function (event) {
  event.stopImmediatePropagation();
  if (holdOnScreenKey(event, false)) return;
  var id = event.code || event.key;
  if (!(id in held)) return;
  event.preventDefault();
  // The release names the key as it reads now (Shift may be up already),
  // as the desktop does.
  release(id, translate(event.key, event.code) || held[id]);
}, true);

// A browser sends no key-up to a page that has lost the focus: release
// whatever is held, or a held arrow would drive the tank on by itself.
// Keys held on the keyboard go when the canvas loses the focus too.
window.addEventListener('blur', releaseAll);
document.addEventListener('visibilitychange', function () {
  if (document.hidden) releaseAll();
});
canvas.addEventListener('blur', function () {
  Object.keys(held).forEach(function (id) {
    if (!/^button /.test(id)) release(id, held[id]);
  });
});

// An on-screen key with the focus: Space held on it holds its key, as a
// finger does; Enter (a click without a pointer) taps it. Returns whether
// the event was such a Space.
var onScreenKeys = new Map();  // button: { down, up }
function holdOnScreenKey(event, down) {
  var key = onScreenKeys.get(document.activeElement);
  if (!key || event.key !== ' ') return false;
  // The button's own click on Space would tap the key once more.
  event.preventDefault();
  if (down && !event.repeat) key.down('space');
  if (!down) key.up('space');
  return true;
}

// The on-screen buttons, for touch screens: each stands for the key in its
// data-key, held while any pointer (finger), or Space with the button
// focused, is down on it, so several fingers can hold several keys at once.
function wireButtons() {
  document.querySelectorAll('[data-key]').forEach(function (button) {
    var key = button.getAttribute('data-key');
    var k = translate(key, '');
    var id = 'button ' + key;
    var holders = {};
    var spaceClick = false;  // the click a browser may still make of Space
    if (!k) return;
    function down(holder) {
      holders[holder] = true;
      if (!(id in held)) press(id, k);
    }
    function up(holder) {
      if (!(holder in holders)) return;
      delete holders[holder];
      if (holder === 'space') {
        spaceClick = true;
        setTimeout(function () { spaceClick = false; }, 0);
      }
      if (Object.keys(holders).length === 0) release(id, k);
    }
    onScreenKeys.set(button, { down: down, up: up });
    button.addEventListener('pointerdown', function (event) {
      event.preventDefault();
      down(event.pointerId);
    });
    ['pointerup', 'pointercancel', 'pointerleave'].forEach(function (type) {
      button.addEventListener(type, function (event) { up(event.pointerId); });
    });
    // Space held and the focus gone elsewhere: no key-up will come here.
    button.addEventListener('blur', function () { up('space'); });
    // A long press is a long hold, not a request for a menu.
    button.addEventListener('contextmenu', function (event) { event.preventDefault(); });
    // Activated without a pointer (Enter, assistive technology): a tap.
    button.addEventListener('click', function (event) {
      if (event.detail !== 0 || 'space' in holders || spaceClick) return;
      press(id, k);
      release(id, k);
    });
  });
}

// The canvas is the program's window: its drawing buffer follows the size
// the page lays it out at, in device pixels, and the program reshapes
// once for each new size, as freeglut tells it of a window's new size.
// During a replay the window's size changes only where the drive's did:
// the canvas is stretched meanwhile, and fitted when the replay ends.
function fitCanvas() {
  var box = canvas.getBoundingClientRect();
  var ratio = window.devicePixelRatio || 1;
  var width = Math.round(box.width * ratio);
  var height = Math.round(box.height * ratio);
  if (!started || ended || replay || width === 0 || height === 0) return;
  if (width === canvas.width && height === canvas.height) return;
  reshape(width, height);
}
// Setting a canvas's size clears it, even to the size it has, so the
// program draws at once after a new size; told again of the same size (a
// replay's reshapes, any number at one step), it only reshapes, and the
// step draws once as every step does.
function reshape(width, height) {
  var box = canvas.getBoundingClientRect();
  var ratio = window.devicePixelRatio || 1;
  var newWidth = width || Math.round(box.width * ratio) || canvas.width;
  var newHeight = height || Math.round(box.height * ratio) || canvas.height;
  record(reshapeEvent);
  if (newWidth === canvas.width && newHeight === canvas.height) {
    call('_webReshape', [newWidth, newHeight]);
    return;
  }
  canvas.width = newWidth;
  canvas.height = newHeight;
  call('_webResize', [newWidth, newHeight]);
}
// A zoom changes the ratio without changing the box's size in CSS pixels.
function watchRatio() {
  var query = window.matchMedia('(resolution: ' + (window.devicePixelRatio || 1) + 'dppx)');
  query.addEventListener('change', function () {
    fitCanvas();
    watchRatio();
  }, { once: true });
}
// Newer GLUTs resize the canvas to its CSS size on every window resize;
// the page does that itself, in device pixels, so theirs is stopped here
// (registered before GLUT's own, like the keys).
window.addEventListener('resize', function (event) { event.stopImmediatePropagation(); }, true);

// Once the program runs: check that it exports what the page calls, then
// bring it the page's input.
Module['postRun'] = [].concat(Module['postRun'] || [], function () {
  var missing = exportsNeeded.filter(function (name) { return typeof Module[name] !== 'function'; });
  if (missing.length) {
    lacks('lacksExports', 'the exported functions ', missing.join(', '));
    return;
  }
  started = true;
  new ResizeObserver(fitCanvas).observe(canvas);
  watchRatio();
});
wireButtons();
