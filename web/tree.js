// The live tree of transforms beside the canvas: the tree the drawing
// applies, as the page's GL writes it down from the program's own drawing
// when the program starts (render/diagram.cpp, the same as docs/tank.svg),
// with the model's values as the frame on the screen used them.
// It asks the program for the values when the page writes itself. Each
// part is also a button that shows the part's frame in the picture
// (web/part-frame.cpp); each step, chosen, marks the line of the drawing's
// code that made it (web/code.js). When the tank's shape changes (web/
// shape.js), the tree is read again and written anew, the part chosen kept.
import { onChange, treeText as inLanguage } from './language.js';
import { addWriter } from './writes.js';
import {
  hasModel, modelText, onRunning, onShape, showPart, tankTree,
} from './program.js';

var panel = document.getElementById('tree');
var translated = [];  // [text node, its English, its part's id]
var retold = [];  // what writes each step in the page's language
var shown = {};  // name: the text it shows now
var showing = {};  // name: the elements that show it
var lit = [];  // [element, time] of steps whose value just changed
var dimTimer = null;
var litFor = 600;  // ms a changed step stays marked

// A text of the tree (a part's name by its id), in the page's language now
// and after a change.
function treeText(english, partId) {
  var node = document.createTextNode(inLanguage(english, partId));
  translated.push([node, english, partId]);
  return node;
}
onChange(function () {
  translated.forEach(function (t) { t[0].data = inLanguage(t[1], t[2]); });
  retold.forEach(function (retell) { retell(); });
});

// Who follows the choice (web/code.js): told { node, step } of the part
// chosen and, where a step was chosen, its place among the part's steps;
// null when none is.
var followers = [];
export const onChoose = (follower) => { followers.push(follower); };
var chosenStep = -1;
function tellChoice() {
  var node = chosen < 0 ? null : parts[chosen].node;
  followers.forEach(function (follow) { follow(node && { node: node, step: chosenStep }); });
}

// A step, its model values ({name}) each shown as its name and a number.
// Rewritten whole in another language, then cut at the names again. A
// screen reader reads it as one phrase with its values (the step's name),
// not as the pieces it is shown in.
var stepCount = 0;
function stepItem(step) {
  var item = document.createElement('li');
  var phrase = document.createElement('span');
  phrase.className = 'unseen';
  phrase.id = 'step-' + ++stepCount;
  var shown = document.createElement('span');
  shown.setAttribute('aria-hidden', 'true');
  item.setAttribute('aria-labelledby', phrase.id);
  item.append(phrase, shown);
  var words = [];
  step.split(/(\{\w+\})/).forEach(function (part) {
    var name = /^\{(\w+)\}$/.exec(part);
    if (!name) {
      words.push(part ? shown.appendChild(document.createTextNode(part)) : null);
      return;
    }
    var live = document.createElement('span');
    live.className = 'live';
    var label = document.createElement('var');
    label.textContent = name[1];
    var value = document.createElement('b');
    value.setAttribute('data-model', name[1]);
    value.textContent = '0.00';
    live.append(label, ' ', value);
    shown.appendChild(live);
    (showing[name[1]] = showing[name[1]] || []).push(value);
  });
  item.say = function () { phrase.textContent = shown.textContent; };
  // The step's words between its values, in the page's language.
  var stepWords = function () {
    var pieces = inLanguage(step).split(/\{\w+\}/);
    words.forEach(function (node, i) { if (node) node.data = pieces[i]; });
    item.say();
  };
  retold.push(stepWords);
  stepWords();
  return item;
}

// The parts, in the tree's order: choosing one shows its frame and marks
// what it draws, itself and the parts under it. One of them is in the tab
// order (the chosen one, else the first); the arrows move between them.
var parts = [];  // { button, id, node }
var chosen = -1;
function mark(index) {
  chosen = index >= 0 && index < parts.length ? index : -1;
  chosenStep = -1;
  parts.forEach(function (part, i) {
    part.button.setAttribute('aria-pressed', String(i === chosen));
    part.button.tabIndex = i === (chosen < 0 ? 0 : chosen) ? 0 : -1;
  });
  tellChoice();
}
function show(index) {
  mark(index);
  // Not before the program runs, nor after it has ended (web/bridge.js).
  showPart(chosen < 0 ? '' : parts[chosen].id);
}

// Focus from the keyboard chooses, as the arrows move it; a click or tap
// (or Enter, Space) on the chosen part hides its frame again.
function partButton(index) {
  var button = document.createElement('button');
  button.type = 'button';
  button.className = 'part';
  button.addEventListener('focus', function () {
    if (button.matches(':focus-visible') && chosen !== index) show(index);
  });
  button.addEventListener('click', function () { show(chosen === index ? -1 : index); });
  return button;
}
// Registered before the bridge's handlers, which keep key events from the
// page's elements.
window.addEventListener('keydown', function (event) {
  var at = parts.findIndex(function (part) { return part.button === document.activeElement; });
  var to = { ArrowDown: at + 1, ArrowUp: at - 1, Home: 0, End: parts.length - 1 }[event.key];
  if (at < 0 || to === undefined) return;
  event.preventDefault();
  to = Math.max(0, Math.min(parts.length - 1, to));
  show(to);
  parts[to].button.focus();
}, true);

function build(nodes) {
  var lists = {};
  var root = document.createElement('ul');
  nodes.forEach(function (node) {
    var item = document.createElement('li');
    // A part that draws something has more than its name in its label.
    item.className = node.label.length > 1 ? 'drawn' : 'frame';
    var index = parts.length;
    if (node.steps.length) {
      var steps = document.createElement('ol');
      steps.className = 'steps';
      node.steps.forEach(function (step, s) {
        // A step clicked chooses its part and marks its line of code.
        var line = steps.appendChild(stepItem(step));
        line.addEventListener('click', function () {
          if (chosen !== index) show(index);
          chosenStep = s;
          tellChoice();
        });
      });
      item.appendChild(steps);
    }
    var label = partButton(parts.length);
    label.dataset.part = node.id;
    node.label.forEach(function (line, i) {
      if (i) label.appendChild(document.createElement('br'));
      label.appendChild(treeText(line, i === 0 ? node.id : undefined));
    });
    item.appendChild(label);
    parts.push({ button: label, id: node.id, node: node });
    lists[node.id] = document.createElement('ul');
    item.appendChild(lists[node.id]);
    (node.parent ? lists[node.parent] : root).appendChild(item);
  });
  panel.appendChild(root);
}

// With the page's other writes (web/writes.js), from the picture just drawn
// (read with it): only what changed is written, and its step lit.
var values = null;
function readValues() {
  values = modelText();
}
function update(quietly) {
  if (values === null) readValues();
  var words = values.split(' ');
  values = null;
  var now = quietly === true ? -Infinity : performance.now();
  for (var i = 0; i + 1 < words.length; i += 2) {
    var name = words[i];
    var value = words[i + 1];
    if (shown[name] === value || !showing[name]) continue;
    shown[name] = value;
    showing[name].forEach(function (element) {
      element.textContent = value;
      var step = element.closest('li');
      step.say();
      if (now === -Infinity) return;
      if (!step.classList.contains('changed')) step.classList.add('changed');
      lit.push([step, now]);
    });
  }
  if (lit.length && dimTimer === null) dimTimer = setTimeout(dim, litFor);
}

function dim() {
  dimTimer = null;
  var now = performance.now();
  var latest = new Map();
  lit.forEach(function (entry) { latest.set(entry[0], entry[1]); });
  lit = [];
  latest.forEach(function (time, step) {
    if (now - time >= litFor) step.classList.remove('changed');
    else lit.push([step, time]);
  });
  if (lit.length) dimTimer = setTimeout(dim, litFor / 2);
}

onRunning(function () {
  if (!hasModel()) {
    panel.closest('details').hidden = true;  // a program with no tree (the bench's floor)
    return;
  }
  build(tankTree());
  mark(-1);  // none shown yet, as the program starts: nothing to draw again
  addWriter(update, readValues);
  update();
});

// The shape changed: the tree written again from the drawing, the same
// part chosen and, if it had the focus, focused.
onShape(function () {
  var id = chosen < 0 ? null : parts[chosen].id;
  var focused = parts.some(function (part) { return part.button === document.activeElement; });
  panel.textContent = '';
  parts = [];
  translated = [];
  retold = [];
  shown = {};
  showing = {};
  lit = [];
  build(tankTree());
  var again = parts.findIndex(function (part) { return part.id === id; });
  mark(again);
  if (focused && again >= 0) parts[again].button.focus();
  update(true);
});
