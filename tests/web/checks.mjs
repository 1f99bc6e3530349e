// What every concern's browser checks share: the engine and page they run
// on, a check that names itself and says why a driver cannot do it, and the
// page's facts they compare against. Each *.test.mjs is run by `node --test`
// once per engine:
//
//   TANK_ENGINE=chromium TANK_PAGE_DIR=build/web TANK_GOLDEN_DIR=tests/golden \
//     tests/with-xvfb.sh node --test tests/web/keys.test.mjs
//
// (ctest does this for every concern and engine; --test-name-pattern runs
// some checks only.)
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { launch, servePage, StartError, traceText, waitForTrace } from './lib.mjs';
import { fill } from '../../web/words.js';

export const engine = process.env.TANK_ENGINE;
export const pageDir = process.env.TANK_PAGE_DIR;
export const goldenDir = process.env.TANK_GOLDEN_DIR;
if (!engine || !pageDir || !goldenDir) {
  throw new Error('set TANK_ENGINE (chromium, firefox or webkit), TANK_PAGE_DIR and TANK_GOLDEN_DIR');
}
if (!fs.existsSync(path.join(pageDir, 'tank.js'))) {
  throw new Error(`${pageDir}/tank.js is missing: build the page first (make web-build)`);
}

// The browser and the page's server for one file's checks, started before
// the first, handed to `started`, and closed after the last.
const current = { browser: null, server: null, notStarted: null };
export function useEngine(started) {
  before(async () => {
    current.server = await servePage(pageDir, goldenDir);
    current.browser = await launch(engine);
    started({ browser: current.browser, server: current.server });
  });
  after(async () => {
    await current.browser?.close();
    current.server?.close();
  });
}

// A check in this engine. A page that cannot start fails every later check
// of the file the same way.
export function check(name, body) {
  test(`${engine}: ${name}`, async (t) => {
    if (current.notStarted) throw new Error(`not run: ${current.notStarted}`);
    try {
      await body(t);
    } catch (error) {
      if (error instanceof StartError) current.notStarted = error.message;
      throw error;
    }
  });
}

export function expect(condition, message) {
  if (!condition) throw new Error(message);
}

export function problemsOrFail(problems, where) {
  expect(problems.length === 0, `${where}: ${problems.join('; ')}`);
}

export function expectNoErrors(errors) {
  expect(errors.length === 0, `the page raised: ${errors.join('; ')}`);
}

// The help as the program writes it, byte for byte (the one copy the
// tests keep), and as a reader of the page sees it, character for
// character: the page decodes the console as Latin-1, so each byte is the
// code point of its value ("projecção" is 0xE7 and 0xE3, U+00E7 and U+00E3).
export const helpBytes = Array.from(fs.readFileSync(new URL('../golden/help.txt', import.meta.url)));
export const help = String.fromCodePoint(...helpBytes);

// The busy state of the reference frames: every transform non-zero.
export const busy = [3, -4, 0.52, 35, 15, 60, 40];
export const magenta = [255, 0, 255];
// Waits until the status line says the program ended with ESC's exit code.
export const waitForEnd = (page) => page.waitForFunction(
  (said) => document.getElementById('status').textContent === said, { timeout: 5000 }, fill('en', 'ended', 1));
export const reshapes = (text) => text.split('Reshape ').length - 1;

// The screens the page must fit: phones and tablets with their pixel
// ratios and touch, laptops without.
export const screens = [
  { name: 'phone portrait', width: 390, height: 844, deviceScaleFactor: 3, touch: true },
  { name: 'phone landscape', width: 844, height: 390, deviceScaleFactor: 3, touch: true },
  { name: 'tablet portrait', width: 768, height: 1024, deviceScaleFactor: 2, touch: true },
  { name: 'tablet landscape', width: 1024, height: 768, deviceScaleFactor: 2, touch: true },
  { name: 'laptop 1366', width: 1366, height: 768, deviceScaleFactor: 1 },
  { name: 'laptop 1280', width: 1280, height: 900, deviceScaleFactor: 1 },
];
export const viewportOf = (s) => ({ width: s.width, height: s.height, deviceScaleFactor: s.deviceScaleFactor,
  isMobile: Boolean(s.touch), hasTouch: Boolean(s.touch) });

// Presses and releases a letter key, and waits until the program has acted
// on it: its echo is traced after the key's action.
export async function pressKey(page, key) {
  const from = (await traceText(page)).length;
  await page.keyboard.press(key);
  await waitForTrace(page, new RegExp(`Carregou na tecla ${key}\n`), from);
}

export async function holdKey(page, key, until, from) {
  await page.keyboard.down(key);
  try {
    await waitForTrace(page, until, from);
  } finally {
    await page.keyboard.up(key);
  }
}

// Every release in the trace follows a press of the same key.
export function releasesFollowPresses(text) {
  const held = new Set();
  for (const line of text.split('\n')) {
    const m = /^(Carregou|Largou) na tecla (especial )?(.+)$/.exec(line)
      || /^(Carregou|Largou) a tecla (especial )?(.+)$/.exec(line);
    if (!m) continue;
    const key = (m[2] || '') + m[3].toLowerCase();
    if (m[1] === 'Carregou') held.add(key);
    else if (!held.delete(key)) return `"${line}" without a press before it`;
  }
  return null;
}
