// The recording: everything the program is told, each key and each new
// size of its window, with the number of ticks before it. The program's
// tick is the only clock it has, so the same events before the same ticks
// make the same trace, byte for byte (web/drive.js shares and reads it;
// web/keys.js says what an event is). A replay gives the program a shared
// recording's events, and has the program's keys, until it is over or
// stopped.
import { maxEvents } from './drive-code.js';
import {
  isPress, isReshape, keyEvent, keyOfEvent, otherHalf,
} from './keys.js';
import { call, hasEnded, onProgramEnd } from './bridge-program.js';
import { fitCanvas, reshape } from './bridge-canvas.js';

var ticks = 0;
var recording = [];  // [tick, event], in the order they happened: one more
// than a recording can share, so that a longer one is known as such
var replay = Module['replay'] || null;  // { steps, events } from a shared recording
var replayHeld = {};  // event of a press: the replayed keys still down
var replayAt = 0;

export const replaying = () => replay !== null;

export function record(event) {
  if (recording.length <= maxEvents) recording.push([ticks, event]);
}
// A key pressed or released, told to the program and recorded.
export function deliverKey(k, pressed) {
  record(keyEvent(k, pressed));
  call('_webDeliverKey', [k.special ? 1 : 0, pressed ? 1 : 0, k.code]);
}
Module['recordedDrive'] = function () {
  return { steps: ticks, events: recording.slice() };
};

// As each tick begins (platform/web/process.cpp): a replay gives the
// program what came before this tick in the recording, straight from within
// the tick, as the browser gave it between the ticks; ESC ends the tick
// there, as it ended the program then.
function replayTick() {
  var events = replay.events;
  while (replayAt < events.length && events[replayAt][0] === ticks) {
    var event = events[replayAt++][1];
    if (isReshape(event)) {
      reshape();
    } else {
      var k = keyOfEvent(event);
      if (isPress(event)) replayHeld[event] = k;
      else delete replayHeld[otherHalf(event)];
      record(event);
      Module['_webDeliverKey'](k.special ? 1 : 0, isPress(event) ? 1 : 0, k.code);
    }
    if (hasEnded()) return;
  }
  if (ticks >= replay.steps) endReplay('over');
}
Module['onStep'] = function () {
  if (replay && !hasEnded()) replayTick();
  ticks++;
  if (replay && Module['onReplayStep']) Module['onReplayStep'](ticks, replay.steps);
};

// The end of a replay, when it is over or stopped: the keys it still
// holds are let go, and the keys and the window's size are the page's
// again.
function endReplay(how) {
  if (!replay) return;
  var total = replay.steps;
  replay = null;
  Object.keys(replayHeld).forEach(function (event) { deliverKey(replayHeld[event], false); });
  replayHeld = {};
  fitCanvas();
  if (Module['onReplayEnd']) Module['onReplayEnd'](how, ticks, total);
}
Module['stopReplay'] = function () { endReplay('stopped'); };

// A replay that ends the program (ESC) ends with it.
onProgramEnd(function () {
  if (!replay) return;
  var total = replay.steps;
  replay = null;
  if (Module['onReplayEnd']) Module['onReplayEnd']('ended', ticks, total);
});
