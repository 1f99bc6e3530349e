// The copy of the page kept for use offline (web/sw.js), made once the
// program has drawn its first picture, so that it does not compete with
// the start.
import { onPicture } from './program.js';

// Served over http(s), the page keeps itself for use without a network
// (web/sw.js), for its own folder only; opened from a file, as the single
// file, or where the browser keeps nothing for it (a sandboxed frame,
// storage turned off), it has no worker and runs all the same. Online,
// every visit loads the page as served now; the kept set follows once the
// page has loaded all it will load (it has, once its program draws).
function keepForOffline() {
  if (!/^https?:$/.test(location.protocol) || document.documentElement.hasAttribute('data-single-file')) return;
  var workers = null;
  try {
    workers = navigator.serviceWorker;
  } catch (error) {
    return;  // a sandboxed frame: reading it throws
  }
  if (!workers) return;
  // A new build, installed, takes over once the page has loaded it all. The
  // registration this page already has is watched at once: registering
  // again waits for any update the browser is making, which on a busy
  // machine can take most of a minute.
  var watched = null;
  function takeOver(worker) {
    function whenInstalled() {
      if (worker.state === 'installed') worker.postMessage('take over');
    }
    worker.addEventListener('statechange', whenInstalled);
    whenInstalled();
  }
  function watch(registration) {
    if (!registration || watched === registration) return;
    watched = registration;
    if (registration.waiting) takeOver(registration.waiting);
    else if (registration.installing && workers.controller) takeOver(registration.installing);
    registration.addEventListener('updatefound', function () {
      if (workers.controller) takeOver(registration.installing);
    });
    // Online, the build served now is asked for at once rather than when
    // the browser gets round to it.
    if (workers.controller) registration.update().catch(function () {});
  }
  workers.getRegistration().then(watch, function () {});
  workers.register('sw.js').then(watch).catch(function (error) { console.warn('no offline copy: ' + error.message); });
}

var asked = false;
onPicture(function () {
  if (asked) return;
  asked = true;
  setTimeout(keepForOffline, 0);
});
