// A drive shared as a link: "Share this drive" writes what the program has
// been told so far (web/bridge.js records it) into a link's fragment,
// #drive=..., and into a small file; opening the link, or giving the page
// the file, replays the drive from a fresh start, the same events before
// the same steps. Loaded after web/page.js and before the program.
//
// The drive as bytes, in base64url: "tk", the format (1), the steps taken,
// the number of events, then each event as the steps since the one before
// and the event itself, all as unsigned LEB128 numbers; last, the FNV-1a
// hash of everything before it, so that a link cut short or altered is
// known as such.
window.tankDrive = (function () {
  'use strict';
  var text = window.pageLanguage.text;
  var format = 1;
  var maxEvents = 1000000;
  var maxSteps = 0x7fffffff;

  function hash(bytes) {
    var h = 0x811c9dc5;
    for (var i = 0; i < bytes.length; i++) h = Math.imul(h ^ bytes[i], 0x01000193) >>> 0;
    return h;
  }

  function encode(drive) {
    var bytes = [0x74, 0x6b, format];
    function number(n) {
      do {
        bytes.push(n > 0x7f ? (n & 0x7f) | 0x80 : n);
        n = Math.floor(n / 128);
      } while (n > 0);
    }
    number(drive.steps);
    number(drive.events.length);
    var step = 0;
    drive.events.forEach(function (e) {
      number(e[0] - step);
      number(e[1]);
      step = e[0];
    });
    var h = hash(bytes);
    bytes.push(h >>> 24, h >>> 16 & 255, h >>> 8 & 255, h & 255);
    var binary = '';
    for (var i = 0; i < bytes.length; i++) binary += String.fromCharCode(bytes[i]);
    return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
  }

  // The drive in a code, or { problem: 'malformed' | 'foreign' }.
  function decode(code) {
    var bytes;
    try {
      if (!/^[A-Za-z0-9_-]*$/.test(code)) throw new Error();
      var binary = atob(code.replace(/-/g, '+').replace(/_/g, '/'));
      bytes = Array.from(binary, function (c) { return c.charCodeAt(0); });
    } catch (error) {
      return { problem: 'malformed' };
    }
    if (bytes.length < 7) return { problem: 'malformed' };
    if (bytes[0] !== 0x74 || bytes[1] !== 0x6b || bytes[2] !== format) return { problem: 'foreign' };
    var body = bytes.slice(0, -4);
    var h = hash(body);
    var end = bytes.slice(-4);
    if (end[0] !== h >>> 24 || end[1] !== (h >>> 16 & 255) || end[2] !== (h >>> 8 & 255) || end[3] !== (h & 255)) {
      return { problem: 'malformed' };
    }
    var at = 3;
    function number() {
      var n = 0;
      for (var scale = 1; scale < 0x800000000; scale *= 128) {
        if (at >= body.length) throw new Error();
        var b = body[at++];
        n += (b & 0x7f) * scale;
        if (b < 0x80) return n;
      }
      throw new Error();
    }
    try {
      var steps = number();
      var count = number();
      if (steps > maxSteps || count > maxEvents) throw new Error();
      var events = [];
      var step = 0;
      for (var i = 0; i < count; i++) {
        step += number();
        var event = number();
        // A reshape, or a key: a byte, or a special key's code.
        if (step > steps || event > 1024 || (event > 0 && (event - 1 & 2) && (event - 1 >> 2) === 0)) throw new Error();
        events.push([step, event]);
      }
      if (at !== body.length) throw new Error();
      return { steps: steps, events: events };
    } catch (error) {
      return { problem: 'malformed' };
    }
  }

  var note = document.getElementById('drive-note');
  var said = null;
  // A line under the picture about the replay (web/language.js writes it).
  function tell(message, label, action) {
    note.hidden = false;
    said = window.pageLanguage.say(note, message, label, action);
  }

  // A replay starts with the page: from the link it was opened with.
  var fragment = /^#drive=(.*)$/.exec(location.hash);
  if (fragment) {
    var found = decode(fragment[1]);
    if (found.problem) {
      tell(function () { return text('badLink', text(found.problem)); });
    } else {
      Module.replay = found;
      var progress = [0, found.steps];
      tell(function () { return text('replaying', progress[0], progress[1]); }, 'stopReplay',
        function () { Module.stopReplay(); });
      // The count written with the page's other writes (web/page.js).
      var shown = 0;
      window.pageWriters.push(function () {
        if (Module.replay && shown !== progress[0] && said.label === 'stopReplay') {
          shown = progress[0];
          note.firstChild.data = text('replaying', progress[0], progress[1]);
        }
      });
      Module.onReplayStep = function (step, steps) { progress = [step, steps]; };
      Module.onReplayEnd = function (how, step, steps) {
        // Stopped from its button: the keys, and the focus, go to the tank.
        var hadFocus = note.contains(document.activeElement);
        Module.replay = null;
        if (how === 'stopped') tell(function () { return text('replayStopped', step, steps); });
        else tell(function () { return text('replayOver'); });
        if (hadFocus) document.getElementById('canvas').focus();
      };
    }
  }

  // A new link on the same page (a link followed, or one pasted into the
  // address bar): a fresh start replays it.
  window.addEventListener('hashchange', function () {
    if (/^#drive=/.test(location.hash)) location.reload();
  });

  // Share: the link, shown and offered as a file of one line.
  var shared = document.getElementById('shared');
  var link = document.getElementById('drive-link');
  var file = document.getElementById('drive-file');
  var steps = 0;
  function nameShared() {
    document.getElementById('shared-text').textContent = text('sharedLink', steps);
  }
  window.pageLanguage.onChange(nameShared);
  document.getElementById('share').addEventListener('click', function () {
    var drive = Module.recordedDrive();
    if (!drive.complete) {
      tell(function () { return text('tooLong'); });
      return;
    }
    steps = drive.steps;
    var address = location.href.replace(/#.*$/, '') + '#drive=' + encode(drive);
    link.href = address;
    link.textContent = address;
    file.href = 'data:text/plain;charset=utf-8,' + encodeURIComponent(address + '\n');
    nameShared();
    shared.hidden = false;
  });
  // Opening the page's own link starts afresh too, even where the address
  // is the same as the one it was opened with.
  link.addEventListener('click', function (event) {
    if (link.href !== location.href) return;
    event.preventDefault();
    location.reload();
  });

  // A drive's file, dropped on the page or chosen: its link replayed here.
  function replayFile(blob) {
    blob.text().then(function (content) {
      var code = /#drive=([A-Za-z0-9_-]*)/.exec(content);
      var found = code ? decode(code[1]) : { problem: 'foreign' };
      if (found.problem) {
        tell(function () { return text('badFile', text(found.problem)); });
        return;
      }
      if (location.hash === '#drive=' + code[1]) location.reload();
      else location.hash = 'drive=' + code[1];
    });
  }
  document.getElementById('drive-input').addEventListener('change', function (event) {
    if (event.target.files.length) replayFile(event.target.files[0]);
  });
  document.addEventListener('dragover', function (event) { event.preventDefault(); });
  document.addEventListener('drop', function (event) {
    event.preventDefault();
    var files = event.dataTransfer && event.dataTransfer.files;
    if (files && files.length) replayFile(files[0]);
  });

  return { encode: encode, decode: decode };
})();
