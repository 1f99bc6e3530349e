// The keyboard as the program's: keys pressed and released while its
// canvas has the focus, each told to the program once, in order, and let
// go whenever the page can no longer see them released.
import { translate } from './keys.js';
import { running } from './bridge-program.js';
import { deliverKey, replaying } from './bridge-recording.js';
import { holdOnScreenKey } from './bridge-buttons.js';

// What is held, by physical key (or button), so that a release reaches the
// program only after its press and a lost focus can release everything.
export const held = {};

// A replay has the program's keys until it is over or stopped.
export function press(id, k) {
  if (!running() || replaying()) return;
  held[id] = k;
  deliverKey(k, true);
}

export function release(id, k) {
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
  return running() && !replaying() && document.activeElement === canvas;
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

