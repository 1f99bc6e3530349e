// drawTank(), the drawing's own code as the build found it (web/assemble.
// mjs), beside the tree: choosing a part in the tree marks the lines that
// made it, and a step, its own line (web/code-lines.js); each number of the
// shape the code uses leads to its control (web/shape.js).
import { partLines, shapeUses } from './code-lines.js';
import { onRunning, hasShape, shapeText } from './program.js';
import { controlId, readFields } from './shape-code.js';
import { onChoose } from './tree.js';

const panel = document.getElementById('code-panel');
const pre = document.getElementById('code');
const code = JSON.parse(document.getElementById('tank-code').textContent || '{}');
const lines = (code.drawing || '').replace(/\n$/, '').split('\n');
const shown = [];  // each line's element

// A use of the shape's number: a link to its control, which it focuses.
function fieldLink(use) {
  const link = document.createElement('a');
  link.href = `#${controlId(use.field)}`;
  link.className = 'field';
  link.textContent = use.text;
  link.addEventListener('click', (event) => {
    event.preventDefault();
    const control = document.getElementById(controlId(use.field));
    if (!control) return;
    document.getElementById('shape-panel').open = true;
    control.focus();
    control.scrollIntoView({ block: 'center' });
  });
  return link;
}

function write(fieldNames) {
  pre.textContent = '';
  lines.forEach((text, i) => {
    const line = document.createElement('span');
    line.className = 'line';
    const number = document.createElement('span');
    number.className = 'number';
    number.setAttribute('aria-hidden', 'true');
    number.textContent = String(code.firstLine + i).padStart(3);
    line.append(number);
    let from = 0;
    for (const use of shapeUses(text, fieldNames)) {
      line.append(text.slice(from, use.at), fieldLink(use));
      from = use.at + use.text.length;
    }
    line.append(text.slice(from), '\n');
    pre.append(line);
    shown.push(line);
  });
}

// The choice in the tree, marked: the part's lines, and the chosen step's.
onChoose((choice) => {
  shown.forEach((line) => line.classList.remove('made', 'step'));
  if (!choice) return;
  const found = partLines(lines, choice.node);
  if (!found) return;
  found.lines.forEach((i) => shown[i].classList.add('made'));
  const stepLine = found.stepLines[choice.step];
  if (stepLine !== undefined) shown[stepLine].classList.add('step');
  // Within the code's own box, not the page.
  const first = shown[stepLine !== undefined ? stepLine : found.lines[0]];
  pre.scrollTop = first.offsetTop - pre.offsetTop - pre.clientHeight / 3;
});

onRunning(() => {
  if (!lines[0]) {
    panel.hidden = true;  // a page with no code of the drawing (the bench's floor)
    return;
  }
  write(hasShape() ? readFields(shapeText()).map((f) => f.name) : []);
});
