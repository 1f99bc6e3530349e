// The console panel: the program's standard output, decoded as Latin-1,
// its last maxLines lines, each marked by the part of the program that
// prints it, as the program hands it over (web/program.js).
//
// Output arrives as the bytes of each line or help text. It is gathered
// (web/output.js, which keeps no more than the panel shows) and shown a few times a
// second, not at every tick: no one reads fifty lines a second, and each
// change of the panel costs the browser a layout and a paint. The page
// flushes it when it writes itself (web/writes.js); a timer does when
// no pictures come (a hidden tab, an ended program). The lines are
// kept in blocks of blockLines, so a change lays out only the newest block
// and the oldest; within a block, a run of lines of one kind is one text
// node in one span. New text is appended, the oldest lines are cut from the
// front, which also keeps a reader's selection where it was.

import { outputBuffer } from './output.js';
import { onOutput } from './program.js';

var maxLines = 1000;
var flushAfter = 150;  // ms at most: never more than a fifth of a second behind
var blockLines = 20;
var trace = document.getElementById('trace');
// { element, runs: [{ kind, text: its text node, lines: their lengths }], lineCount }
var blocks = [];
var lineCount = 0;
var pending = outputBuffer(maxLines, 256 * 1024);
var flushTimer = null;

// Which part of the program prints a line, known by its text: each prints
// only its own. The timer's step, the keyboard's callbacks (the D toggle
// among them), reshape, and the key help.
function kindOf(line) {
  if (/^Velocidade /.test(line)) return 'step';
  if (/^(Carregou|Largou|DEBUG is )/.test(line)) return 'key';
  if (/^Reshape /.test(line)) return 'reshape';
  return 'help';
}

function addBlock() {
  // A span laid out as a block: a <pre> holds phrasing content only.
  var block = { element: document.createElement('span'), runs: [], lineCount: 0 };
  trace.appendChild(block.element);
  blocks.push(block);
  return block;
}

function addRun(block, kind) {
  var span = document.createElement('span');
  var run = { kind: kind, text: document.createTextNode(''), lines: [] };
  span.className = kind;
  span.appendChild(run.text);
  block.element.appendChild(span);
  block.runs.push(run);
  return run;
}

function append(added) {
  var block = blocks[blocks.length - 1];
  var run = block && block.runs[block.runs.length - 1];
  var unfinished = run && run.text.data.charCodeAt(run.text.data.length - 1) !== 10;
  var chunk = '';
  (added.match(/[^\n]*\n|[^\n]+$/g) || []).forEach(function (line) {
    if (unfinished) {
      run.lines[run.lines.length - 1] += line.length;
      unfinished = false;
    } else {
      var kind = kindOf(line);
      if (!block || block.lineCount === blockLines || run.kind !== kind) {
        if (chunk) run.text.appendData(chunk);
        chunk = '';
        if (!block || block.lineCount === blockLines) block = addBlock();
        run = addRun(block, kind);
      }
      run.lines.push(line.length);
      block.lineCount++;
      lineCount++;
    }
    chunk += line;
  });
  if (chunk) run.text.appendData(chunk);
}

function cutOldest() {
  while (lineCount > maxLines) {
    var block = blocks[0];
    var run = block.runs[0];
    var excess = Math.min(lineCount - maxLines, run.lines.length);
    lineCount -= excess;
    block.lineCount -= excess;
    if (excess === run.lines.length) {
      run.text.parentNode.remove();
      block.runs.shift();
    } else {
      run.text.deleteData(0, run.lines.splice(0, excess).reduce(function (a, b) { return a + b; }, 0));
    }
    if (block.runs.length === 0) {
      block.element.remove();
      blocks.shift();
    }
  }
}

// Every line shown goes, as when maxLines newer lines came.
function clear() {
  blocks.forEach(function (block) { block.element.remove(); });
  blocks = [];
  lineCount = 0;
}

export function flush() {
  clearTimeout(flushTimer);
  flushTimer = null;
  var taken = pending.take();
  if (taken.dropped) clear();
  var added = taken.text;
  if (!added) return;
  // Follow the output only while the reader is at its end, so that
  // scrolling back to read is not undone as lines arrive; a reader
  // scrolled back keeps seeing the same lines as the oldest go.
  var following = trace.scrollTop + trace.clientHeight >= trace.scrollHeight - 4;
  append(added);
  var height = following || lineCount <= maxLines ? 0 : trace.scrollHeight;
  cutOldest();
  if (following) trace.scrollTop = trace.scrollHeight;
  else if (height) trace.scrollTop -= height - trace.scrollHeight;
}

// bytes: a view of the program's memory, copied at once.
export function write(bytes) {
  pending.add(bytes);
  if (flushTimer === null) flushTimer = setTimeout(flush, flushAfter);
}

// The timer's step lines can be hidden, so that the keys' and reshape's
// lines stand out; hidden lines are still kept.
// One label; whether they are hidden is the button's pressed state.
var hideSteps = document.getElementById('hide-steps');
hideSteps.addEventListener('click', function () {
  hideSteps.setAttribute('aria-pressed', String(trace.classList.toggle('hide-step')));
});

// A copy gives the lines as the program wrote them, hidden ones included.
trace.addEventListener('copy', function (event) {
  var selection = window.getSelection();
  var text = '';
  for (var i = 0; i < selection.rangeCount; i++) text += selection.getRangeAt(i).toString();
  if (!text) return;
  event.clipboardData.setData('text/plain', text);
  event.preventDefault();
});
// The program's standard output comes here.
onOutput(write);
