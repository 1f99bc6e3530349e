// Keys as freeglut reports them on the desktop, and the events a drive is
// made of. Nothing here touches the page: the program's bridge, the drive's
// link and the benchmark all take their codes from here.

// The byte that a key types, or a GLUT special-key code for keys that type
// nothing.
const byteOfKey = { Backspace: 8, Tab: 9, Enter: 13, Escape: 27, Delete: 127 };
const specialOfKey = {
  F1: 1, F2: 2, F3: 3, F4: 4, F5: 5, F6: 6, F7: 7, F8: 8, F9: 9, F10: 10, F11: 11,
  F12: 12, ArrowLeft: 100, ArrowUp: 101, ArrowRight: 102, ArrowDown: 103,
  PageUp: 104, PageDown: 105, Home: 106, End: 107, Insert: 108, NumLock: 109,
};
const specialOfCode = {
  ShiftLeft: 112, ShiftRight: 113, ControlLeft: 114, ControlRight: 115,
  AltLeft: 116, AltRight: 117,
};

// { special, code } for a key (KeyboardEvent.key and .code) the program can
// be told about, else null.
export function translate(key, code) {
  if (key.length === 1) {
    const byte = key.charCodeAt(0);
    return byte < 256 ? { special: false, code: byte } : null;
  }
  if (key in byteOfKey) return { special: false, code: byteOfKey[key] };
  if (code in specialOfCode) return { special: true, code: specialOfCode[code] };
  if (key in specialOfKey) return { special: true, code: specialOfKey[key] };
  return null;
}

// The key (KeyboardEvent.key) that the program is told of as { special,
// code }: the inverse of translate, a letter by its lower case.
export function keyName(special, code) {
  const table = special ? specialOfKey : byteOfKey;
  const name = Object.keys(table).find((key) => table[key] === code);
  if (name) return name;
  return special ? null : String.fromCharCode(code);
}

// A drive's event is one number: a reshape, or a key pressed or released.
export const reshapeEvent = 0;
export const keyEvent = (k, pressed) => 1 + (k.code << 2 | (k.special ? 2 : 0) | (pressed ? 1 : 0));
export const isReshape = (event) => event === reshapeEvent;
export const keyOfEvent = (event) => ({ special: ((event - 1) & 2) !== 0, code: (event - 1) >> 2 });
export const isPress = (event) => ((event - 1) & 1) === 1;
// The press of a release's key, and the other way round.
export const otherHalf = (event) => (isPress(event) ? event - 1 : event + 1);
// What the program can be told: a byte, or a special key's code (1-255).
export const isEvent = (event) => Number.isInteger(event) && event >= 0 && event <= 1024
  && (event === reshapeEvent || !keyOfEvent(event).special || keyOfEvent(event).code !== 0);
