// The page around the program: the canvas it draws on, where its standard
// output goes, what the status line says, full screen and the copy kept for
// use offline, in the page's language. It hears the program through
// web/program.js.
import { say as sayIn, onChange, text } from './language.js';
import { flush as flushTrace, write as writeTrace } from './trace.js';
import {
  onAbort, onEnding, onExit, onOutput, onPicture, onProblem, onStarted,
} from './program.js';

const canvas = document.getElementById('canvas');
const status = document.getElementById('status');

// Keep what was drawn once the frame is shown, so that the last frame
// stays after ESC and the canvas can be read back (screenshots, tests).
// No WebGL at all (turned off, or a GPU the browser refuses): the program
// cannot open its window, and the page says why rather than its status.
// Known from the program's own request, not from a context made to find
// out, which costs a phone a long task at start.
var getContext = canvas.getContext.bind(canvas);
var noWebGL = false;
canvas.getContext = function (type, attributes) {
  var context = getContext(type, Object.assign({}, attributes, { preserveDrawingBuffer: true }));
  if (!context && /webgl/.test(type)) {
    noWebGL = true;
    showStatus('noWebGL');
  }
  return context;
};


// What the page writes into itself as the program runs, the console and
// the tree, is written at most ten times a second, each time from a frame
// just drawn: every change of the page's text costs the browser a pass of
// style, layout and paint, and at fifty a second those passes cost more
// than all the rest of the page. What a writer needs of the frame is read
// with the frame (read), and written just after it (write).
const writeEvery = 100;  // ms
const writers = [flushTrace];
const readers = [];
let lastWrite = -Infinity;
function readFrame() {
  readers.forEach((read) => read());
}
function writePage() {
  lastWrite = performance.now();
  writers.forEach((write) => write());
}
// Another writer of the page (the tree, the replay's count).
export const addWriter = (write, read) => {
  writers.push(write);
  if (read) readers.push(read);
};

// After every frame. The first is also marked on the page's timeline
// (navigation is at 0), for the start-up figure of make bench-web.
var firstFrameDrawn = false;
function afterFrame() {
  if (!firstFrameDrawn) {
    firstFrameDrawn = true;
    performance.mark('first-frame');
    // The copy for use offline is made once the program runs, so that it
    // does not compete with the start.
    setTimeout(keepForOffline, 0);
  }
  // In a task of its own, not in the one that drew the frame (at the start,
  // the program's: its window, the help and the first reshape).
  if (performance.now() - lastWrite >= writeEvery) {
    lastWrite = performance.now();
    readFrame();
    setTimeout(writePage, 0);
  }
}

// The program is ending: its runtime will shrink the canvas it drew on,
// so the last frame is copied into a plain canvas that takes its place,
// a picture now. The on-screen keys do nothing any more and say so; the
// focus, if it was on the canvas or a key, stays on the picture.
function keepLastFrame() {
  if (document.fullscreenElement) document.exitFullscreen();
  var still = document.createElement('canvas');
  still.width = canvas.width;
  still.height = canvas.height;
  still.getContext('2d').drawImage(canvas, 0, 0);
  still.id = canvas.id;
  still.className = canvas.className;
  still.setAttribute('role', 'img');
  still.dataset.label = 'lastFrame';
  still.setAttribute('aria-label', text('lastFrame'));
  still.tabIndex = -1;
  var stage = document.getElementById('stage');
  var hadFocus = stage.contains(document.activeElement);
  canvas.id = '';
  canvas.replaceWith(still);
  stage.querySelectorAll('[data-key]').forEach(function (key) { key.disabled = true; });
  if (hadFocus) still.focus();
}

// The status line (read out by screen readers): what the program is
// doing, or what went wrong, with a button that does something about it
// where something can be done (web/language.js writes it).
let said = null;
function say(message, label, action) {
  said = sayIn(status, message, label, action);
}
function showStatus(name, value, more) {
  say(function () { return text(name, value, more); });
}
showStatus('loading');
// A reload keeps the page's own settings: the tree open or closed, the
// step lines shown or hidden.
function reload() {
  try {
    sessionStorage.setItem('tank-page', JSON.stringify({
      treeOpen: document.querySelector('details.tree').open,
      stepsHidden: document.getElementById('trace').classList.contains('hide-step'),
    }));
  } catch (error) {
    // no storage here: the reload starts with the defaults
  }
  location.reload();
}
try {
  var kept = JSON.parse(sessionStorage.getItem('tank-page') || 'null');
  sessionStorage.removeItem('tank-page');
  if (kept) {
    document.querySelector('details.tree').open = kept.treeOpen;
    if (kept.stepsHidden) document.getElementById('hide-steps').click();
  }
} catch (error) {
  // no storage here (a sandboxed frame, storage turned off)
}

// A file of the page that does not arrive: named, with a retry.
var started = false;
// what: a function giving the reason in the page's language.
function failedToLoad(what) {
  var names = ['tank.js', 'tank.wasm'];
  if (window.origin === 'null') {
    // A sandboxed frame gives the page no origin to load its files from.
    showStatus('sandboxed', location.href);
    return;
  }
  if (document.documentElement.hasAttribute('data-single-file')) {
    say(function () { return text('cannotStart', what()); }, 'retry', reload);
    return;
  }
  Promise.all(names.map(function (name) {
    return fetch(name, { method: 'HEAD', cache: 'no-store' })
      .then(function (response) { return response.ok ? null : [name + ' (' + response.status + ')']; },
        function () { return [name, 'noConnection']; });
  })).then(function (missing) {
    missing = missing.filter(Boolean);
    say(function () {
      var names = missing.map(function (m) { return m[1] ? m[0] + ' (' + text(m[1]) + ')' : m[0]; });
      return text('notLoaded', names.length ? text('didNotArrive', names.join(', ')) : what());
    }, 'retry', reload);
  });
}
window.addEventListener('error', function (event) {
  var element = event.target;
  if (element && element !== window && (element.src || element.href) && !started) {
    var name = (element.src || element.href).split('/').pop();
    failedToLoad(function () { return text('didNotArrive', name); });
  }
}, true);
// The runtime's own download failing (refused, or no connection) ends in
// a rejected promise rather than its abort.
window.addEventListener('unhandledrejection', function (event) {
  var reason = String(event.reason && event.reason.message || event.reason);
  if (!started) failedToLoad(function () { return reason; });
});
// Still loading long after a page this size takes anywhere: say so.
setTimeout(function () {
  if (started || !said || said.message() !== text('loading')) return;
  if (window.origin === 'null') failedToLoad(function () { return ''; });
  else say(function () { return text('stillLoading'); }, 'retry', reload);
}, 30000);

// The picture lost (phones drop it when the GPU is reset or the tab is put
// away): the program's GL objects are gone with it, and a new start is
// the only way back. The page says so instead of a blank canvas.
canvas.addEventListener('webglcontextlost', function (event) {
  event.preventDefault();
  canvas.classList.add('lost');
  say(function () { return text('lost'); }, 'startAgain', reload);
});

var problem = null;
// Standard output goes to the console panel.
onOutput(writeTrace);
onPicture(afterFrame);
onEnding(keepLastFrame);
onProblem(function (name, version, missing) {
  problem = name;
  showStatus(name, version, missing);
});
onStarted(function () {
  started = true;
  if (!problem && !noWebGL) showStatus('running');
});
// The page written once more, so that it shows the program's end.
onExit(function (code) {
  readFrame();
  writePage();
  if (!noWebGL) showStatus('ended', code);
});
onAbort(function (what) {
  readFrame();
  writePage();
  if (!started) failedToLoad(function () { return String(what); });
  else if (!noWebGL) showStatus('stopped', what);
});

// Full screen for the canvas and the on-screen keys; the button, or the
// browser's own Escape, leaves it again.
var stage = document.getElementById('stage');
var fullscreen = document.getElementById('fullscreen');
if (!stage.requestFullscreen) fullscreen.hidden = true;
fullscreen.addEventListener('click', function () {
  if (document.fullscreenElement) document.exitFullscreen();
  else stage.requestFullscreen().catch(function () {});
  canvas.focus();
});
// One label; whether it is on is the button's pressed state.
document.addEventListener('fullscreenchange', function () {
  fullscreen.setAttribute('aria-pressed', String(document.fullscreenElement === stage));
});

// Served over http(s), the page keeps itself for use without a network
// (web/sw.js), for its own folder only; opened from a file, as the single
// file, or where the browser keeps nothing for it (a sandboxed frame,
// storage turned off), it has no worker and runs all the same. Online,
// every visit loads the page as served now; the kept set follows once the
// page has loaded all it will load (it has, once its program draws).
function keepForOffline() {
  if (!/^https?:$/.test(location.protocol) || document.documentElement.hasAttribute('data-single-file')) return;
  var workers = null;
  try {
    workers = navigator.serviceWorker;
  } catch (error) {
    return;  // a sandboxed frame: reading it throws
  }
  if (!workers) return;
  // A new build, installed, takes over once the page has loaded it all. The
  // registration this page already has is watched at once: registering
  // again waits for any update the browser is making, which on a busy
  // machine can take most of a minute.
  var watched = null;
  function takeOver(worker) {
    function whenInstalled() {
      if (worker.state === 'installed') worker.postMessage('take over');
    }
    worker.addEventListener('statechange', whenInstalled);
    whenInstalled();
  }
  function watch(registration) {
    if (!registration || watched === registration) return;
    watched = registration;
    if (registration.waiting) takeOver(registration.waiting);
    else if (registration.installing && workers.controller) takeOver(registration.installing);
    registration.addEventListener('updatefound', function () {
      if (workers.controller) takeOver(registration.installing);
    });
    // Online, the build served now is asked for at once rather than when
    // the browser gets round to it.
    if (workers.controller) registration.update().catch(function () {});
  }
  workers.getRegistration().then(watch, function () {});
  workers.register('sw.js').then(watch).catch(function (error) { console.warn('no offline copy: ' + error.message); });
}

// The keys drive the tank while the canvas has the focus, from the start;
// a click or a tap on it gives it the keys back (Tab reaches it too).
canvas.addEventListener('click', function () { canvas.focus(); });
// It is at the top already: scrolling it into view would lay the page out
// while it loads.
canvas.focus({ preventScroll: true });
