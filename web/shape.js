// The tank's shape, changed in the page: each number of the shape
// (render/tank_shape.h, as the program lists them: web/shape.cpp) with a
// slider and a number field, grouped by the part it shapes; a change is
// drawn at once and the tree follows it (web/tree.js). "Reset shape" puts
// the built-in numbers back; the shape is copied as C++ to paste into
// render/tank_shape.cpp, and shared as a link (#shape=...), which may ride
// on a recording's link too (web/drive.js). The controls wait, folded,
// under the picture until the reader opens them, so that on a small screen
// they never take its place.
import { fragmentOf, fragmentPart } from './fragment.js';
import { onChange, say, text, treeText } from './language.js';
import {
  hasShape, onAbort, onExit, onRunning, setShape, shapeText, tankTree,
} from './program.js';
import {
  controlId, readFields, readShapeLink, shapeLink, shortest, writeSource,
} from './shape-code.js';

const panel = document.getElementById('shape-panel');
const list = document.getElementById('shape-fields');
const note = document.getElementById('shape-note');
const cpp = document.getElementById('shape-cpp');
const code = JSON.parse(document.getElementById('tank-code').textContent || '{}');

let fields = [];  // as the program started: the built-in shape
let values = [];  // as the picture has it now
const inputs = [];  // [slider, number field] for each field

// The shape's part of a link ('' for the built-in shape).
export const shapeLinkPart = () => shapeLink(fields, values);

// What the page says of the shape, under its buttons.
function tell(message) {
  note.hidden = false;
  say(note, message);
}

// The numbers changed, [[index, value], ...]: drawn, and each control shows
// its number as the shape holds it, but for the one being typed into (from);
// a number the program refuses leaves the field as it was.
function change(changes, from = null) {
  if (!setShape(changes)) {
    tell(() => text('shapeRefused'));
  }
  readFields(shapeText()).forEach((f, i) => {
    values[i] = f.value;
    inputs[i].forEach((input) => {
      if (input !== from) input.value = shortest(f.value, f.type);
    });
  });
}

// A field's slider moves in steps that suit its range.
const stepOf = (f) => (f.type === 'int' ? 1 : f.high - f.low <= 2 ? 0.01 : 0.05);

function fieldRow(f, i) {
  const row = document.createElement('div');
  row.className = 'field';
  const label = document.createElement('label');
  label.htmlFor = controlId(f.name);
  label.id = `shape-label-${i}`;
  const name = document.createElement('code');
  name.textContent = f.name;
  label.append(name);
  const slider = document.createElement('input');
  slider.type = 'range';
  slider.id = controlId(f.name);
  const number = document.createElement('input');
  number.type = 'number';
  number.setAttribute('aria-labelledby', label.id);
  for (const input of [slider, number]) {
    input.min = f.low;
    input.max = f.high;
    input.step = input === slider ? stepOf(f) : 'any';
    input.value = shortest(f.value, f.type);
    input.addEventListener('input', () => {
      const value = Number(input.value);
      if (input.value === '' || !(value >= f.low && value <= f.high)) return;
      change([[i, f.type === 'int' ? Math.round(value) : value]], input);
    });
  }
  inputs[i] = [slider, number];
  row.append(label, slider, number);
  return row;
}

// The groups, each under the name of the part it shapes as the tree names
// it (the wheels' shared numbers under "the wheels").
function build() {
  const names = Object.fromEntries(tankTree().map((n) => [n.id, n.label[0]]));
  const groups = new Map();
  fields.forEach((f, i) => {
    if (!groups.has(f.part)) {
      const group = document.createElement('fieldset');
      const legend = document.createElement('legend');
      const english = names[f.part];
      const legendText = () => { legend.textContent = english ? treeText(english, f.part) : text('wheelsGroup'); };
      onChange(legendText);
      legendText();
      group.append(legend);
      list.append(group);
      groups.set(f.part, group);
    }
    groups.get(f.part).append(fieldRow(f, i));
  });
}

// The C++ of the shape now, shown to be selected and, where the browser
// lets the page, put on the clipboard.
document.getElementById('shape-copy').addEventListener('click', () => {
  const source = writeSource(code.shape || '', fields, values);
  if (source === null) {
    tell(() => text('shapeNoSource'));
    return;
  }
  cpp.textContent = source;
  cpp.hidden = false;
  const copied = navigator.clipboard && navigator.clipboard.writeText
    ? navigator.clipboard.writeText(source) : Promise.reject();
  copied.then(() => tell(() => text('shapeCopied')), () => tell(() => text('shapeSelect')));
});

document.getElementById('shape-reset').addEventListener('click', () => {
  change(fields.map((f, i) => [i, f.value]));
  tell(() => text('shapeIsReset'));
});

const shared = document.getElementById('shape-shared');
const link = document.getElementById('shape-link');
document.getElementById('shape-share').addEventListener('click', () => {
  link.href = `${location.href.replace(/#.*$/, '')}#${fragmentOf({ shape: shapeLinkPart() })}`;
  link.textContent = link.href;
  shared.hidden = false;
});
// The page's own address opens afresh too (a new one does, web/drive.js).
link.addEventListener('click', (event) => {
  if (link.href !== location.href) return;
  event.preventDefault();
  location.reload();
});

// Opened with a shape's link: its numbers, or a word on why not and the
// built-in shape.
function fromLink() {
  const part = fragmentPart(location.hash, 'shape');
  if (part === null) return;
  const found = readShapeLink(part, fields);
  if (found.problem) {
    tell(() => text('badShapeLink', text(found.problem)));
    panel.open = true;
    return;
  }
  change(found.values.map((value, i) => [i, value]));
}

onRunning(() => {
  if (!hasShape()) {
    panel.hidden = true;  // a program with no shape to change (the bench's floor)
    return;
  }
  fields = readFields(shapeText());
  values = fields.map((f) => f.value);
  build();
  fromLink();
});
// Once the program has ended, its shape no longer changes; it can still be
// copied and shared.
const ended = () => {
  inputs.flat().forEach((input) => { input.disabled = true; });
  document.getElementById('shape-reset').disabled = true;
};
onExit(ended);
onAbort(ended);
