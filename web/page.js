// The page around the program: the canvas it draws on, where its standard
// output goes, what the status line says, full screen and the copy kept for
// use offline. Loaded before the program's tank.js, which reads the Module
// object set up here.
(function () {
  'use strict';
  var canvas = document.getElementById('canvas');
  var status = document.getElementById('status');

  // Keep what was drawn once the frame is shown, so that the last frame
  // stays after ESC and the canvas can be read back (screenshots, tests).
  var getContext = canvas.getContext.bind(canvas);
  canvas.getContext = function (type, attributes) {
    return getContext(type, Object.assign({}, attributes, { preserveDrawingBuffer: true }));
  };

  // Standard output goes to the console panel (web/trace.js).
  function onOutput(fd, byte) {
    window.tracePanel.write(byte);
  }

  // What the page writes into itself as the program runs, the console and
  // the tree, is written in the same frames, at most ten a second, each
  // time from the frame just drawn: every frame that changes the page's
  // text costs the browser a pass of style, layout and paint, and at fifty a
  // second those passes cost more than all the rest of the page.
  var writeEvery = 100;  // ms
  var writers = [window.tracePanel.flush];
  var lastWrite = -Infinity;
  function writePage() {
    lastWrite = performance.now();
    writers.forEach(function (write) { write(); });
  }
  window.pageWriters = writers;
  window.writePage = writePage;

  // After every frame. The first is also marked on the page's timeline
  // (navigation is at 0), for the start-up figure of make bench-web.
  var firstFrameDrawn = false;
  function afterFrame() {
    if (!firstFrameDrawn) {
      firstFrameDrawn = true;
      performance.mark('first-frame');
      // The copy for use offline is made once the program runs, so that it
      // does not compete with the start.
      setTimeout(keepForOffline, 0);
    }
    if (performance.now() - lastWrite >= writeEvery) writePage();
  }

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
    still.setAttribute('aria-label', 'The last frame the program drew');
    still.tabIndex = -1;
    var stage = document.getElementById('stage');
    var hadFocus = stage.contains(document.activeElement);
    canvas.id = '';
    canvas.replaceWith(still);
    stage.querySelectorAll('[data-key]').forEach(function (key) { key.disabled = true; });
    if (hadFocus) still.focus();
  }

  var problem = null;
  window.Module = {
    canvas: canvas,
    onOutput: onOutput,
    onFrame: afterFrame,
    onEnding: keepLastFrame,
    onRuntimeProblem: function (message) { problem = message; status.textContent = message; },
    onRuntimeInitialized: function () { if (!problem) status.textContent = 'running'; },
    onExit: function (code) { window.tracePanel.flush(); status.textContent = 'ended with status ' + code; },
    onAbort: function (what) { window.tracePanel.flush(); status.textContent = 'stopped: ' + what; },
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
  // loaded all it will load (it has, once its program draws); the page then
  // reloads onto it at once if no key has been pressed yet, else it says a
  // reload brings the new version.
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
        function whenInstalled() {
          if (worker.state === 'installed') worker.postMessage('take over');
        }
        worker.addEventListener('statechange', whenInstalled);
        whenInstalled();
      }
      if (registration.waiting) takeOver(registration.waiting);
      registration.addEventListener('updatefound', function () {
        if (navigator.serviceWorker.controller) takeOver(registration.installing);
      });
    }).catch(function (error) { console.warn('no offline copy: ' + error.message); });
  }

  // The keys drive the tank while the canvas has the focus, from the start;
  // a click or a tap on it gives it the keys back (Tab reaches it too).
  canvas.addEventListener('click', function () { canvas.focus(); });
  canvas.focus();
})();
