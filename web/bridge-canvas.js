// The canvas is the program's window: its size, as the page lays it out,
// told to the program as freeglut tells a window's new size.
import { reshapeEvent } from './keys.js';
import { call, onProgramStart, running } from './bridge-program.js';
import { record, replaying } from './bridge-recording.js';

var canvas = Module['canvas'];
// Its drawing buffer follows the size the page lays it out at, in device
// pixels, and the program reshapes once for each new size. During a
// replay the window's size changes only where the recording's did: the
// canvas is stretched meanwhile, and fitted when the replay ends.
export function fitCanvas() {
  var box = canvas.getBoundingClientRect();
  var ratio = window.devicePixelRatio || 1;
  var width = Math.round(box.width * ratio);
  var height = Math.round(box.height * ratio);
  if (!running() || replaying() || width === 0 || height === 0) return;
  if (width === canvas.width && height === canvas.height) return;
  reshape(width, height);
}
// Setting a canvas's size clears it, even to the size it has, so the
// program draws at once after a new size; told again of the same size (a
// replay's reshapes, any number at one tick), it only reshapes, and the
// tick draws once as every tick does.
export function reshape(width, height) {
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

// Once the program runs, the canvas's size is watched.
onProgramStart(function () {
  new ResizeObserver(fitCanvas).observe(canvas);
  watchRatio();
});
