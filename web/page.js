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

  // Output arrives a byte at a time; it is gathered and shown once per
  // callback, one text node per line.
  var pending = '';
  var flushQueued = false;

  function flush() {
    flushQueued = false;
    var text = pending;
    pending = '';
    // Follow the output only while the reader is at its end, so that
    // scrolling back to read is not undone 50 times a second.
    var following = trace.scrollTop + trace.clientHeight >= trace.scrollHeight - 4;
    var last = trace.lastChild;
    if (last && last.data.slice(-1) !== '\n') {
      var end = text.indexOf('\n') + 1 || text.length;
      last.data += text.slice(0, end);
      text = text.slice(end);
    }
    var lines = text.match(/[^\n]*\n|[^\n]+$/g) || [];
    lines.forEach(function (line) { trace.appendChild(document.createTextNode(line)); });
    while (trace.childNodes.length > maxLines) trace.removeChild(trace.firstChild);
    if (following) trace.scrollTop = trace.scrollHeight;
  }

  function onOutput(fd, byte) {
    pending += String.fromCharCode(byte);  // Latin-1: one byte, one character
    if (!flushQueued) {
      flushQueued = true;
      queueMicrotask(flush);
    }
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
    onRuntimeInitialized: function () { if (!problem) status.textContent = 'running'; },
    onExit: function (code) { status.textContent = 'ended with status ' + code; },
    onAbort: function (what) { status.textContent = 'stopped: ' + what; },
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

  // Keys go to the page while it has the focus; a click on the canvas
  // brings it back.
  canvas.addEventListener('click', function () { canvas.focus(); });
  canvas.focus();
})();
