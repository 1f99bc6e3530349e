// The canvas, the program's window on the page: it keeps what was drawn,
// it has the keys from the start, and after the program's end the last
// picture stays in its place.
import { text } from './language.js';
import { onEnding, onPicture } from './program.js';
import { sayNoWebGL } from './status.js';

const canvas = document.getElementById('canvas');

// Keep what was drawn once the picture is shown, so that the last picture
// stays after ESC and the canvas can be read back (screenshots, tests).
// No WebGL at all is known from the program's own request, not from a
// context made to find out, which costs a phone a long task at start.
var getContext = canvas.getContext.bind(canvas);
canvas.getContext = function (type, attributes) {
  var context = getContext(type, Object.assign({}, attributes, { preserveDrawingBuffer: true }));
  if (!context && /webgl/.test(type)) sayNoWebGL();
  return context;
};

// The first picture is marked on the page's timeline (navigation is at 0),
// for the start-up figure of make bench-web.
var firstDrawn = false;
onPicture(function () {
  if (firstDrawn) return;
  firstDrawn = true;
  performance.mark('first-frame');
});

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

onEnding(keepLastFrame);

// The keys drive the tank while the canvas has the focus, from the start;
// a click or a tap on it gives it the keys back (Tab reaches it too).
canvas.addEventListener('click', function () { canvas.focus(); });
// It is at the top already: scrolling it into view would lay the page out
// while it loads.
canvas.focus({ preventScroll: true });
