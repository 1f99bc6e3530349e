// The program starts once WebGL is set up (web/gl-warm-up.js), so that no
// task of the page's thread waits on it: the download and the WebAssembly's
// compiling go on meanwhile. A page without workers (opened as one file or
// from a file, where a worker cannot be loaded) starts as it always did,
// and so does one whose worker has not answered within two seconds.
const longestWait = 2000;

function warmedUp() {
  const served = /^https?:$/.test(location.protocol) && !document.documentElement.hasAttribute('data-single-file');
  if (!served || typeof Worker !== 'function' || typeof OffscreenCanvas !== 'function') return null;
  return new Promise((resolve) => {
    let worker = null;
    const done = () => {
      clearTimeout(timer);
      if (worker) worker.terminate();
      resolve();
    };
    const timer = setTimeout(done, longestWait);
    try {
      worker = new Worker('gl-warm-up.js');
      worker.onmessage = done;
      worker.onerror = done;
    } catch (error) {
      done();
    }
  });
}

// Holds the program's start (its run waits while it has a dependency, as
// emscripten documents) until the set-up is done.
export function startAfterGlSetUp(Module) {
  const ready = warmedUp();
  if (!ready) return;
  Module.preRun = [].concat(Module.preRun || [], () => {
    if (typeof Module.addRunDependency !== 'function') return;
    Module.addRunDependency('gl-warm-up');
    ready.then(() => Module.removeRunDependency('gl-warm-up'));
  });
}
