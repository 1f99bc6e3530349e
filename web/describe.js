// The picture in words, for whoever cannot see it: the button, or W
// anywhere on the page, says where the tank is and what it is doing, in
// the page's language, in a polite live region. Only when asked, and at
// most once a second however often it is asked (a held W repeats).
import { onChange, text } from './language.js';
import { addWriter } from './writes.js';
import { hasModel, modelText, viewText } from './program.js';
import { describePicture } from './words.js';

const region = document.getElementById('description');
const button = document.getElementById('describe');
const every = 1000;  // ms between two descriptions at least

// The model and the view as the last frame drawn had them, read with the
// page's other readers (web/writes.js), and once more at the program's end.
let values = null;
let view = null;
function read() {
  if (!hasModel()) return;
  const words = modelText().split(' ');
  values = {};
  for (let i = 0; i + 1 < words.length; i += 2) values[words[i]] = Number(words[i + 1]);
  const [projection, mode] = viewText().split(' ');
  view = { projection, mode };
}
addWriter(() => {}, read);

let said = null;  // [values, view] last described
let last = -Infinity;
let pending = null;
function describe() {
  pending = null;
  last = performance.now();
  if (!values) return;
  said = [values, view];
  // Emptied first, so that the same words asked for again are said again.
  region.textContent = '';
  setTimeout(() => { region.textContent = describePicture(said[0], said[1], text('language')); }, 50);
}
function ask() {
  if (pending !== null) return;
  pending = setTimeout(describe, Math.max(0, last + every - performance.now()));
}
onChange(() => {
  if (said) region.textContent = describePicture(said[0], said[1], text('language'));
});

button.addEventListener('click', ask);
// W is the page's, wherever the focus is but in a field that types: the
// program is never told of it. Registered before the program's handlers
// (web/bridge.js), which take every other key.
window.addEventListener('keydown', (event) => {
  if (event.key !== 'w' && event.key !== 'W') return;
  if (event.ctrlKey || event.altKey || event.metaKey) return;
  if (event.target.closest && event.target.closest('input, textarea, select')) return;
  event.preventDefault();
  event.stopImmediatePropagation();
  if (!event.repeat) ask();
}, true);
window.addEventListener('keyup', (event) => {
  if (event.key === 'w' || event.key === 'W') event.stopImmediatePropagation();
}, true);
