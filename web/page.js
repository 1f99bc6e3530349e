// The page around the program: the canvas it draws on, where its standard
// output goes (the trace panel, decoded as Latin-1, its last lines only)
// and what the status line says. Loaded before the program's tank.js, which
// reads the Module object set up here.
(function () {
  'use strict';
  var maxLines = 1000;
  var canvas = document.getElementById('canvas');
  var trace = document.getElementById('trace');
  var status = document.getElementById('status');

  // Keep what was drawn once the frame is shown, so that the last frame
  // stays after ESC and the canvas can be read back (screenshots, tests).
  var getContext = canvas.getContext.bind(canvas);
  canvas.getContext = function (type, attributes) {
    return getContext(type, Object.assign({}, attributes, { preserveDrawingBuffer: true }));
  };

  // Output arrives a byte at a time. It is gathered and shown a few times a
  // second, not at every tick: no one reads fifty lines a second, and each
  // change of the panel costs the browser a layout and a paint. The panel
  // holds the last maxLines lines (the last one maybe unfinished) in blocks
  // of blockLines, one text node each, so that a change lays out only the
  // newest block and the oldest: new text is appended to the one, the
  // oldest lines cut from the other, which also keeps a reader's selection
  // where it was.
  var flushAfter = 100;  // ms: the panel is never more than a fifth of a second behind
  var blockLines = 20;
  var blocks = [];  // { text: its text node, lines: the lengths of its lines }
  var lineCount = 0;
  var pending = '';
  var flushTimer = null;

  function addBlock() {
    var element = document.createElement('div');
    var block = { text: document.createTextNode(''), lines: [] };
    element.appendChild(block.text);
    trace.appendChild(element);
    blocks.push(block);
    return block;
  }

  function append(added) {
    var last = blocks[blocks.length - 1];
    var unfinished = last && last.text.data.charCodeAt(last.text.data.length - 1) !== 10;
    var chunk = '';
    (added.match(/[^\n]*\n|[^\n]+$/g) || []).forEach(function (line) {
      if (unfinished) {
        last.lines[last.lines.length - 1] += line.length;
        unfinished = false;
      } else {
        if (!last || last.lines.length === blockLines) {
          if (chunk) last.text.appendData(chunk);
          chunk = '';
          last = addBlock();
        }
        last.lines.push(line.length);
        lineCount++;
      }
      chunk += line;
    });
    if (chunk) last.text.appendData(chunk);
  }

  function cutOldest() {
    while (lineCount > maxLines) {
      var first = blocks[0];
      var excess = Math.min(lineCount - maxLines, first.lines.length);
      lineCount -= excess;
      if (excess === first.lines.length) {
        first.text.parentNode.remove();
        blocks.shift();
      } else {
        first.text.deleteData(0, first.lines.splice(0, excess).reduce(function (a, b) { return a + b; }, 0));
      }
    }
  }

  function flush() {
    clearTimeout(flushTimer);
    flushTimer = null;
    if (!pending) return;
    var added = pending;
    pending = '';
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

  function onOutput(fd, byte) {
    pending += String.fromCharCode(byte);  // Latin-1: one byte, one character
    if (flushTimer === null) flushTimer = setTimeout(flush, flushAfter);
  }

  // The first frame drawn, as a mark on the page's timeline (navigation is
  // at 0), for the start-up figure of make bench-web.
  var firstFrameDrawn = false;
  function afterFrame() {
    if (firstFrameDrawn) return;
    firstFrameDrawn = true;
    performance.mark('first-frame');
  }

  // The program is ending: its runtime will shrink the canvas it drew on,
  // so the last frame is copied into a plain canvas that takes its place.
  function keepLastFrame() {
    if (document.fullscreenElement) document.exitFullscreen();
    var still = document.createElement('canvas');
    still.width = canvas.width;
    still.height = canvas.height;
    still.getContext('2d').drawImage(canvas, 0, 0);
    still.id = canvas.id;
    still.className = canvas.className;
    still.setAttribute('aria-label', canvas.getAttribute('aria-label'));
    canvas.id = '';
    canvas.replaceWith(still);
  }

  var problem = null;
  window.Module = {
    canvas: canvas,
    onOutput: onOutput,
    onFrame: afterFrame,
    onEnding: keepLastFrame,
    onRuntimeProblem: function (message) { problem = message; status.textContent = message; },
    // By now the program and everything it needs are loaded.
    onRuntimeInitialized: function () {
      if (!problem) status.textContent = 'running';
      keepForOffline();
    },
    onExit: function (code) { flush(); status.textContent = 'ended with status ' + code; },
    onAbort: function (what) { flush(); status.textContent = 'stopped: ' + what; },
  };

  // Full screen for the canvas and the on-screen keys; the button, or the
  // browser's own Escape, leaves it again.
  var stage = document.getElementById('stage');
  var fullscreen = document.getElementById('fullscreen');
  if (!stage.requestFullscreen) fullscreen.hidden = true;
  fullscreen.addEventListener('click', function () {
    if (document.fullscreenElement) document.exitFullscreen();
    else stage.requestFullscreen().catch(function () {});
    canvas.focus();
  });
  document.addEventListener('fullscreenchange', function () {
    var on = document.fullscreenElement === stage;
    fullscreen.setAttribute('aria-pressed', String(on));
    fullscreen.textContent = on ? 'Leave full screen' : 'Full screen';
  });

  // Served over http(s), the page keeps itself for use without a network
  // (web/sw.js); opened from a file, or as the single file, it has no
  // worker. A new build found at a visit takes over once this page has
  // loaded all it will load; the page then reloads onto it at once if no key
  // has been pressed yet, else it says a reload brings the new version.
  var touched = false;
  window.addEventListener('keydown', function () { touched = true; }, true);
  window.addEventListener('pointerdown', function () { touched = true; }, true);
  function keepForOffline() {
    if (!('serviceWorker' in navigator) || !/^https?:$/.test(location.protocol)
        || document.documentElement.hasAttribute('data-single-file')) return;
    var updating = Boolean(navigator.serviceWorker.controller);
    navigator.serviceWorker.addEventListener('controllerchange', function () {
      if (!updating) return;
      updating = false;
      if (!touched) location.reload();
      else status.textContent += ' (a new version is ready: reload to use it)';
    });
    navigator.serviceWorker.register('sw.js').then(function (registration) {
      function takeOver(worker) {
        if (worker.state === 'installed') worker.postMessage('take over');
        else worker.addEventListener('statechange', function () { takeOver(worker); });
      }
      if (registration.waiting) takeOver(registration.waiting);
      registration.addEventListener('updatefound', function () {
        if (navigator.serviceWorker.controller) takeOver(registration.installing);
      });
    }).catch(function (error) { console.warn('no offline copy: ' + error.message); });
  }

  // Keys go to the page while it has the focus; a click on the canvas
  // brings it back.
  canvas.addEventListener('click', function () { canvas.focus(); });
  canvas.focus();
})();
