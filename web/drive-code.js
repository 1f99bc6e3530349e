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
export const maxEvents = 1000000;
const maxSteps = 0x7fffffff;

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

// The drive in a code, or { problem: 'malformed' | 'foreign' }.
export function decode(code) {
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
    if (steps > maxSteps || count > maxEvents) throw new Error();
    const events = [];
    let step = 0;
    for (let i = 0; i < count; i++) {
      step += number();
      const event = number();
      if (step > steps || !isEvent(event)) throw new Error();
      events.push([step, event]);
    }
    if (at !== body.length) throw new Error();
    return { steps, events };
  } catch {
    return { problem: 'malformed' };
  }
}
