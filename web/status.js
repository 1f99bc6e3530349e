// The status line (read out by screen readers): what the program is doing,
// or what went wrong (a file that did not arrive, no WebGL, a sandboxed
// frame, the picture lost), with a button that does something about it
// where something can be done, in the page's language.
import { say as sayIn, text } from './language.js';
import {
  onAbort, onExit, onProblem, onStarted,
} from './program.js';

const status = document.getElementById('status');
const canvas = document.getElementById('canvas');

let said = null;
function say(message, label, action) {
  said = sayIn(status, message, label, action);
}
function showStatus(name, value, more) {
  say(function () { return text(name, value, more); });
}
showStatus('loading');
// A reload keeps the page's own settings: the tree open or closed, the
// tick lines shown or hidden.
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

// No WebGL at all (turned off, or a GPU the browser refuses): the program
// cannot open its window, and the page says why rather than its status
// (web/canvas.js finds it out).
var noWebGL = false;
export function sayNoWebGL() {
  noWebGL = true;
  showStatus('noWebGL');
}

var problem = null;
onProblem(function (name, version, missing) {
  problem = name;
  showStatus(name, version, missing);
});
onStarted(function () {
  started = true;
  if (!problem && !noWebGL) showStatus('running');
});
onExit(function (code) {
  if (!noWebGL) showStatus('ended', code);
});
onAbort(function (what) {
  if (!started) failedToLoad(function () { return String(what); });
  else if (!noWebGL) showStatus('stopped', what);
});
