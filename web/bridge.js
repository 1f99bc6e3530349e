// Runs inside the generated module, after its runtime is defined and before
// main: hands standard output to the page byte by byte, and brings the
// keyboard and the on-screen buttons to the program's GLUT callbacks.

// The program's texts are Latin-1; the runtime would decode them as UTF-8.
SYSCALLS.printChar = function (fd, byte) {
  if (Module['onOutput']) Module['onOutput'](fd, byte);
};

(function () {
  // Keys as freeglut reports them on the desktop: the byte that a key types,
  // or a GLUT special-key code for keys that type nothing.
  var byteOfKey = { Backspace: 8, Tab: 9, Enter: 13, Escape: 27, Delete: 127 };
  var specialOfKey = {
    F1: 1, F2: 2, F3: 3, F4: 4, F5: 5, F6: 6, F7: 7, F8: 8, F9: 9, F10: 10, F11: 11,
    F12: 12, ArrowLeft: 100, ArrowUp: 101, ArrowRight: 102, ArrowDown: 103,
    PageUp: 104, PageDown: 105, Home: 106, End: 107, Insert: 108, NumLock: 109,
  };
  var specialOfCode = {
    ShiftLeft: 112, ShiftRight: 113, ControlLeft: 114, ControlRight: 115,
    AltLeft: 116, AltRight: 117,
  };

  // { special, code } for a key the program can be told about, else null.
  function translate(key, code) {
    if (key.length === 1) {
      var byte = key.charCodeAt(0);
      return byte < 256 ? { special: false, code: byte } : null;
    }
    if (key in byteOfKey) return { special: false, code: byteOfKey[key] };
    if (code in specialOfCode) return { special: true, code: specialOfCode[code] };
    if (key in specialOfKey) return { special: true, code: specialOfKey[key] };
    return null;
  }

  function deliver(callback, code) {
    if (!callback || runtimeExited || ABORT) return;
    try {
      getWasmTableEntry(callback)(code, 0, 0);
    } catch (e) {
      // ESC ends the program by throwing out of its key callback.
      if (!(e instanceof ExitStatus)) throw e;
    }
  }

  // What is held, by physical key (or button), so that a release reaches the
  // program only after its press and a lost focus can release everything.
  var held = {};

  function press(id, k) {
    held[id] = k;
    deliver(k.special ? GLUT.specialFunc : GLUT.keyboardFunc, k.code);
  }

  function release(id, k) {
    if (!(id in held)) return;
    delete held[id];
    deliver(k.special ? GLUT.specialUpFunc : GLUT.keyboardUpFunc, k.code);
  }

  function releaseAll() {
    Object.keys(held).forEach(function (id) { release(id, held[id]); });
  }

  // Shortcuts with Ctrl, Alt or Meta stay the browser's; so do the function
  // keys' default actions (reload, full screen), though the program sees them.
  function isShortcut(event) {
    return event.key.length === 1 && (event.ctrlKey || event.altKey || event.metaKey);
  }

  // Registered on the window's capture phase before GLUT's own handlers,
  // which read the legacy keyCode and would deliver every key a second time.
  window.addEventListener('keydown', function (event) {
    event.stopImmediatePropagation();
    var k = translate(event.key, event.code);
    if (!k || isShortcut(event)) return;
    if (!/^F\d+$/.test(event.key)) event.preventDefault();
    press(event.code || event.key, k);
  }, true);

  window.addEventListener('keyup', function (event) {
    event.stopImmediatePropagation();
    var id = event.code || event.key;
    if (!(id in held)) return;
    event.preventDefault();
    // The release names the key as it reads now (Shift may be up already),
    // as the desktop does.
    release(id, translate(event.key, event.code) || held[id]);
  }, true);

  // A browser sends no key-up to a page that has lost the focus: release
  // whatever is held, or a held arrow would drive the tank on by itself.
  window.addEventListener('blur', releaseAll);
  document.addEventListener('visibilitychange', function () {
    if (document.hidden) releaseAll();
  });

  // The on-screen buttons, for touch screens: each stands for the key in its
  // data-key, pressed while the pointer is down on it.
  document.querySelectorAll('[data-key]').forEach(function (button) {
    var key = button.getAttribute('data-key');
    var k = translate(key, '');
    var id = 'button ' + key;
    if (!k) return;
    button.addEventListener('pointerdown', function (event) {
      event.preventDefault();
      if (!(id in held)) press(id, k);
    });
    ['pointerup', 'pointercancel', 'pointerleave'].forEach(function (type) {
      button.addEventListener(type, function () { release(id, k); });
    });
    // Activated without a pointer (assistive technology, say): a tap.
    button.addEventListener('click', function (event) {
      if (event.detail !== 0) return;
      press(id, k);
      release(id, k);
    });
  });
})();
