// A drive shared as a link: "Share this drive" writes what the program has
// been told so far (the bridge records it) into a link's fragment,
// #drive=..., and into a small file; opening the link, or giving the page
// the file, replays the drive from a fresh start, the same events before
// the same steps (web/drive-code.js writes and reads the code). A link
// shared while the tank's shape is changed carries the shape as well
// (#drive=...&shape=..., web/shape.js).
import { decode, encode, readDriveFile, unshareable } from './drive-code.js';
import { fragmentOf, fragmentPart } from './fragment.js';
import { shapeLinkPart } from './shape.js';
import { onChange, say, text } from './language.js';
import { addWriter } from './writes.js';
import {
  onReplayEnd, onReplayTick, recorded, replay, replaying, stopReplay,
} from './program.js';

const note = document.getElementById('drive-note');
let said = null;
// A line under the picture about the replay.
function tell(message, label, action) {
  note.hidden = false;
  said = say(note, message, label, action);
}

// A replay starts with the page: from the link it was opened with.
const fragment = fragmentPart(location.hash, 'drive');
if (fragment !== null) {
  const found = decode(fragment);
  if (found.problem) {
    tell(() => text('badLink', text(found.problem)));
  } else {
    replay(found);
    let progress = [0, found.steps];
    tell(() => text('replaying', progress[0], progress[1]), 'stopReplay', stopReplay);
    // The count written with the page's other writes.
    let shown = 0;
    addWriter(() => {
      if (replaying() && shown !== progress[0] && said.label === 'stopReplay') {
        shown = progress[0];
        note.firstChild.data = text('replaying', progress[0], progress[1]);
      }
    });
    onReplayTick((step, steps) => { progress = [step, steps]; });
    onReplayEnd((how, step, steps) => {
      // Stopped from its button: the keys, and the focus, go to the tank.
      const hadFocus = note.contains(document.activeElement);
      if (how === 'stopped') tell(() => text('replayStopped', step, steps));
      else if (how === 'ended') tell(() => text('replayEnded', step, steps));
      else tell(() => text('replayOver'));
      if (hadFocus) document.getElementById('canvas').focus();
    });
  }
}

// A new link on the same page (a link followed, or one pasted into the
// address bar): a fresh start replays it.
window.addEventListener('hashchange', () => {
  if (fragmentPart(location.hash, 'drive') !== null || fragmentPart(location.hash, 'shape') !== null) location.reload();
});

const pageAddress = () => location.href.replace(/#.*$/, '');

// Share: the link, shown and offered as a file of one line.
const shared = document.getElementById('shared');
const link = document.getElementById('drive-link');
const file = document.getElementById('drive-file');
let steps = 0;
function nameShared() {
  document.getElementById('shared-text').textContent = text('sharedLink', steps);
}
onChange(nameShared);
document.getElementById('share').addEventListener('click', () => {
  const drive = recorded();
  const address = `${pageAddress()}#${fragmentOf({ drive: encode(drive), shape: shapeLinkPart() })}`;
  const why = unshareable(drive, address);
  if (why) {
    tell(() => text('cannotShare', text(why)));
    return;
  }
  steps = drive.steps;
  link.href = address;
  link.textContent = address;
  file.href = `data:text/plain;charset=utf-8,${encodeURIComponent(`${address}\n`)}`;
  nameShared();
  shared.hidden = false;
});
// Opening the page's own link starts afresh too, even where the address
// is the same as the one it was opened with.
link.addEventListener('click', (event) => {
  if (link.href !== location.href) return;
  event.preventDefault();
  location.reload();
});

// A drive's file, dropped on the page or chosen: its link replayed here,
// from the address as a link's is; a file that is not a drive, or one too
// long for an address, is refused and the page stays as it is.
function replayFile(file) {
  readDriveFile(file, pageAddress()).then((found) => {
    if (found.problem) {
      tell(() => text('badFile', text(found.problem)));
    } else if (location.hash === `#drive=${found.code}`) {
      location.reload();
    } else {
      location.hash = `drive=${found.code}`;
    }
  });
}
document.getElementById('drive-input').addEventListener('change', (event) => {
  if (event.target.files.length) replayFile(event.target.files[0]);
});
document.addEventListener('dragover', (event) => event.preventDefault());
document.addEventListener('drop', (event) => {
  event.preventDefault();
  const files = event.dataTransfer && event.dataTransfer.files;
  if (files && files.length) replayFile(files[0]);
});
