// A drive's link and the key events it is made of, without a browser: what
// goes in comes out, links made before still read, and anything cut short,
// altered or out of range is refused rather than replayed.
//
//   node --test tests/page/
import assert from 'node:assert/strict';
import { describe, test } from 'node:test';
import {
  decode, encode, maxAddressLength, maxAtOneStep, maxEvents, maxSteps, readDriveFile, unshareable,
} from '../../web/drive-code.js';
import { isEvent, isPress, keyEvent, keyOfEvent, otherHalf, translate } from '../../web/keys.js';

// A code for any bytes, with the hash a real one carries: the decoder's
// checks past the hash are reached only so.
function codeOf(bytes) {
  let h = 0x811c9dc5;
  for (const b of bytes) h = Math.imul(h ^ b, 0x01000193) >>> 0;
  const all = [...bytes, h >>> 24, (h >>> 16) & 255, (h >>> 8) & 255, h & 255];
  return Buffer.from(all).toString('base64url');
}

function randomDrive(seed) {
  let state = seed;
  const random = (n) => {
    state = (Math.imul(state, 1103515245) + 12345) >>> 0;
    return (state >>> 8) % n;
  };
  const events = [];
  let step = 0;
  for (let i = random(60); i > 0; i--) {
    step += random(4) ? random(200) : random(50000);
    events.push([step, random(1025)].map((v, j) => (j === 1 && !isEvent(v) ? 0 : v)));
  }
  return { steps: step + random(3000), events };
}

describe('a drive as a link', () => {
  test('what is encoded is decoded, whatever its steps and events', () => {
    for (let seed = 1; seed <= 300; seed++) {
      const drive = randomDrive(seed);
      const code = encode(drive);
      assert.match(code, /^[A-Za-z0-9_-]+$/);
      assert.deepEqual(decode(code), drive, `seed ${seed}`);
    }
    assert.deepEqual(decode(encode({ steps: 0, events: [] })), { steps: 0, events: [] });
  });

  test('a link made by an earlier build still replays the same', () => {
    // The up arrow and z, pressed and released, and a reshape at the start.
    assert.deepEqual(decode('dGsBrAIFAAAAmAN4lwMe6gMB6QMdbMH1'), {
      steps: 300, events: [[0, 0], [0, 408], [120, 407], [150, 490], [151, 489]],
    });
  });

  test('cut short, altered, not base64url, or of another format: refused, never thrown', () => {
    const code = encode(randomDrive(42));
    for (let length = 0; length < code.length; length++) {
      assert.equal(decode(code.slice(0, length)).problem, 'malformed', `cut to ${length}`);
    }
    for (let at = 0; at < code.length; at++) {
      const other = code[at] === 'A' ? 'B' : 'A';
      const result = decode(code.slice(0, at) + other + code.slice(at + 1));
      assert.ok(result.problem, `character ${at} altered was read as a drive`);
    }
    for (const bad of ['!!', '', 'dGsB===', 'a b', '\u00e7']) assert.equal(decode(bad).problem, 'malformed', bad);
    assert.equal(decode(codeOf([0x74, 0x6b, 2, 0, 0])).problem, 'foreign');
    assert.equal(decode(codeOf([0x41, 0x42, 1, 0, 0])).problem, 'foreign');
  });

  test('a well-made code whose content is out of range is refused', () => {
    const refused = {
      'bytes after the last event': [0x74, 0x6b, 1, 1, 0, 0],
      'fewer events than it says': [0x74, 0x6b, 1, 5, 2, 0, 0],
      'an event after the last step': [0x74, 0x6b, 1, 5, 1, 6, 0],
      'a special key with no code': [0x74, 0x6b, 1, 5, 1, 0, 3],
      'an event past the last key': [0x74, 0x6b, 1, 5, 1, 0, 0x81, 0x08],
      'a number that never ends': [0x74, 0x6b, 1, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff],
      'more events than a drive keeps': [0x74, 0x6b, 1, 1, ...leb(maxEvents + 1)],
    };
    for (const [what, bytes] of Object.entries(refused)) {
      assert.equal(decode(codeOf(bytes)).problem, 'malformed', what);
    }
  });
});

// Made by hand with a good hash, as a mischievous classmate would: each is
// refused with its reason, before anything is replayed, or it replays.
describe('what a drive may hold', () => {
  const base = 'http://127.0.0.1:8000/tank/';
  const atStepZero = (n, event) => ({ steps: 1, events: Array.from({ length: n }, () => [0, event]) });
  const tapH = keyEvent({ special: false, code: 104 }, true);

  test('no more events at one step than a person makes, however many a link holds', () => {
    assert.equal(decode(encode(atStepZero(20000, 0))).problem, 'crowded', '20,000 reshapes at one step');
    assert.equal(decode(encode(atStepZero(100000, tapH))).problem, 'crowded', '100,000 taps at one step');
    assert.equal(decode(encode(atStepZero(maxAtOneStep + 1, 0))).problem, 'crowded');
    const busiest = { steps: 3, events: [...atStepZero(maxAtOneStep, 0).events, [1, 0], ...atStepZero(maxAtOneStep, tapH).events.map(([, e]) => [2, e])] };
    assert.deepEqual(decode(encode(busiest)), busiest);
    assert.equal(unshareable(atStepZero(maxAtOneStep + 1, 0), base), 'crowded');
    assert.equal(unshareable(busiest, base), null);
  });

  test('no longer than a day of steps: the 497-day replay is refused', () => {
    assert.equal(decode(encode({ steps: 2 ** 31 - 1, events: [] })).problem, 'longDrive');
    assert.equal(decode(codeOf([0x74, 0x6b, 1, ...leb(2 ** 31), 0])).problem, 'longDrive');
    assert.equal(decode(encode({ steps: maxSteps + 1, events: [] })).problem, 'longDrive');
    assert.deepEqual(decode(encode({ steps: maxSteps, events: [[maxSteps, 0]] })), { steps: maxSteps, events: [[maxSteps, 0]] });
    assert.equal(unshareable({ steps: maxSteps + 1, events: [] }, base), 'longDrive');
  });

  test('a file is read only if a drive could be that long, and only replayed if its address fits', async () => {
    let reads = 0;
    const huge = { size: 200 * 2 ** 20, text: async () => { reads++; return ''; } };
    assert.equal((await readDriveFile(huge, base)).problem, 'bigFile');
    assert.equal(reads, 0, 'the 200 MB file was read');
    const million = encode({ steps: 1000000, events: Array.from({ length: 1000000 }, (_, i) => [i + 1, 0]) });
    assert.equal(decode(million).problem, 'longLink', 'a million events');
    assert.equal((await readDriveFile(new Blob([`${base}#drive=${million}\n`]), base)).problem, 'bigFile');
    // Just short enough as a code, too long as an address with the page's.
    const count = 374990;
    const nearly = encode({ steps: count, events: Array.from({ length: count }, (_, i) => [i + 1, 0]) });
    assert.ok(nearly.length <= maxAddressLength && nearly.length + base.length > maxAddressLength, `${nearly.length}`);
    assert.equal((await readDriveFile(new Blob([`${base}#drive=${nearly}\n`]), base)).problem, 'longLink');
    assert.equal(unshareable(decode(nearly), `${base}#drive=${nearly}`), 'longLink');
    assert.equal(unshareable({ steps: 1, events: atStepZero(maxEvents + 1, 0).events.map((e, i) => [i, 0]) }, base), 'longLink');
  });

  test('a file that cannot be read, or holds no drive, says so; one that does gives its code', async () => {
    const gone = { size: 40, text: () => Promise.reject(new Error('NotReadableError')) };
    assert.equal((await readDriveFile(gone, base)).problem, 'unreadable');
    assert.equal((await readDriveFile(new Blob(['a shopping list\n']), base)).problem, 'foreign');
    const drive = { steps: 300, events: [[0, 0], [0, 408], [120, 407]] };
    const code = encode(drive);
    assert.deepEqual(await readDriveFile(new Blob([`${base}#drive=${code}\r\n`]), base), { code, drive });
  });
});

function leb(n) {
  const bytes = [];
  let value = n;
  do {
    bytes.push(value > 0x7f ? (value & 0x7f) | 0x80 : value);
    value = Math.floor(value / 128);
  } while (value > 0);
  return bytes;
}

describe('keys as the program is told of them', () => {
  test('a key typed, a key that types nothing, and keys the program cannot be told of', () => {
    const cases = [
      ['z', 'KeyZ', { special: false, code: 122 }], ['Z', 'KeyZ', { special: false, code: 90 }],
      [' ', 'Space', { special: false, code: 32 }], ['\u00e7', 'Semicolon', { special: false, code: 0xe7 }],
      ['Escape', 'Escape', { special: false, code: 27 }], ['Enter', 'Enter', { special: false, code: 13 }],
      ['ArrowUp', 'ArrowUp', { special: true, code: 101 }], ['ArrowLeft', 'ArrowLeft', { special: true, code: 100 }],
      ['F1', 'F1', { special: true, code: 1 }], ['Shift', 'ShiftLeft', { special: true, code: 112 }],
      ['Alt', 'AltRight', { special: true, code: 117 }], ['\u0436', 'KeyZ', null], ['Dead', 'Quote', null],
      ['Unidentified', '', null], ['ContextMenu', 'ContextMenu', null],
    ];
    for (const [key, code, want] of cases) assert.deepEqual(translate(key, code), want, `${key} (${code})`);
  });

  test('every key pressed and released is an event that gives it back', () => {
    for (const special of [false, true]) {
      for (let code = special ? 1 : 0; code < 256; code++) {
        const k = { special, code };
        const down = keyEvent(k, true);
        const up = keyEvent(k, false);
        assert.ok(isEvent(down) && isEvent(up) && down !== 0 && up !== 0, `${special ? 'special ' : ''}key ${code} gives no event`);
        assert.deepEqual([keyOfEvent(down), isPress(down), isPress(up)], [k, true, false]);
        assert.equal(otherHalf(down), up);
        assert.equal(otherHalf(up), down);
      }
    }
    assert.equal(isEvent(1025), false);
    assert.equal(isEvent(-1), false);
    assert.equal(isEvent(1.5), false);
  });
});
