// The on-screen keys, for touch screens and for the keyboard's focus: each
// button stands for its key (web/key-buttons.js makes them).
import { translate } from './keys.js';
import { held, press, release } from './bridge-keyboard.js';

// An on-screen key with the focus: Space held on it holds its key, as a
// finger does; Enter (a click without a pointer) taps it. Returns whether
// the event was such a Space (the keyboard's handlers ask first).
var onScreenKeys = new Map();  // button: { down, up }
export function holdOnScreenKey(event, down) {
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
wireButtons();
