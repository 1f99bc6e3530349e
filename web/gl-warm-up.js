// A worker that makes one WebGL context and says so. The first context in
// a page's process pays the browser's one-time set-up for WebGL (on a
// phone's first visit, or on software GL, up to half a second); paid here,
// it is paid off the page's thread while the program downloads, and the
// program's own context is then quick (web/gl-start.js).
try {
  new OffscreenCanvas(1, 1).getContext('webgl');
} catch (error) {
  // no WebGL in workers here: the program's context pays for itself
}
postMessage('ready');
