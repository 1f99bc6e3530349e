// What the browser checks share: a static server for the page and the
// reference frames, the browsers (drivers.mjs), and reading the page.
import { execFile } from 'node:child_process';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import { By } from 'selenium-webdriver';
import { serve } from '../../scripts/serve.mjs';
import { words } from '../../web/words.js';

// The page at /tank/, as make web serves it, and the reference frames at
// /tank/golden/, on loopback.
export function servePage(pageDir, goldenDir) {
  return serve({ '/tank/': pageDir, '/tank/golden/': goldenDir }, { home: '/tank/' });
}

export { engineNames, launch } from './drivers.mjs';

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Waits until the program runs and ticks. A page that says its runtime
// lacks something, or never starts, fails at once with what it says, so a
// toolchain that changed shows as that rather than as time-outs later.
export class StartError extends Error {}

// The status's words in either of the page's languages.
const loading = Object.values(words).map((w) => w.loading);
const running = Object.values(words).map((w) => w.running);

export async function waitForStart(page, errors = []) {
  // A document still being read after a reload may not have its status or
  // trace yet: that is not started, not an error.
  const started = (loadingWords, runningWords) => {
    const statusElement = document.getElementById('status');
    const traceElement = document.getElementById('trace');
    if (!statusElement || !traceElement) return false;
    const status = statusElement.textContent;
    if (!runningWords.includes(status) && !loadingWords.includes(status)) return status;
    return runningWords.includes(status) && traceElement.textContent.includes('Velocidade');
  };
  let result;
  try {
    result = await (await page.waitForFunction(started, { timeout: 30000, polling: 50 }, loading, running)).jsonValue();
  } catch (error) {
    const status = await page.$eval('#status', (e) => e.textContent).catch(() => '?');
    const why = error.name === 'TimeoutError' ? 'did not start in 30 s' : `was not seen to start (${error.message})`;
    throw new StartError(`the program ${why} (status "${status}"${
      errors.length ? `; page errors: ${errors.join('; ')}` : ''})`);
  }
  if (result !== true) throw new StartError(`the page did not start the program: ${result}`);
}

// A page of the program, with every uncaught error it raises collected.
export async function openPage(browser, url, viewport = { width: 1280, height: 900 }) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  await page.goto(url);
  await waitForStart(page, page.errors);
  return { page, errors: page.errors };
}

// Does what the page answers by loading itself again (a link followed, a
// dropped drive) and waits for the new document's program to start. The old
// document is marked and polled until it is gone, one evaluation at a time,
// since a wait the driver keeps in the page may be lost with the document.
export async function afterReload(page, act, errors = [], timeout = 30000) {
  await page.evaluate(() => { window.beforeTheReload = true; });
  await act();
  const deadline = performance.now() + timeout;
  for (;;) {
    const gone = await page.evaluate(() => !window.beforeTheReload).catch(() => false);
    if (gone) break;
    if (performance.now() > deadline) throw new Error(`the page did not load itself again in ${timeout / 1000} s`);
    await sleep(100);
  }
  await waitForStart(page, errors);
}

export const traceText = (page) => page.$eval('#trace', (e) => e.textContent);

// Waits until the trace, after its first `from` characters, matches pattern.
export async function waitForTrace(page, pattern, from = 0, timeout = 10000) {
  try {
    await page.waitForFunction((source, flags, start) =>
      new RegExp(source, flags).test(document.getElementById('trace').textContent.slice(start)),
    { timeout, polling: 20 }, pattern.source, pattern.flags, from);
  } catch {
    const text = await traceText(page);
    throw new Error(`the trace never showed ${pattern}; it ends:\n${text.slice(-400)}`);
  }
}

// Where two texts first differ, each character shown as its code point, so
// that a wrong letter that looks right (U+FFE7 for U+00E7) cannot hide.
export function firstDifference(got, want) {
  let at = 0;
  while (at < got.length && at < want.length && got[at] === want[at]) at++;
  if (at === got.length && at === want.length) return null;
  const codes = (text) => Array.from(text.slice(at, at + 12), (c) => `U+${c.codePointAt(0).toString(16).toUpperCase().padStart(4, '0')}`).join(' ');
  return `at character ${at} (after ${JSON.stringify(want.slice(Math.max(0, at - 30), at))}): `
    + `got ${codes(got) || 'the end'}, want ${codes(want) || 'the end'}`;
}

// The bytes the program writes to its standard output from now on, as
// numbers exactly as the page is handed them, in window.writtenBytes.
export function recordBytes(page) {
  return page.evaluate(() => {
    const show = Module.onOutput;
    window.writtenBytes = [];
    Module.onOutput = (bytes) => { window.writtenBytes.push(...bytes); show(bytes); };
  });
}

// Keeps the canvas's pixels in window.keptFrame, for compareFrame and
// countColour: as they are now, or (redraw) of a frame drawn at once, the
// tank first posed exactly (the model record's seven floats) unless pose is
// null. All in one go, so that no tick or frame of the page's comes between.
export function keepCanvas(page, { pose = null, redraw = false } = {}) {
  return page.evaluate((p, draw) => {
    const m = window.Module;
    if (p) m.HEAPF32.set(p, m._webModel() / 4);
    if (draw) m._webRedraw();
    const canvas = document.getElementById('canvas');
    const copy = document.createElement('canvas');
    copy.width = canvas.width;
    copy.height = canvas.height;
    const context = copy.getContext('2d');
    context.drawImage(canvas, 0, 0);
    window.keptFrame = context.getImageData(0, 0, copy.width, copy.height).data;
    window.keptSize = `${copy.width} x ${copy.height}`;
  }, pose, redraw);
}

export const captureFrame = (page, pose) => keepCanvas(page, { pose, redraw: true });

// The kept frame against a reference image: the share of pixels within
// `tolerance` on every channel, of all and of those drawn in either. With
// a reach, a drawn pixel matches where the other frame has a pixel within
// tolerance that many pixels away or nearer, in either direction: lines and
// points that one GL draws a pixel wider or further than the other.
export function compareFrame(page, reference, tolerance = 16, reach = 0) {
  return page.evaluate(async (src, tol, near) => {
    const image = new Image();
    image.src = src;
    await image.decode();
    const copy = document.createElement('canvas');
    copy.width = image.width;
    copy.height = image.height;
    const context = copy.getContext('2d');
    context.drawImage(image, 0, 0);
    const want = context.getImageData(0, 0, image.width, image.height).data;
    const got = window.keptFrame;
    if (got.length !== want.length) return { share: 0, size: `${image.width}x${image.height}` };
    const { width, height } = image;
    const alike = (a, i, b, j) => Math.abs(a[i] - b[j]) <= tol && Math.abs(a[i + 1] - b[j + 1]) <= tol
      && Math.abs(a[i + 2] - b[j + 2]) <= tol;
    const drawnAt = (f, i) => f[i] + f[i + 1] + f[i + 2] > 0;
    // Whether the pixel at x, y of frame a has its like in frame b nearby.
    const found = (a, b, x, y) => {
      for (let dy = -near; dy <= near; dy++) {
        for (let dx = -near; dx <= near; dx++) {
          const u = x + dx;
          const v = y + dy;
          if (u >= 0 && v >= 0 && u < width && v < height && alike(a, (y * width + x) * 4, b, (v * width + u) * 4)) return true;
        }
      }
      return false;
    };
    // Sparse frames (points, lines) are mostly background, which matches
    // anyway; the drawn share counts only pixels drawn in either frame.
    let close = 0;
    let drawn = 0;
    let drawnClose = 0;
    for (let y = 0; y < height; y++) {
      for (let x = 0; x < width; x++) {
        const i = (y * width + x) * 4;
        const same = alike(want, i, got, i);
        close += same;
        if (!drawnAt(want, i) && !drawnAt(got, i)) continue;
        drawn += 1;
        drawnClose += same || ((!drawnAt(got, i) || found(got, want, x, y)) && (!drawnAt(want, i) || found(want, got, x, y)));
      }
    }
    return { share: close / (width * height), drawnShare: drawn ? drawnClose / drawn : 1 };
  }, reference, tolerance, reach);
}

// Pixels of the kept frame near an RGB colour, and the colour at a point
// given with its origin at the bottom left, as GL gives it.
export function countColour(page, rgb) {
  return page.evaluate((c) => {
    const f = window.keptFrame;
    let n = 0;
    for (let i = 0; i < f.length; i += 4) {
      if (Math.abs(f[i] - c[0]) <= 8 && Math.abs(f[i + 1] - c[1]) <= 8
        && Math.abs(f[i + 2] - c[2]) <= 8) n++;
    }
    return n;
  }, rgb);
}

export function pixelAt(page, x, y) {
  return page.evaluate((px, py) => {
    const f = window.keptFrame;
    const i = ((479 - py) * 640 + px) * 4;
    return [f[i], f[i + 1], f[i + 2]];
  }, x, y);
}

// Counts the trace lines ("Velocidade ...", one per tick) the program writes
// from now on, in window.ticks; the trace panel alone keeps only its last
// lines, so it cannot be counted over a long run.
export function countTicks(page) {
  return page.evaluate(() => {
    const m = window.Module;
    const show = m.onOutput;
    let lineStart = true;
    window.ticks = 0;
    m.onOutput = (bytes) => {
      for (const byte of bytes) {
        if (lineStart && byte === 86) window.ticks++;
        lineStart = byte === 10;
      }
      show(bytes);
    };
  });
}

// The auditors, as their projects ship them: axe-core in the page, and the
// Nu HTML Checker's jar on the system's Java.
const require = createRequire(import.meta.url);
const axeSource = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
const nuJar = path.join(path.dirname(require.resolve('vnu-jar/package.json')), 'build/dist/vnu.jar');

// WCAG 2.2 A and AA, and axe's best practices.
const axeTags = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa', 'best-practice'];

// axe-core's violations on the page as it is now, one line each.
export async function axeViolations(page) {
  if (!(await page.evaluate(() => typeof window.axe === 'object'))) await page.evaluate(axeSource);
  return page.evaluate(async (tags) => {
    const result = await window.axe.run(document, { runOnly: { type: 'tag', values: tags }, resultTypes: ['violations'] });
    return result.violations.map((v) => `${v.id} (${v.impact}): ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`);
  }, axeTags);
}

// The Nu HTML Checker's errors for HTML files, one line each.
export function nuErrors(files) {
  if (!fs.existsSync('/usr/bin/java')) {
    throw new Error("/usr/bin/java is missing: install the 'default-jre-headless' package (make test does)");
  }
  return new Promise((resolve, reject) => {
    execFile('/usr/bin/java', ['-jar', nuJar, '--errors-only', '--format', 'gnu', ...files],
      { maxBuffer: 16 << 20 }, (error, stdout, stderr) => {
        const lines = stderr.split('\n').filter((line) => /error/.test(line));
        if (error && lines.length === 0) reject(new Error(`the Nu HTML Checker failed: ${error.message}\n${stderr}`));
        else resolve(lines);
      });
  });
}

// The Nu HTML Checker's errors for the document as the page has it now.
export async function nuErrorsOfLiveDom(page) {
  const html = await page.evaluate(() => `<!DOCTYPE html>\n${document.documentElement.outerHTML}`);
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'tank-dom-'));
  const file = path.join(dir, 'live.html');
  fs.writeFileSync(file, html);
  try {
    return await nuErrors([file]);
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
}

// Whether an element that selector matches has this role and this name in
// the engine's own accessibility tree: puppeteer asks the browser for the
// nodes of that name and role (Chromium's accessibility tree, Firefox's
// over WebDriver BiDi); WebKit's driver computes each element's label and
// role (W3C WebDriver).
export async function namedInTree(page, selector, role, name) {
  if (page.driver) {
    for (const element of await page.driver.findElements(By.css(selector))) {
      if (await element.getAriaRole() === role && await element.getAccessibleName() === name) return true;
    }
    return false;
  }
  for (const found of await page.$$(`aria/${name}[role="${role}"]`)) {
    if (await found.evaluate((e, s) => e.matches(s), selector)) return true;
  }
  return false;
}
