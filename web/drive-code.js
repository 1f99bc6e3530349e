// A drive as the text of a link: what the program was told (web/keys.js
// events) with the number of steps taken before each, so that a fresh start
// given the same events before the same steps writes the same trace. Nothing
// here touches the page.
//
// The bytes, in base64url: "tk", the format (1), the steps taken, the number
// of events, then each event as the steps since the one before and the
// event itself, all as unsigned LEB128 numbers; last, the FNV-1a hash of
// everything before it, so that a link cut short or altered is known as such.
import { isEvent } from './keys.js';

const format = 1;
// What a drive may hold, so that no link or file, however made, can hold
// the page: no more than a day of 20 ms steps; no more events at one step
// than a person's keys and a window make between two steps; no longer than
// every browser keeps as an address (Firefox about a million characters,
// Chromium two), since a replay starts from its address; and so no more
// events than such an address holds (two bytes at least each).
export const maxSteps = 24 * 60 * 60 * 50;
export const maxAtOneStep = 16;
export const maxAddressLength = 1000000;
export const maxEvents = Math.floor((maxAddressLength * 3) / 4 / 2);
// A drive's file is its link and a newline; anything much larger is not
// one, and is refused before it is read.
export const maxFileSize = maxAddressLength + 4096;

function hash(bytes) {
  let h = 0x811c9dc5;
  for (const byte of bytes) h = Math.imul(h ^ byte, 0x01000193) >>> 0;
  return h;
}

const hashBytes = (h) => [h >>> 24, (h >>> 16) & 255, (h >>> 8) & 255, h & 255];

// drive: { steps, events: [[step, event], ...] } -> its code.
export function encode(drive) {
  const bytes = [0x74, 0x6b, format];
  const number = (value) => {
    let n = value;
    do {
      bytes.push(n > 0x7f ? (n & 0x7f) | 0x80 : n);
      n = Math.floor(n / 128);
    } while (n > 0);
  };
  number(drive.steps);
  number(drive.events.length);
  let step = 0;
  for (const [at, event] of drive.events) {
    number(at - step);
    number(event);
    step = at;
  }
  bytes.push(...hashBytes(hash(bytes)));
  let binary = '';
  for (const byte of bytes) binary += String.fromCharCode(byte);
  return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

// The most events a drive has at any one step.
function mostAtOneStep(events) {
  let most = 0;
  for (let i = 0, atStep = 0; i < events.length; i++) {
    atStep = i > 0 && events[i][0] === events[i - 1][0] ? atStep + 1 : 1;
    most = Math.max(most, atStep);
  }
  return most;
}

// The drive in a code, or { problem }: 'malformed', 'foreign', 'longLink'
// (longer than an address), 'longDrive' (longer than a day) or 'crowded'
// (too many events at one step).
export function decode(code) {
  if (code.length > maxAddressLength) return { problem: 'longLink' };
  let bytes;
  try {
    if (!/^[A-Za-z0-9_-]*$/.test(code)) throw new Error();
    const binary = atob(code.replace(/-/g, '+').replace(/_/g, '/'));
    bytes = Uint8Array.from(binary, (c) => c.charCodeAt(0));
  } catch {
    return { problem: 'malformed' };
  }
  if (bytes.length < 7) return { problem: 'malformed' };
  if (bytes[0] !== 0x74 || bytes[1] !== 0x6b || bytes[2] !== format) return { problem: 'foreign' };
  const body = bytes.subarray(0, bytes.length - 4);
  if (hashBytes(hash(body)).some((b, i) => b !== bytes[body.length + i])) return { problem: 'malformed' };
  let at = 3;
  const number = () => {
    let n = 0;
    for (let scale = 1; scale < 0x800000000; scale *= 128) {
      if (at >= body.length) throw new Error();
      const b = body[at++];
      n += (b & 0x7f) * scale;
      if (b < 0x80) return n;
    }
    throw new Error();
  };
  try {
    const steps = number();
    const count = number();
    if (count > maxEvents) throw new Error();
    const events = [];
    let step = 0;
    for (let i = 0; i < count; i++) {
      step += number();
      const event = number();
      if (step > steps || !isEvent(event)) throw new Error();
      events.push([step, event]);
    }
    if (at !== body.length) throw new Error();
    if (steps > maxSteps) return { problem: 'longDrive' };
    if (mostAtOneStep(events) > maxAtOneStep) return { problem: 'crowded' };
    return { steps, events };
  } catch {
    return { problem: 'malformed' };
  }
}

// Why a drive the page recorded cannot be shared, or null: the same limits
// as a replay's, so that every drive shared can be replayed.
export function unshareable(drive, address) {
  if (drive.steps > maxSteps) return 'longDrive';
  if (mostAtOneStep(drive.events) > maxAtOneStep) return 'crowded';
  if (drive.events.length > maxEvents || address.length > maxAddressLength) return 'longLink';
  return null;
}

// The code of the drive in a file (a Blob), or { problem }: a file too big
// to be a drive's is refused before it is read, and one that cannot be
// read ('unreadable': moved or removed since it was chosen) says so.
export async function readDriveFile(file, base) {
  if (file.size > maxFileSize) return { problem: 'bigFile' };
  let content;
  try {
    content = await file.text();
  } catch {
    return { problem: 'unreadable' };
  }
  const code = /#drive=([A-Za-z0-9_-]*)/.exec(content);
  if (!code) return { problem: 'foreign' };
  const found = decode(code[1]);
  if (found.problem) return found;
  if (`${base}#drive=${code[1]}`.length > maxAddressLength) return { problem: 'longLink' };
  return { code: code[1], drive: found };
}
