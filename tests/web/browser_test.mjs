// The browser build in real browsers: the same trace as the desktop for the
// same keys, the same picture as the desktop's reference frames, the touch
// buttons, the keyboard, accessibility, a lost focus, bad input, and ESC
// ending everything. The checks are written once against a small page
// interface; drivers.mjs adapts each driver to it.
//
//   node browser_test.mjs PAGE_DIR GOLDEN_DIR ENGINE...   (chromium, firefox, webkit)
//
// A check that a driver cannot do is named, with why, as "n/a". Ends with
// "N passed, N failed"; exit status 1 when anything failed.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import zlib from 'node:zlib';
import {
  afterReload, axeViolations, captureFrame, compareFrame, countColour, engineNames, firstDifference, keepCanvas, launch,
  nuErrors, nuErrorsOfLiveDom, openPage, pixelAt, recordBytes, servePage, sleep, StartError,
  traceText, waitForStart, waitForTrace,
} from './lib.mjs';
import { serve } from '../../scripts/serve.mjs';

const [pageDir, goldenDir, ...engines] = process.argv.slice(2);
if (!pageDir || !goldenDir || engines.length === 0) {
  console.error('usage: browser_test.mjs PAGE_DIR GOLDEN_DIR ENGINE...');
  process.exit(2);
}
if (!fs.existsSync(path.join(pageDir, 'tank.js'))) {
  console.error(`${pageDir}/tank.js is missing: build the page first (make web-build)`);
  process.exit(1);
}

// The help as a reader sees it, character for character, and as the
// program writes it, byte for byte: "projecção" is the Latin-1 bytes 0xE7
// and 0xE3, shown as U+00E7 and U+00E3.
const help = (
  '\n\nDesenho de um quadrado\nh,H - Ajuda \nz,Z - Roda torre para a esquerda\n'
  + 'x,X - Roda torre para a direita\nq,Q - Levantar canhao\na,A - Baixar canhao\n'
  + 'i,I - Reinicia modelo\n'
  + 'o,O - Alterna entre projec\u00e7\u00e3o Ortografica e Perspectiva\n'
  + 'f,F - Poligono Fill \nl,L - Poligono Line \np,P - Poligono Point \n'
  + 'up  - Acelera \ndown- Trava \nleft- Vira rodas para a direita\n'
  + 'righ- Vira rodas para a esquerda\nESC - Sair\n');
const helpBytes = Array.from(help, (c) => c.codePointAt(0));

// The busy state of the reference frames: every transform non-zero.
const busy = [3, -4, 0.52, 35, 15, 60, 40];
// Frames compared with the desktop's references, with the share of pixels
// within 16/255 that must match (edges rasterise differently in WebGL).
// Lines and points are mostly background, which matches anyway, so their
// drawn pixels are held to a share of their own: Mesa draws smooth lines
// about two pixels wide where WebGL draws one, which caps it near 40 %.
const parity = [
  { name: 'start', pose: [0, 0, 0, 0, 0, 0, 0], keys: [], target: 0.99, floor: 0.97 },
  { name: 'busy', pose: busy, keys: [], target: 0.99, floor: 0.97 },
  { name: 'busy-lines', pose: busy, keys: ['l'], target: 0.97, floor: 0.93, drawnFloor: 0.3 },
  { name: 'busy-points', pose: busy, keys: ['p'], target: 0.97, floor: 0.93, drawnFloor: 0.2 },
  { name: 'busy-perspective', pose: busy, keys: ['o'], target: 0.99, floor: 0.97 },
];

// The screens the page must fit: phones and tablets with their pixel
// ratios and touch, laptops without.
const screens = [
  { name: 'phone portrait', width: 390, height: 844, deviceScaleFactor: 3, touch: true },
  { name: 'phone landscape', width: 844, height: 390, deviceScaleFactor: 3, touch: true },
  { name: 'tablet portrait', width: 768, height: 1024, deviceScaleFactor: 2, touch: true },
  { name: 'tablet landscape', width: 1024, height: 768, deviceScaleFactor: 2, touch: true },
  { name: 'laptop 1366', width: 1366, height: 768, deviceScaleFactor: 1 },
  { name: 'laptop 1280', width: 1280, height: 900, deviceScaleFactor: 1 },
];
const viewportOf = (s) => ({ width: s.width, height: s.height, deviceScaleFactor: s.deviceScaleFactor,
  isMobile: Boolean(s.touch), hasTouch: Boolean(s.touch) });

// What is wrong with the layout as it stands, once the drawing buffer has
// followed the canvas's size: the canvas or a key off the screen (scrolled
// to the top), a key over the canvas, a key too small for a finger, or a
// drawing buffer that is not the canvas's size in device pixels.
async function layoutProblems(page) {
  await page.evaluate(() => window.scrollTo(0, 0));
  return page.evaluate(async () => {
    const canvas = document.getElementById('canvas');
    const ratio = window.devicePixelRatio;
    const fits = () => {
      const box = canvas.getBoundingClientRect();
      return Math.abs(canvas.width - box.width * ratio) <= 1 && Math.abs(canvas.height - box.height * ratio) <= 1;
    };
    for (let i = 0; i < 50 && !fits(); i++) await new Promise((r) => setTimeout(r, 20));
    const problems = [];
    const c = canvas.getBoundingClientRect();
    if (!fits()) problems.push(`buffer ${canvas.width} x ${canvas.height} for a canvas of ${c.width} x ${c.height} at ratio ${ratio}`);
    const inside = (r) => r.left >= 0 && r.top >= 0 && r.right <= innerWidth + 0.5 && r.bottom <= innerHeight + 0.5;
    if (!inside(c)) problems.push(`the canvas (${c.left}, ${c.top}, ${c.right}, ${c.bottom}) is off the screen`);
    // In full screen a mouse and keyboard need no on-screen keys: the page
    // hides them there.
    const keysHidden = document.fullscreenElement && matchMedia('(hover: hover) and (pointer: fine)').matches;
    for (const button of keysHidden ? [] : document.querySelectorAll('[data-key]')) {
      const b = button.getBoundingClientRect();
      const key = button.dataset.key;
      if (!inside(b)) problems.push(`${key} is off the screen at (${b.left}, ${b.top})`);
      if (b.left < c.right && c.left < b.right && b.top < c.bottom && c.top < b.bottom) problems.push(`${key} is over the canvas`);
      if (b.width < 44 || b.height < 44) problems.push(`${key} is ${b.width} x ${b.height} CSS px`);
    }
    return problems;
  });
}

// Text a person must read that is smaller than 12 CSS px, as "size: text".
function smallText(page) {
  return page.evaluate(() => {
    const small = {};
    const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
    for (let node = walker.nextNode(); node; node = walker.nextNode()) {
      const element = node.parentElement;
      if (!node.data.trim() || element.closest('script, .unseen')) continue;
      const size = parseFloat(getComputedStyle(element).fontSize);
      if (size < 12) (small[size] = small[size] || []).push(node.data.trim().slice(0, 20));
    }
    return Object.entries(small).map(([size, texts]) => `${texts.length} texts at ${size} px, such as "${texts.slice(0, 3).join('", "')}"`);
  });
}

const reshapes = (text) => text.split('Reshape ').length - 1;

const magenta = [255, 0, 255];
let passed = 0;
let failed = 0;

let notPossible = 0;
// TANK_CHECK=text runs only the checks whose names contain it, while working on them.
const only = process.env.TANK_CHECK || '';

// Runs a check; with `needs`, only where the browser's driver can do that
// (drivers.mjs says why not, and the output names the check).
async function check(engine, name, body, needs = null) {
  if (only && !name.includes(only)) return;
  if (needs && currentBrowser && currentBrowser.supports[needs] !== true) {
    notPossible++;
    console.log(`n/a  ${engine}: ${name}\n     (${currentBrowser.supports[needs]})`);
    return;
  }
  try {
    await body();
    passed++;
    console.log(`ok   ${engine}: ${name}`);
  } catch (error) {
    failed++;
    console.log(`FAIL ${engine}: ${name}\n     ${String(error.message || error).replace(/\n/g, '\n     ')}`);
    // A page that cannot start fails every later check the same way.
    if (error instanceof StartError) throw new Error('the remaining checks were not run');
  }
}

function expect(condition, message) {
  if (!condition) throw new Error(message);
}

function problemsOrFail(problems, where) {
  expect(problems.length === 0, `${where}: ${problems.join('; ')}`);
}

function expectNoErrors(errors) {
  expect(errors.length === 0, `the page raised: ${errors.join('; ')}`);
}

// Presses and releases a letter key, and waits until the program has acted
// on it: its echo is traced after the key's action.
async function pressKey(page, key) {
  const from = (await traceText(page)).length;
  await page.keyboard.press(key);
  await waitForTrace(page, new RegExp(`Carregou na tecla ${key}\n`), from);
}

async function holdKey(page, key, until, from) {
  await page.keyboard.down(key);
  try {
    await waitForTrace(page, until, from);
  } finally {
    await page.keyboard.up(key);
  }
}

// Every release in the trace follows a press of the same key.
function releasesFollowPresses(text) {
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

let currentBrowser = null;

async function runEngine(engine, server) {
  const browser = await launch(engine);
  currentBrowser = browser;
  try {
    await check(engine, 'start-up trace: the help exactly, as characters and as bytes; reshape, ticks', async () => {
      const { page, errors } = await openPage(browser, server.url);
      const text = await traceText(page);
      const wrong = firstDifference(text.slice(0, help.length), help);
      expect(!wrong, `the trace does not begin with the help: ${wrong}`);
      const rest = text.slice(help.length);
      expect(rest.startsWith('Reshape ORTHO\nVelocidade 0.00 Direccao 0.00\n'),
        `after the help: ${JSON.stringify(rest.slice(0, 80))}`);
      // H again with the trace off: the bytes handed to the page are the
      // program's own, and nothing else comes between them.
      await page.keyboard.press('d');
      await waitForTrace(page, /DEBUG is OFF\n/);
      await recordBytes(page);
      await page.keyboard.press('h');
      await page.waitForFunction((n) => window.writtenBytes.length >= n, { timeout: 5000 }, helpBytes.length);
      await sleep(100);
      const bytes = await page.evaluate(() => window.writtenBytes);
      const at = bytes.findIndex((b, i) => b !== helpBytes[i]);
      expect(at < 0 && bytes.length === helpBytes.length,
        `H wrote ${bytes.length} bytes, not the help's ${helpBytes.length}`
        + (at >= 0 ? `: byte ${at} is ${bytes[at]}, not ${helpBytes[at]}` : ''));
      expectNoErrors(errors);
      await page.close();
    });

    await check(engine, 'frames match the desktop reference frames', async () => {
      const shares = [];
      for (const state of parity) {
        const { page, errors } = await openPage(browser, server.url);
        for (const key of state.keys) await pressKey(page, key);
        await captureFrame(page, state.pose);
        const { share, drawnShare } = await compareFrame(page, `golden/${state.name}.png`);
        shares.push(`${state.name} ${(share * 100).toFixed(2)} % (drawn ${(drawnShare * 100).toFixed(1)} %)`);
        expect(share >= state.floor, `${state.name}: only ${(share * 100).toFixed(2)} % of pixels `
          + `within 16/255 of the desktop frame (at least ${state.floor * 100} %)`);
        expect(drawnShare >= (state.drawnFloor ?? state.floor), `${state.name}: only `
          + `${(drawnShare * 100).toFixed(1)} % of the drawn pixels match the desktop frame`);
        if (share < state.target) console.log(`     ${state.name} below its target of ${state.target * 100} %`);
        expectNoErrors(errors);
        await page.close();
      }
      console.log(`     pixels within 16/255 of the desktop: ${shares.join(', ')}`);
    });

    await check(engine, 'start frame probes, polygon modes and projection', async () => {
      const { page, errors } = await openPage(browser, server.url);
      await captureFrame(page, null);
      const probes = [['hull top', 299, 264, magenta], ['ground', 150, 240, [128, 128, 128]],
        ['background', 2, 2, [0, 0, 0]], ['background top left', 2, 477, [0, 0, 0]]];
      for (const [what, x, y, want] of probes) {
        const got = await pixelAt(page, x, y);
        expect(got.every((v, i) => Math.abs(v - want[i]) <= 2), `${what} at (${x}, ${y}) is ${got}, not ${want}`);
      }
      const filled = await countColour(page, magenta);
      await pressKey(page, 'l');
      await captureFrame(page, null);
      const lines = await countColour(page, magenta);
      await pressKey(page, 'p');
      await captureFrame(page, null);
      const points = await countColour(page, magenta);
      expect(lines < filled / 3, `line mode shows ${lines} magenta pixels against ${filled} filled`);
      expect(points < lines, `point mode shows ${points} magenta pixels against ${lines} in lines`);
      await pressKey(page, 'F');
      await captureFrame(page, null);
      expect(await countColour(page, magenta) === filled, 'F does not fill again');
      const before = (await traceText(page)).length;
      await page.keyboard.press('o');
      await waitForTrace(page, /Reshape PERSPECTIVE\nCarregou na tecla o\n/, before);
      await captureFrame(page, null);
      const grey = await countColour(page, [128, 128, 128]);
      await pressKey(page, 'o');
      await captureFrame(page, null);
      expect(grey !== await countColour(page, [128, 128, 128]), 'O does not change the picture');
      expectNoErrors(errors);
      await page.close();
    });

    await check(engine, 'driving: the up arrow to 0.52, then the drag', async () => {
      const { page, errors } = await openPage(browser, server.url);
      const from = (await traceText(page)).length;
      await holdKey(page, 'ArrowUp', /Velocidade 0\.52 Direccao 0\.00\n/, from);
      await waitForTrace(page, /Largou a tecla especial 101\n(.*\n)*Velocidade 0\.4\d Direccao 0\.00\n/, from);
      const text = (await traceText(page)).slice(from);
      const press = text.indexOf('Carregou na tecla especial 101\n');
      expect(press >= 0 && press < text.indexOf('Velocidade 0.04'), `the press is not traced before the first step: ${text.slice(0, 90)}`);
      expectNoErrors(errors);
      await page.close();
    });

    await check(engine, 'touch buttons trace like their keys; a lost focus releases held keys', async () => {
      const { page, errors } = await openPage(browser, server.url);
      let from = (await traceText(page)).length;
      await page.click('[data-key="z"]');
      await waitForTrace(page, /Carregou na tecla z\n(.*\n)*Largou a tecla z\n/, from);

      from = (await traceText(page)).length;
      const up = await page.$('[data-key="ArrowUp"]');
      const box = await up.boundingBox();
      await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
      await page.mouse.down();
      await waitForTrace(page, /Carregou na tecla especial 101\n(.*\n)*Velocidade 0\.52/, from);
      await page.mouse.up();
      await waitForTrace(page, /Largou a tecla especial 101\n/, from);

      from = (await traceText(page)).length;
      await page.keyboard.down('ArrowLeft');
      await waitForTrace(page, /Carregou na tecla especial 100\n/, from);
      await page.evaluate(() => window.dispatchEvent(new Event('blur')));
      await waitForTrace(page, /Largou a tecla especial 100\n/, from);
      await page.keyboard.up('ArrowLeft');  // arrives after the release: not traced again
      await sleep(100);
      const after = (await traceText(page)).slice(from);
      expect(after.split('Largou a tecla especial 100').length === 2, 'the left arrow was released twice');
      expectNoErrors(errors);
      await page.close();
    });

    await check(engine, 'keyboard: the canvas has the keys at the start; Tab and Shift+Tab go through every control and back', async () => {
      const { page, errors } = await openPage(browser, server.url);
      const focused = () => page.evaluate(() => {
        const e = document.activeElement;
        return e.dataset.key || e.id || (e.classList.contains('part') ? 'part' : e.tagName.toLowerCase());
      });
      expect(await focused() === 'canvas', `the page opens with the focus on ${await focused()}`);
      // The tree's parts are one stop, the arrows move between them.
      const order = await page.evaluate(() => [
        'canvas', ...(document.getElementById('fullscreen').hidden ? [] : ['fullscreen']), 'language',
        ...Array.from(document.querySelectorAll('[data-key]'), (e) => e.dataset.key),
        'summary', 'part', 'share', 'drive-input', 'hide-steps', 'trace']);
      const from = (await traceText(page)).length;
      const forth = [await focused()];
      for (let i = 1; i < order.length; i++) {
        await page.keyboard.press('Tab');
        forth.push(await focused());
      }
      expect(forth.join(' ') === order.join(' '), `Tab went ${forth.join(' > ')}`);
      // The part Tab reached is chosen (its frame shown), and so is the one
      // an arrow moves to; Tab goes on from there.
      const chosen = () => page.evaluate(() => Array.from(document.querySelectorAll('#tree .part'), (e) => e.getAttribute('aria-pressed')).join(''));
      expect(await chosen() === `true${'false'.repeat(11)}`, `Tab onto the tree left the parts chosen as ${await chosen()}`);
      await page.focus('#tree .part');
      await page.keyboard.press('ArrowDown');
      expect(await chosen() === `falsetrue${'false'.repeat(10)}`, `ArrowDown in the tree left the parts chosen as ${await chosen()}`);
      await page.keyboard.press('Enter');
      expect(!(await chosen()).includes('true'), 'Enter on the chosen part did not hide its frame');
      await page.focus('#trace');
      const back = [];
      for (let i = 1; i < order.length; i++) {
        await page.keyboard.down('Shift');
        await page.keyboard.press('Tab');
        await page.keyboard.up('Shift');
        back.push(await focused());
      }
      expect(back.join(' ') === order.slice(0, -1).reverse().join(' '), `Shift+Tab went ${back.join(' > ')}`);
      await sleep(100);
      const keys = (await traceText(page)).slice(from).split('\n').filter((line) => /^(Carregou|Largou)/.test(line));
      // Only Shift, pressed on the way back once the canvas had the focus.
      expect(keys.every((line) => / especial 11[23]$/.test(line)), `keys reached the program: ${keys.join(', ')}`);
      expectNoErrors(errors);
      await page.close();
    });

    await check(engine, 'keyboard: Enter and Space act on the focused control; Space held on a key holds it', async () => {
      const { page, errors } = await openPage(browser, server.url);
      const focus = (selector) => page.$eval(selector, (e) => e.focus());
      await focus('#hide-steps');
      await page.keyboard.press('Enter');
      expect(await page.$eval('#hide-steps', (e) => e.getAttribute('aria-pressed')) === 'true', 'Enter did not hide the step lines');
      await page.keyboard.press(' ');
      expect(await page.$eval('#hide-steps', (e) => e.getAttribute('aria-pressed')) === 'false', 'Space did not show the step lines');
      await focus('summary');
      await page.keyboard.press('Enter');
      expect(!(await page.$eval('details', (e) => e.open)), 'Enter did not close the tree');
      await page.keyboard.press(' ');
      expect(await page.$eval('details', (e) => e.open), 'Space did not open the tree');
      let from = (await traceText(page)).length;
      await focus('[data-key="z"]');
      await page.keyboard.press('Enter');
      await waitForTrace(page, /Carregou na tecla z\n(.*\n)*Largou a tecla z\n/, from);
      from = (await traceText(page)).length;
      await focus('[data-key="ArrowUp"]');
      await page.keyboard.down(' ');
      await waitForTrace(page, /Carregou na tecla especial 101\n(.*\n)*Velocidade 0\.52 /, from);
      await page.keyboard.up(' ');
      await waitForTrace(page, /Largou a tecla especial 101\n/, from);
      await sleep(200);
      const text = (await traceText(page)).slice(from);
      const presses = text.split('Carregou na tecla especial 101\n').length - 1;
      const releases = text.split('Largou a tecla especial 101\n').length - 1;
      expect(presses === 1 && releases === 1, `Space held on the up key gave ${presses} presses and ${releases} releases`);
      expect(!/Carregou na tecla  \n/.test(text), 'Space reached the program');
      expectNoErrors(errors);
      await page.close();
    });

    await check(engine, 'keyboard: on the canvas the arrows drive and nothing scrolls; elsewhere the page scrolls', async () => {
      const { page, errors } = await openPage(browser, server.url, { width: 1280, height: 600 });
      const scrolled = () => page.evaluate(() => window.scrollY);
      let from = (await traceText(page)).length;
      for (const [key, code] of [['ArrowDown', 103], ['PageDown', 105], ['End', 107], [' ', null]]) {
        await page.keyboard.press(key);
        await waitForTrace(page, code ? new RegExp(`Largou a tecla especial ${code}\n`) : /Largou a tecla  \n/, from);
      }
      expect(await scrolled() === 0, `keys for the program scrolled the page to ${await scrolled()}`);
      await page.keyboard.press('Tab');
      from = (await traceText(page)).length;
      await page.keyboard.press('PageDown');
      await page.waitForFunction(() => window.scrollY > 0, { timeout: 3000 }).catch(() => {});
      expect(await scrolled() > 0, 'PageDown with the focus on a button did not scroll the page');
      await page.keyboard.press('ArrowDown');
      await sleep(200);
      expect(!(await traceText(page)).slice(from).includes('Carregou'), 'keys reached the program without the focus');
      // A click on the canvas gives it the keys back.
      await page.evaluate(() => window.scrollTo(0, 0));
      await page.click('#canvas');
      from = (await traceText(page)).length;
      await page.keyboard.press('ArrowUp');
      await waitForTrace(page, /Carregou na tecla especial 101\n/, from);
      expectNoErrors(errors);
      await page.close();
    });

    await check(engine, 'every screen: the canvas and all keys on it together, drawn in device pixels', async () => {
      const problems = [];
      for (const screen of screens) {
        const { page, errors } = await openPage(browser, server.url, viewportOf(screen));
        const ratio = await page.evaluate(() => window.devicePixelRatio);
        const wanted = browser.supports.deviceScale === true ? screen.deviceScaleFactor : 1;
        if (ratio !== wanted) problems.push(`${screen.name}: the browser gave ratio ${ratio}, not ${wanted}`);
        problems.push(...(await layoutProblems(page)).map((p) => `${screen.name}: ${p}`));
        // From the laptop's size to this screen's: a resize like a rotation.
        if (screen === screens[0]) {
          await page.setViewport(viewportOf(screens[5]));
          problems.push(...(await layoutProblems(page)).map((p) => `after a resize to 1280 x 900: ${p}`));
        }
        expectNoErrors(errors);
        await page.close();
      }
      expect(problems.length === 0, problems.join('\n'));
      if (browser.supports.deviceScale !== true) console.log(`     at a pixel ratio of 1: ${browser.supports.deviceScale}`);
    });

    await check(engine, 'WCAG 2.2 AA: axe-core and the Nu HTML Checker find nothing, on every screen, in every state', async () => {
      const found = [];
      const audit = async (page, state) => {
        found.push(...(await axeViolations(page)).map((v) => `${state}: ${v}`));
      };
      found.push(...(await nuErrors([path.join(pageDir, 'index.html'), path.join(pageDir, 'tank.html')])));
      for (const screen of screens) {
        const { page, errors } = await openPage(browser, server.url, viewportOf(screen));
        await audit(page, screen.name);
        if (screen.touch) found.push(...(await smallText(page)).map((t) => `${screen.name}: ${t}`));
        await page.$eval('details', (e) => { e.open = false; });
        await page.click('#hide-steps');
        await audit(page, `${screen.name}, the tree closed and the step lines hidden`);
        expectNoErrors(errors);
        await page.close();
      }
      const { page, errors } = await openPage(browser, server.url);
      // Z held: the turret's line of the tree is lit.
      await page.keyboard.down('z');
      await page.waitForFunction(() => document.querySelector('#tree .changed'), { timeout: 5000 });
      await audit(page, 'a line of the tree lit');
      found.push(...(await nuErrorsOfLiveDom(page)).map((e) => `the live page: ${e}`));
      await page.keyboard.up('z');
      await page.keyboard.press('Escape');
      await page.waitForFunction(() => document.getElementById('status').textContent === 'ended with status 1', { timeout: 5000 });
      await audit(page, 'after ESC');
      found.push(...(await nuErrorsOfLiveDom(page)).map((e) => `the page after ESC: ${e}`));
      expectNoErrors(errors);
      await page.close();
      expect(found.length === 0, found.join('\n'));
    });

    await check(engine, 'the canvas is the window: one reshape per new size, a tall frame as the desktop draws it', async () => {
      const { page, errors } = await openPage(browser, server.url);
      const resizeTo = async (width, height) => {
        const from = (await traceText(page)).length;
        await page.$eval('.screen', (e, w, h) => { e.style.cssText = `flex: none; width: ${w}px; height: ${h}px`; }, width, height);
        await page.waitForFunction((w, h) => {
          const c = document.getElementById('canvas');
          return c.width === w && c.height === h;
        }, { timeout: 5000 }, width, height);
        await sleep(200);  // time for any second reshape to show
        return (await traceText(page)).slice(from);
      };
      let text = await resizeTo(300, 500);
      expect(reshapes(text) === 1 && text.includes('Reshape ORTHO\n'), `300 x 500 gave ${reshapes(text)} reshapes`);
      // O twice reshapes again with the size GLUT answers, which must be the
      // new one for the frame to match the desktop's tall window.
      const beforeO = (await traceText(page)).length;
      await page.keyboard.press('o');
      await page.keyboard.press('o');
      await waitForTrace(page, /Reshape PERSPECTIVE\n(.*\n)*Reshape ORTHO\nCarregou na tecla o\n/, beforeO);
      await captureFrame(page, busy);
      const { share } = await compareFrame(page, 'golden/busy-tall.png');
      expect(share >= 0.97, `busy-tall: only ${(share * 100).toFixed(2)} % of pixels within 16/255 of the desktop frame`);
      // A burst of sizes within one frame: one reshape, for the last.
      const from = (await traceText(page)).length;
      await page.$eval('.screen', (e) => {
        for (const [w, h] of [[400, 300], [500, 300], [320, 200]]) e.style.cssText = `flex: none; width: ${w}px; height: ${h}px`;
      });
      await page.waitForFunction(() => document.getElementById('canvas').width === 320, { timeout: 5000 });
      await sleep(200);
      text = (await traceText(page)).slice(from);
      expect(reshapes(text) === 1, `a burst of three sizes gave ${reshapes(text)} reshapes`);
      text = await resizeTo(640, 480);
      expect(reshapes(text) === 1, `back to 640 x 480 gave ${reshapes(text)} reshapes`);
      expectNoErrors(errors);
      await page.close();
    });

    await check(engine, 'real touch at phone size: two fingers hold two keys; a long hold stays held', async () => {
        const { page, errors } = await openPage(browser, server.url, viewportOf(screens[0]));
        const centre = async (key) => {
          const b = await (await page.$(`[data-key="${key}"]`)).boundingBox();
          return { x: b.x + b.width / 2, y: b.y + b.height / 2 };
        };
        const finger = async (key) => {
          const at = await centre(key);
          return page.touchscreen.touchStart(at.x, at.y);
        };
        await page.evaluate(() => {
          window.pointerTypes = new Set();
          addEventListener('pointerdown', (e) => window.pointerTypes.add(e.pointerType), true);
        });
        const from = (await traceText(page)).length;
        const up = await finger('ArrowUp');
        const left = await finger('ArrowLeft');
        await waitForTrace(page, /Velocidade 0\.52 Direccao [1-9]/, from);
        await up.end();
        await left.end();
        await waitForTrace(page, /Largou a tecla especial 100\n/, from);
        let text = (await traceText(page)).slice(from);
        expect(/Carregou na tecla especial 101\n/.test(text) && /Carregou na tecla especial 100\n/.test(text), 'both fingers were not pressed');

        const held = (await traceText(page)).length;
        const z = await finger('z');
        await sleep(1000);
        text = (await traceText(page)).slice(held);
        expect(text.includes('Carregou na tecla z\n') && !text.includes('Largou'), `a one-second hold: ${text.replace(/Velocidade.*\n/g, '').slice(0, 200)}`);
        await z.end();
        await waitForTrace(page, /Largou a tecla z\n/, held);
        const types = await page.evaluate(() => [...window.pointerTypes].join(', '));
        expect(types === 'touch', `the fingers reached the page as ${types || 'nothing'}, not touch`);
        expectNoErrors(errors);
        await page.close();
      }, 'touch');

      await check(engine, 'full screen and back: one reshape per new size, the program still running', async () => {
        const { page, errors } = await openPage(browser, server.url);
        // The canvas's size at each reshape line: a browser may reach full
        // screen through a size in between (a toolbar hiding), and each new
        // size is one reshape, never the same size twice.
        await page.evaluate(() => {
          const show = Module.onOutput;
          let line = '';
          window.reshapeSizes = [];
          Module.onOutput = (fd, byte) => {
            line = byte === 10 ? '' : line + String.fromCharCode(byte);
            if (line === 'Reshape ORTHO') {
              const c = document.getElementById('canvas');
              window.reshapeSizes.push(`${c.width} x ${c.height}`);
            }
            show(fd, byte);
          };
        });
        const sizes = () => page.evaluate(() => window.reshapeSizes.splice(0));
        const oneEach = (seen, what, last) => {
          expect(seen.length >= 1 && new Set(seen).size === seen.length && seen[seen.length - 1] === last,
            `${what} gave reshapes at ${seen.join(', ') || 'no size'}, ending at ${last}`);
        };
        const canvasSize = () => page.evaluate(() => `${document.getElementById('canvas').width} x ${document.getElementById('canvas').height}`);
        await page.click('#fullscreen');
        await page.waitForFunction(() => document.fullscreenElement !== null, { timeout: 5000 });
        await page.waitForFunction(() => window.reshapeSizes.length > 0, { timeout: 5000 });
        await sleep(500);
        oneEach(await sizes(), 'entering full screen', await canvasSize());
        problemsOrFail(await layoutProblems(page), 'in full screen');
        const from = (await traceText(page)).length;
        await page.keyboard.press('Escape');
        await page.waitForFunction(() => document.fullscreenElement === null, { timeout: 5000 });
        await waitForTrace(page, /Reshape ORTHO\n(.*\n)*Velocidade/, from);
        await sleep(500);
        oneEach(await sizes(), 'leaving full screen', '640 x 480');
        expect(await page.$eval('#status', (e) => e.textContent) === 'running', 'the Escape that left full screen ended the program');
        expectNoErrors(errors);
        await page.close();
      }, 'fullscreen');

    await check(engine, 'the trace panel keeps the last 1,000 lines and a reader scrolled back stays put', async () => {
      const { page, errors } = await openPage(browser, server.url);
      // Every byte the program writes from now on; the panel holds the rest.
      await page.evaluate(() => {
        const show = Module.onOutput;
        window.written = document.getElementById('trace').textContent;
        Module.onOutput = (fd, byte) => { window.written += String.fromCharCode(byte); show(fd, byte); };
      });
      // Keys the program has no meaning for, echoed on press and release,
      // between the ticks' lines: no stretch of the trace repeats another.
      const keys = 'bcegjkmnrstuvwy0123456789';
      const typeKeys = async (n) => { for (let i = 0; i < n; i++) await page.keyboard.press(keys[i % keys.length]); };
      await typeKeys(500);
      await sleep(300);
      // The text at the top of the panel's view, from the point a reader sees.
      const atTop = () => page.evaluate(() => {
        const trace = document.getElementById('trace');
        trace.scrollIntoView({ block: 'nearest' });
        const box = trace.getBoundingClientRect();
        const x = box.left + 12;
        const y = box.top + 12;
        const at = document.caretPositionFromPoint ? document.caretPositionFromPoint(x, y) : document.caretRangeFromPoint(x, y);
        const node = at.offsetNode || at.startContainer;
        const offset = at.offset ?? at.startOffset;
        let before = 0;
        for (const block of trace.childNodes) {
          if (block.contains(node)) break;
          before += block.textContent.length;
        }
        return trace.textContent.slice(before + offset, before + offset + 150);
      });
      await page.$eval('#trace', (e) => { e.scrollTop = e.scrollHeight / 2; });
      await sleep(300);
      const seen = await atTop();
      const scrolled = await page.$eval('#trace', (e) => e.scrollTop);
      await typeKeys(40);
      await sleep(400);
      const seenAfter = await atTop();
      expect(seenAfter === seen, `the view moved while scrolled back:\n${JSON.stringify(seen)}\nbecame\n${JSON.stringify(seenAfter)}`);
      expect(await page.$eval('#trace', (e) => e.scrollTop + e.clientHeight < e.scrollHeight - 100), 'the panel jumped to its end');
      expect(Math.abs(await page.$eval('#trace', (e) => e.scrollTop) - scrolled) > 0, 'the oldest lines were not cut while scrolled back');
      // With the trace off nothing more comes: the panel is the last 1,000
      // lines written, byte for byte.
      await page.keyboard.press('d');
      await sleep(400);
      const [panel, written] = await page.evaluate(() => [document.getElementById('trace').textContent, window.written]);
      const lines = written.match(/[^\n]*\n|[^\n]+$/g);
      expect(lines.length > 1000, `only ${lines.length} lines were written`);
      expect(panel === lines.slice(-1000).join(''), `the panel is not the last 1,000 lines written (${panel.split('\n').length - 1} lines)`);
      // The step lines hidden and shown again: kept all the while.
      await page.click('#hide-steps');
      const hidden = await page.$eval('#trace', (e) => [e.textContent, e.innerText.includes('Velocidade'), e.innerText.includes('Carregou')]);
      expect(hidden[0] === panel && !hidden[1] && hidden[2], `with the step lines hidden: same text ${hidden[0] === panel}, steps shown ${hidden[1]}, keys shown ${hidden[2]}`);
      // Copying the whole panel with them hidden still gives every byte written.
      const copied = await page.$eval('#trace', (e) => {
        const range = document.createRange();
        range.selectNodeContents(e);
        getSelection().removeAllRanges();
        getSelection().addRange(range);
        // Firefox gives the event a copy of the DataTransfer it is made with.
        const copy = new ClipboardEvent('copy', { clipboardData: new DataTransfer(), bubbles: true, cancelable: true });
        e.dispatchEvent(copy);
        return copy.clipboardData.getData('text/plain');
      });
      expect(copied === panel, `a copy of the panel gave ${copied.split('\n').length - 1} lines, not its ${panel.split('\n').length - 1}`);
      await page.click('#hide-steps');
      expect(await traceText(page) === panel, 'the panel changed after showing the step lines again');
      expectNoErrors(errors);
      await page.close();
    });

    await check(engine, 'the single file, alone in a folder, opened from disk: the whole program, nothing loaded', async () => {
      const alone = fs.mkdtempSync(path.join(os.tmpdir(), 'tank-single-'));
      fs.copyFileSync(path.join(pageDir, 'tank.html'), path.join(alone, 'tank.html'));
      const page = await browser.newPage();
      const { errors } = page;
      try {
        await page.setViewport({ width: 1280, height: 900 });
        const url = pathToFileURL(path.join(alone, 'tank.html')).href;
        await page.goto(url);
        await waitForStart(page, errors);
        const wrong = firstDifference((await traceText(page)).slice(0, help.length), help);
        expect(!wrong, `the trace does not begin with the help: ${wrong}`);
        const from = (await traceText(page)).length;
        await holdKey(page, 'ArrowUp', /Velocidade 0\.52 Direccao 0\.00\n/, from);
        await waitForTrace(page, /Largou a tecla especial 101\n/, from);
        await captureFrame(page, busy);
        const reference = `data:image/png;base64,${fs.readFileSync(path.join(goldenDir, 'busy.png')).toString('base64')}`;
        const { share } = await compareFrame(page, reference);
        expect(share >= 0.97, `busy: only ${(share * 100).toFixed(2)} % of pixels within 16/255 of the desktop frame`);
        await page.keyboard.press('Escape');
        await page.waitForFunction(() => document.getElementById('status').textContent === 'ended with status 1', { timeout: 5000 });
        // Everything the page fetched, as the page's own timeline lists it.
        const requests = await page.evaluate(() => performance.getEntriesByType('resource').map((e) => e.name));
        const elsewhere = requests.filter((r) => r !== url && !/^(data|blob):/.test(r));
        expect(elsewhere.length === 0, `the single file loaded ${elsewhere.join(', ')}`);
        expectNoErrors(errors);
      } finally {
        await page.close();
        fs.rmSync(alone, { recursive: true, force: true });
      }
    });

      await check(engine, 'served: kept for use offline, a new build arrives whole, another site on the port is never answered', async () => {
        // A copy of the page of its own, on a port of its own, to rebuild.
        const copy = fs.mkdtempSync(path.join(os.tmpdir(), 'tank-served-'));
        fs.cpSync(pageDir, copy, { recursive: true });
        let site = await serve({ '/tank/': copy });
        const port = new URL(site.url).port;
        const context = await browser.newContext();
        try {
          // The single file registers no worker, even when served.
          let { page, errors } = await openPage(context, `${site.url}tank.html`);
          await sleep(500);
          const workers = await page.evaluate(async () => (await navigator.serviceWorker.getRegistrations()).length);
          expect(workers === 0, 'the single file registered a service worker');
          await page.close();
          ({ page, errors } = await openPage(context, site.url));
          try {
            await page.waitForFunction(async () => {
              const registration = await navigator.serviceWorker.getRegistration();
              return registration && registration.active && registration.active.state === 'activated';
            }, { timeout: 10000 });
          } catch {
            throw new Error('no active service worker 10 s after the first load');
          }
          // The network gone: the page still loads and runs.
          site.close();
          await page.reload();
          await waitForStart(page, errors);
          const from = (await traceText(page)).length;
          await waitForTrace(page, /Velocidade 0\.00 Direccao 0\.00\n(.*\n)*Velocidade/, from);
          expectNoErrors(errors);
          await page.close();
          // A rebuild with a changed page file, served again.
          fs.appendFileSync(path.join(copy, 'page.css'), ':root { --build: 2; }\n');
          execFileSync(process.execPath, [path.join(path.dirname(new URL(import.meta.url).pathname), '../../web/assemble.mjs'), 'worker', copy]);
          site = await serve({ '/tank/': copy }, { port: Number(port) });
          ({ page, errors } = await openPage(context, site.url));
          // Online, the visit is the new build at once.
          expect(await page.evaluate(() => getComputedStyle(document.documentElement).getPropertyValue('--build').trim()) === '2',
            'the first visit after a rebuild is not the new build');
          // The kept set becomes the new build's, whole, and only it.
          const names = fs.readdirSync(copy).filter((n) => n !== 'tank.html' && n !== 'sw.js');
          const keptSet = () => page.evaluate(async (files) => {
            const kept = await caches.keys();
            if (kept.length !== 1) return { caches: kept };
            const cache = await caches.open(kept[0]);
            const out = [];
            for (const name of files) {
              const response = await cache.match(name);
              out.push([name, response ? Array.from(new Uint8Array(await response.arrayBuffer())) : null]);
            }
            return { caches: kept, files: out };
          }, names);
          let kept = await keptSet();
          for (let i = 0; i < 75 && !(kept.files && kept.files.every(([name, bytes]) => bytes
            && Buffer.from(bytes).equals(fs.readFileSync(path.join(copy, name))))); i++) {
            await sleep(200);
            kept = await keptSet();
          }
          expect(kept.caches.length === 1, `caches kept: ${kept.caches.join(', ')}`);
          const differing = kept.files.filter(([name, bytes]) => !bytes || !Buffer.from(bytes).equals(fs.readFileSync(path.join(copy, name))));
          expect(differing.length === 0, `kept files not of the new build: ${differing.map((d) => d[0]).join(', ')}`);
          expectNoErrors(errors);
          await page.close();

          // Another site served on the same port afterwards: its pages are
          // its own, and its missing /tank/ retires the tank's worker.
          site.close();
          const other = fs.mkdtempSync(path.join(os.tmpdir(), 'tank-other-'));
          fs.writeFileSync(path.join(other, 'index.html'), '<!DOCTYPE html><html lang="en"><title>Another site</title><p>Another site</p></html>\n');
          const otherSite = await serve({ '/': other }, { port: Number(port) });
          try {
            page = await context.newPage();
            for (const address of ['/', '/index.html', '/?anything']) {
              await page.goto(new URL(address, otherSite.url).href);
              const title = await page.evaluate(() => document.title);
              expect(title === 'Another site', `${address} on the same port gave "${title}", not the other site`);
            }
            await page.goto(new URL('/tank/', otherSite.url).href);
            await page.waitForFunction(async () => (await navigator.serviceWorker.getRegistrations()).length === 0, { timeout: 10000 })
              .catch(() => {});
            const left = await page.evaluate(async () => [(await navigator.serviceWorker.getRegistrations()).length, (await caches.keys()).length]);
            expect(left[0] === 0 && left[1] === 0, `with the page gone, ${left[0]} workers and ${left[1]} kept sets remain`);
            await page.close();
          } finally {
            otherSite.close();
            fs.rmSync(other, { recursive: true, force: true });
          }
        } finally {
          await context.close();
          site.close();
          fs.rmSync(copy, { recursive: true, force: true });
        }
      }, 'contexts');

    await check(engine, 'failing well: a lost picture, a file that does not arrive and no WebGL are each said, with a way on', async () => {
      const statusIs = (page, pattern) => page.waitForFunction((source) => new RegExp(source).test(document.getElementById('status').textContent),
        { timeout: 15000 }, pattern.source).catch(async () => {
        throw new Error(`the status never matched ${pattern}: "${await page.$eval('#status', (e) => e.textContent)}"`);
      });
      // The picture lost: said, nothing broken shown, and a new start on a
      // tap that keeps the page's settings.
      let { page } = await openPage(browser, server.url);
      await page.click('#hide-steps');
      await page.evaluate(() => document.getElementById('canvas').getContext('webgl').getExtension('WEBGL_lose_context').loseContext());
      await statusIs(page, /picture was lost/);
      expect(await page.$eval('#canvas', (e) => getComputedStyle(e).visibility) === 'hidden', 'the lost picture is still shown');
      await page.click('#status button');
      await statusIs(page, /^(loading|running)$/);
      await waitForStart(page, page.errors);
      expect(await page.$eval('#trace', (e) => e.classList.contains('hide-step')), 'the new start did not keep the step lines hidden');
      await page.close();

      // A page whose program's files do not arrive, then do; and a browser
      // with no WebGL (the page's copy with a script first that refuses it).
      const copy = fs.mkdtempSync(path.join(os.tmpdir(), 'tank-failing-'));
      fs.cpSync(pageDir, copy, { recursive: true });
      fs.rmSync(path.join(copy, 'tank.wasm'));
      const site = await serve({ '/tank/': copy });
      try {
        page = await browser.newPage();
        await page.goto(site.url);
        await statusIs(page, /tank\.wasm \(404\) did not arrive.*retry/);
        fs.copyFileSync(path.join(pageDir, 'tank.wasm'), path.join(copy, 'tank.wasm'));
        await page.click('#status button');
        await statusIs(page, /^(loading|running)$/);
        await waitForStart(page, []);
        await page.close();

        fs.writeFileSync(path.join(copy, 'no-webgl.js'), "HTMLCanvasElement.prototype.getContext = function () { return null; };\n");
        const index = fs.readFileSync(path.join(copy, 'index.html'), 'utf8');
        fs.writeFileSync(path.join(copy, 'index.html'), index.replace('<meta charset="utf-8">', '<meta charset="utf-8">\n<script src="no-webgl.js"></script>'));
        page = await browser.newPage();
        await page.goto(site.url);
        await statusIs(page, /no WebGL/);
        await sleep(1000);  // the program has ended by now: the reason stays
        await statusIs(page, /no WebGL/);
        await page.close();
      } finally {
        site.close();
        fs.rmSync(copy, { recursive: true, force: true });
      }
    });

    await check(engine, 'the live tree shows the model as each frame drew it, as the trace writes it', async () => {
      const { page, errors } = await openPage(browser, server.url);
      await page.evaluate(() => {
        window.written = '';
        const show = Module.onOutput;
        Module.onOutput = (fd, byte) => { window.written += String.fromCharCode(byte); show(fd, byte); };
      });
      // After the next frame, the page written: every value the tree shows,
      // the model in memory, and the trace so far.
      const afterFrame = () => page.evaluate(() => new Promise((resolve) => {
        const pageHook = Module.onFrame;
        Module.onFrame = () => {
          pageHook();
          Module.onFrame = pageHook;
          window.writePage();  // as the page does every few frames, now
          const shown = {};
          for (const e of document.querySelectorAll('[data-model]')) (shown[e.dataset.model] = shown[e.dataset.model] || []).push(e.textContent);
          const m = Module.HEAPF32.subarray(Module._webModel() / 4, Module._webModel() / 4 + 7);
          const lit = document.querySelector('[data-model="turretAngle"]').closest('li').classList.contains('changed');
          resolve({ shown, model: Array.from(m), written: window.written, lit });
        };
      }));
      const fmt = (v) => (Object.is(v, -0) ? '-0.00' : v.toFixed(2));
      await page.keyboard.down('ArrowUp');
      await page.keyboard.down('ArrowLeft');
      await page.keyboard.down('q');
      await waitForTrace(page, /Velocidade 0\.52/);
      await sleep(800);  // the cannon up to 76 (38 ticks)
      // One letter held at a time: WebKitGTK's driver sends no release for
      // a letter once another is pressed.
      await page.keyboard.up('q');
      await page.keyboard.down('z');
      await sleep(300);
      const at = await afterFrame();
      const [x, y, speed, heading, wheelAngle, turretAngle, cannonAngle] = at.model;
      const want = { x, y, speed, heading, wheelAngle, turretAngle, cannonAngle,
        pitch: Math.fround(speed * 6), roll: Math.fround(2 * speed * wheelAngle) };
      const wrong = Object.keys(want).filter((name) => !at.shown[name] || at.shown[name].some((t) => t !== fmt(want[name])));
      expect(wrong.length === 0, `the tree shows ${wrong.map((n) => `${n} ${at.shown[n]} for ${fmt(want[n])}`).join(', ')}`);
      expect(speed === Math.fround(0.52) && wheelAngle === 15 && cannonAngle === 76,
        `not the state held for: speed ${speed}, wheels ${wheelAngle}, cannon ${cannonAngle}`);
      expect(at.shown.pitch[0] === '3.12' && at.shown.roll[0] === '15.60', `pitch ${at.shown.pitch}, roll ${at.shown.roll}`);
      const steps = at.written.split('Velocidade ');
      const last = /^(\S+) Direccao (\S+)\n/.exec(steps[steps.length - 1]);
      expect(last && last[1] === at.shown.speed[0] && last[2] === at.shown.heading[0],
        `the trace's last step says ${last && last.slice(1)}, the tree ${at.shown.speed} ${at.shown.heading}`);
      const ticksWithZ = at.written.slice(at.written.indexOf('Carregou na tecla z')).split('Velocidade').length - 1;
      expect(turretAngle === 2 * ticksWithZ, `the turret at ${turretAngle} after ${ticksWithZ} ticks with Z held`);
      const released = (await traceText(page)).length;
      for (const key of ['z', 'ArrowLeft', 'ArrowUp']) await page.keyboard.up(key);
      await waitForTrace(page, /Largou a tecla especial 101\n/, released);
      // Z held turns the turret at every tick: its step is lit.
      expect(at.lit, 'the turret\'s step was not marked while Z turned it');
      await page.keyboard.press('i');
      await sleep(100);
      const reset = await afterFrame();
      const notZero = Object.entries(reset.shown).filter(([, texts]) => texts.some((t) => t !== '0.00'));
      expect(notZero.length === 0, `after I the tree shows ${JSON.stringify(notZero)}`);
      expectNoErrors(errors);
      await page.close();
    });

    await check(engine, 'bad input: odd keys, no focus, resize, hidden tab', async () => {
      const { page, errors } = await openPage(browser, server.url);
      const from = (await traceText(page)).length;
      for (const key of ['F1', 'Shift', 'Control', 'Alt', 'Meta', 'Tab', '7', 'w']) {
        await page.keyboard.press(key);
      }
      // Not every driver can type these: sent as the page would receive them.
      await page.evaluate(() => {
        for (const key of ['ContextMenu', 'CapsLock', 'Dead', 'Unidentified']) {
          for (const type of ['keydown', 'keyup']) {
            window.dispatchEvent(new KeyboardEvent(type, { key, code: key }));
          }
        }
      });
      await page.keyboard.sendCharacter('\u0436');  // a non-Latin letter
      await waitForTrace(page, /Carregou na tecla especial 1\n/, from);
      await page.keyboard.down('ArrowDown');
      await page.evaluate(() => document.getElementById('trace').focus());
      await page.evaluate(() => window.dispatchEvent(new Event('blur')));
      await page.keyboard.up('ArrowDown');
      await page.focus('#canvas');
      await page.setViewport({ width: 700, height: 600 });
      await page.evaluate(() => {
        Object.defineProperty(document, 'hidden', { value: true, configurable: true });
        document.dispatchEvent(new Event('visibilitychange'));
        delete document.hidden;
        document.dispatchEvent(new Event('visibilitychange'));
      });
      await page.keyboard.down('z');
      await page.keyboard.up('z');
      // Nothing stuck: with no key held the tank comes to rest again.
      await waitForTrace(page, /Largou a tecla z\n(.*\n)*Velocidade 0\.00 Direccao 0\.00\n/, from);
      const problem = releasesFollowPresses((await traceText(page)).slice(from));
      expect(!problem, problem);
      expectNoErrors(errors);
      await page.close();
    });

    await check(engine, 'a drive shared as a link replays its trace byte for byte, here and in another engine', async () => {
      const seed = Number(process.env.TANK_SEED || Date.now() % 100000);
      const { page, errors } = await openPage(browser, server.url);
      await randomDrive(page, seed);
      await page.click('#share');
      const link = await page.$eval('#drive-link', (e) => e.href);
      const file = await page.$eval('#drive-file', (e) => decodeURIComponent(e.href.replace(/^data:[^,]*,/, '')));
      expect(/#drive=[A-Za-z0-9_-]+$/.test(link) && file === `${link}\n`, `the link ${link.slice(0, 80)}, the file ${file.slice(0, 80)}`);
      const original = await endState(page);
      expect(original.trace.startsWith(help), 'the original trace was cut: the drive is too long for the panel');
      expectNoErrors(errors);
      await page.close();
      console.log(`     seed ${seed} (TANK_SEED): ${original.trace.split('\n').length - 1} lines, a link of ${link.length} characters`);
      // Replayed here, by the link and by the file, then in another engine.
      const replayed = async (where, open) => {
        const { replay, replayErrors } = await open();
        const said = await replay.$eval('#drive-note', (e) => e.textContent);
        expect(/^Replaying a shared drive: step \d+ of \d+\. Stop the replay$/.test(said), `${where}: the replay said "${said}"`);
        const state = await endState(replay);
        const wrong = firstDifference(state.trace, original.trace);
        expect(!wrong, `${where}: the replay's trace differs from the original's: ${wrong}`);
        expect(state.model.join() === original.model.join(), `${where}: the replay ended at ${state.model}, the original at ${original.model}`);
        expect(state.tree === original.tree, `${where}: the tree shows ${state.tree}, the original showed ${original.tree}`);
        expect(/^The replay is over/.test(await replay.$eval('#drive-note', (e) => e.textContent)), `${where}: the end of the replay was not said`);
        expectNoErrors(replayErrors);
        await replay.close();
      };
      await replayed(engine, async () => {
        const replay = await browser.newPage();
        await replay.setViewport({ width: 1280, height: 900 });
        await replay.goto(link);
        return { replay, replayErrors: replay.errors };
      });
      await replayed(`${engine}, from the file`, async () => {
        const replay = await browser.newPage();
        await replay.setViewport({ width: 1280, height: 900 });
        await replay.goto(server.url);
        await waitForStart(replay, replay.errors);
        await afterReload(replay, () => dropFile(replay, 'drive.txt', file), replay.errors);
        expect(/^#drive=/.test(await replay.evaluate(() => location.hash)), 'the dropped drive is not in the address');
        return { replay, replayErrors: replay.errors };
      });
      const other = engineNames[(engineNames.indexOf(engine) + 1) % engineNames.length];
      const otherBrowser = await launch(other);
      try {
        await replayed(`recorded in ${engine}, replayed in ${other}`, async () => {
          const replay = await otherBrowser.newPage();
          await replay.setViewport({ width: 1280, height: 900 });
          await replay.goto(link);
          return { replay, replayErrors: replay.errors };
        });
      } finally {
        await otherBrowser.close();
      }
    });

    await check(engine, 'a replay can be stopped and the keys are the reader\'s again; a bad link or file runs nothing', async () => {
      const { page, errors } = await openPage(browser, server.url);
      await page.keyboard.down('ArrowUp');
      await waitForTrace(page, /Velocidade 0\.52/);
      await sleep(1500);
      await page.keyboard.up('ArrowUp');
      await page.click('#share');
      const link = await page.$eval('#drive-link', (e) => e.href);
      // The link followed on the page itself starts afresh.
      await afterReload(page, () => page.click('#drive-link'), errors);
      expect(/^Replaying/.test(await page.$eval('#drive-note', (e) => e.textContent)), 'the link followed on the page did not replay');
      await waitForTrace(page, /Carregou na tecla especial 101\n(.*\n)*Velocidade 0\.2/);
      // Stopped half way: the up arrow the replay held is let go, the keys
      // drive again, and nothing more of the drive comes.
      await page.click('#drive-note button');
      await waitForTrace(page, /Largou a tecla especial 101\n/);
      await sleep(300);
      const said = await page.$eval('#drive-note', (e) => e.textContent);
      expect(/^The replay was stopped at step \d+ of \d+/.test(said), `the stop said "${said}"`);
      const stopped = await traceText(page);
      expect(stopped.split('Largou a tecla especial 101\n').length === 2, `the stop did not let go of the up arrow the replay held, once: ${JSON.stringify(stopped.slice(-400))}`);
      const from = stopped.length;
      await page.focus('#canvas');
      await page.keyboard.press('z');
      await waitForTrace(page, /Carregou na tecla z\n(.*\n)*Largou a tecla z\n/, from);
      await sleep(2000);
      expect(!(await traceText(page)).slice(from).includes('especial 101'), 'the drive went on after the stop');
      expectNoErrors(errors);
      // Links cut short, altered, of another format or not base64url, and a
      // file with no drive: said, and the program runs as on a plain visit.
      const code = link.split('#drive=')[1];
      const foreign = await page.evaluate((c) => {
        const drive = window.tankDrive.decode(c);
        return window.tankDrive.encode(drive).replace(/^dGsB/, 'dGsC');
      }, code);
      const altered = `${code.slice(0, 8)}${code[8] === 'A' ? 'B' : 'A'}${code.slice(9)}`;
      const bad = [[code.slice(0, -3), 'cut short or altered'], [altered, 'cut short or altered'],
        ['!!', 'cut short or altered'], ['', 'cut short or altered'], [foreign, 'another page']];
      for (const [badCode, reason] of bad) {
        await page.goto('about:blank');
        await page.goto(`${server.url}#drive=${badCode}`);
        await waitForStart(page, errors);
        const note = await page.$eval('#drive-note', (e) => e.textContent);
        expect(note.startsWith('This link holds no drive this page can replay') && note.includes(reason), `#drive=${badCode.slice(0, 20)}: "${note}"`);
        const start = (await traceText(page)).length;
        await page.keyboard.press('x');
        await waitForTrace(page, /Carregou na tecla x\n/, start);
        expect(!/Carregou|Largou/.test((await traceText(page)).slice(0, start)), `#drive=${badCode.slice(0, 20)} ran keys`);
      }
      await dropFile(page, 'letter.txt', 'a letter, not a drive\n');
      await page.waitForFunction(() => /^That file holds no drive/.test(document.getElementById('drive-note').textContent), { timeout: 5000 });
      // The keyboard's way to a file, the file input, reads it the same way.
      const cut = path.join(fs.mkdtempSync(path.join(os.tmpdir(), 'tank-drive-')), 'drive.txt');
      fs.writeFileSync(cut, `${server.url}#drive=${code.slice(0, -3)}\n`);
      await (await page.$('#drive-input')).uploadFile(cut);
      await page.waitForFunction(() => /^That file holds no drive.*cut short or altered/.test(document.getElementById('drive-note').textContent), { timeout: 5000 });
      fs.rmSync(path.dirname(cut), { recursive: true });
      expectNoErrors(errors);
      await page.close();
    });

    await check(engine, 'a part chosen in the tree: its origin and axes drawn where its transforms put them; none chosen, the frame as before', async () => {
      const { page, errors } = await openPage(browser, server.url);
      // Driven somewhere, turned, then the turret turned, and at rest.
      await page.keyboard.down('ArrowUp');
      await page.keyboard.down('ArrowLeft');
      await sleep(800);
      await page.keyboard.up('ArrowLeft');
      await page.keyboard.up('ArrowUp');
      await page.keyboard.down('z');
      await sleep(700);
      await page.keyboard.up('z');
      const from = (await traceText(page)).length;
      await waitForTrace(page, /Velocidade 0\.00 (.*)\n(.*\n)*Velocidade 0\.00 \1\n/, from);
      await captureFrame(page, null);
      const plain = await page.evaluate(() => Array.from(window.keptFrame));
      const model = await page.evaluate(() => Array.from(Module.HEAPF32.subarray(Module._webModel() / 4, Module._webModel() / 4 + 7)));
      expect(model[5] >= 20 && model[3] !== 0, `the turret at ${model[5]}, the heading ${model[3]}: not turned`);
      const tree = await page.$eval('#tank-tree', (e) => JSON.parse(e.textContent));
      const at = (part, point) => windowPoint(tree, part, model, point);
      const near = async (point, want, what) => {
        const got = [];
        for (let dx = -1; dx <= 1; dx++) {
          for (let dy = -1; dy <= 1; dy++) got.push(await pixelAt(page, Math.floor(point[0]) + dx, Math.floor(point[1]) + dy));
        }
        expect(got.some((c) => c.every((v, i) => Math.abs(v - want[i]) <= 60)),
          `${what} at (${point.map((v) => v.toFixed(1))}): no pixel near ${want} among ${got.map((c) => `(${c})`).join(' ')}`);
      };
      await page.click('[data-part="turretFrame"]');
      expect(await page.$eval('[data-part="turretFrame"]', (e) => e.getAttribute('aria-pressed')) === 'true', 'a click did not choose the turret frame');
      await captureFrame(page, null);
      const origin = at('turretFrame', [0, 0, 0]);
      const centre = await pixelAt(page, Math.floor(origin[0]), Math.floor(origin[1]));
      expect(centre.every((v) => v >= 240), `the turret frame's origin at (${origin.map((v) => v.toFixed(1))}) is ${centre}, not white`);
      // Along each axis, past the origin's square: where two axes meet on
      // the screen, one covers part of the other.
      const along = async (axis, want, what, pose = model) => {
        const problems = [];
        for (const t of [0.95, 0.8, 0.65, 0.5]) {
          try {
            await near(windowPoint(tree, 'turretFrame', pose, axis.map((v) => v * t)), want, what);
            return;
          } catch (error) {
            problems.push(error.message);
          }
        }
        throw new Error(problems.join('; '));
      };
      await along([1, 0, 0], [255, 0, 0], 'its x axis');
      await along([0, 1, 0], [0, 255, 0], 'its y axis');
      await along([0, 0, 1], [0, 0, 255], 'its z axis');
      await near(at('turret', [0.5, 0.5, 0.5]), [255, 255, 255], 'a corner of the turret, marked');
      // An axis pointing away from the camera lies along the z axis's line
      // on the screen, and one pointing across along another's: still seen.
      for (const turret of [135, 225]) {
        const pose = [0, 0, 0, 0, 0, turret, 0];
        await captureFrame(page, pose);
        for (const [axis, want, what] of [[[1, 0, 0], [255, 0, 0], 'x'], [[0, 1, 0], [0, 255, 0], 'y'], [[0, 0, 1], [0, 0, 255], 'z']]) {
          await along(axis, want, `the ${what} axis with the turret at ${turret}`, pose);
        }
      }
      await captureFrame(page, model);
      // Chosen with nothing to see yet is still not the plain frame; none
      // chosen again gives it back, pixel for pixel.
      expect(!(await page.evaluate((p) => window.keptFrame.every((v, i) => v === p[i]), plain)), 'choosing a part changed nothing');
      await page.click('[data-part="turretFrame"]');
      await captureFrame(page, null);
      const same = await page.evaluate((p) => window.keptFrame.filter((v, i) => v !== p[i]).length, plain);
      expect(same === 0, `with no part chosen the frame differs from before in ${same} values`);
      expectNoErrors(errors);
      await page.close();
    });

    await check(engine, 'Portuguese and English: every text in both, the choice remembered, the program\'s words never translated', async () => {
      const { page, errors } = await openPage(browser, server.url);
      try {
        const tables = await page.evaluate(() => {
          const { words, translateTree, fromBrowser } = window.pageLanguage;
          const tree = JSON.parse(document.getElementById('tank-tree').textContent);
          const treeTexts = [...new Set(tree.flatMap((n) => [...n.steps, ...n.label]))];
          return {
            words,
            untranslated: treeTexts.filter((t) => translateTree(t, 'pt') === null),
            chosen: [['pt-BR', 'en'], ['de-DE', 'en-GB'], ['fr'], ['EN-us', 'pt'], ['pt']].map((l) => fromBrowser(l)).join(' '),
          };
        });
        const names = (language) => Object.keys(tables.words[language]).sort();
        const missing = (a, b) => names(a).filter((n) => !(n in tables.words[b]) || !tables.words[b][n]);
        const holes = (t) => (t.match(/\{\d\}/g) || []).sort().join();
        const problems = [
          ...missing('en', 'pt').map((n) => `"${n}" has no Portuguese`), ...missing('pt', 'en').map((n) => `"${n}" has no English`),
          ...names('en').filter((n) => n in tables.words.pt && holes(tables.words.en[n]) !== holes(tables.words.pt[n])).map((n) => `"${n}" has other values in Portuguese`),
          ...tables.untranslated.map((t) => `the tree's "${t}" has no Portuguese`),
        ];
        expect(problems.length === 0, problems.join('; '));
        expect(tables.chosen === 'pt en en en pt', `the browser's languages chose ${tables.chosen}`);
        // What the page shows in one language has nothing of the other's.
        const shown = () => page.evaluate(() => {
          const texts = [];
          const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
          for (let n = walker.nextNode(); n; n = walker.nextNode()) {
            if (!n.parentElement.closest('#trace, script, var, b') && n.data.trim()) texts.push(n.data.trim());
          }
          for (const e of document.querySelectorAll('[aria-label], [title]')) texts.push(e.getAttribute('aria-label') || e.title);
          return texts;
        });
        const only = (language, other) => Object.keys(tables.words[language]).filter((n) => tables.words[language][n] !== tables.words[other][n] && !/\{\d\}/.test(tables.words[language][n]) && n !== 'other' && n !== 'otherTitle')
          .map((n) => tables.words[language][n]);
        const foreignIn = (texts, words) => texts.filter((t) => words.includes(t));
        const english = await shown();
        expect(foreignIn(english, only('pt', 'en')).length === 0, `in English the page shows ${foreignIn(english, only('pt', 'en')).join(' | ')}`);
        await page.click('#language');
        const portuguese = await shown();
        expect(foreignIn(portuguese, only('en', 'pt')).length === 0, `in Portuguese the page shows ${foreignIn(portuguese, only('en', 'pt')).join(' | ')}`);
        const parts = await page.evaluate(() => Array.from(document.querySelectorAll('#tree .part'), (p) => p.innerText.split('\n')[0]));
        expect(parts.join() === 'mundo (Z para cima),referencial do tanque,roda da frente direita,roda de trás direita,roda da frente esquerda,roda de trás esquerda,referencial do corpo,casco,referencial da torre,torre,referencial do canhão,canhão',
          `the tree's parts in Portuguese: ${parts.join(', ')}`);
        const violations = await axeViolations(page);
        expect(violations.length === 0, `axe in Portuguese: ${violations.join('; ')}`);
        // Remembered over a reload; the program's own words as they were.
        await page.reload();
        await waitForStart(page, errors);
        const state = await page.evaluate(() => [document.documentElement.lang, document.getElementById('status').textContent, document.getElementById('fullscreen').textContent]);
        expect(state.join('|') === 'pt|a correr|Ecrã inteiro', `after a reload: ${state.join('|')}`);
        const wrong = firstDifference((await traceText(page)).slice(0, help.length), help);
        expect(!wrong, `in Portuguese the trace does not begin with the program's help: ${wrong}`);
        await page.click('#language');
        expect(await page.$eval('#fullscreen', (e) => e.textContent) === 'Full screen', 'the switch did not go back to English');
        expectNoErrors(errors);
      } finally {
        await page.evaluate(() => localStorage.removeItem('tank-language')).catch(() => {});
        await page.close();
      }
    });

    await check(engine, 'ESC ends everything; a reload starts afresh', async () => {
      const { page, errors } = await openPage(browser, server.url);
      await page.keyboard.down('ArrowUp');
      await page.keyboard.press('Escape');
      await page.waitForFunction(() => document.getElementById('status').textContent === 'ended with status 1',
        { timeout: 5000 });
      const ended = await traceText(page);
      expect(!ended.includes('\x1b') && !ended.endsWith('Carregou na tecla \x1b\n'), 'ESC was echoed');
      expect(!ended.slice(-200).includes('Largou'), 'keys were released into the ended program');
      // The focus stays on the picture of the last frame, and the keys are
      // the browser's: PageDown scrolls.
      const focus = await page.evaluate(() => `${document.activeElement.id} ${document.activeElement.getAttribute('role')}`);
      expect(focus === 'canvas img', `after ESC the focus is on "${focus}"`);
      await sleep(500);
      await page.keyboard.press('PageDown');
      await page.waitForFunction(() => window.scrollY > 0, { timeout: 3000 }).catch(() => {});
      expect(await page.evaluate(() => window.scrollY) > 0, 'PageDown did not scroll the page after ESC');
      await page.evaluate(() => window.scrollTo(0, 0));
      await page.keyboard.up('ArrowUp');
      await page.keyboard.press('q');
      await page.click('[data-key="i"]');
      await page.click('[data-key="Escape"]');
      await sleep(200);
      expect(await traceText(page) === ended, 'the trace grew after ESC');
      await captureFrameAfterEnd(page);
      expectNoErrors(errors);
      await page.reload();
      await waitForStart(page, errors);
      expect((await traceText(page)).startsWith('\n\nDesenho de um quadrado\n'), 'a reload does not start afresh');
      expectNoErrors(errors);
      await page.close();
    });
  } finally {
    await browser.close();
  }
}

// A random drive from a seed: arrows held together, one letter at a time
// (WebKitGTK's driver drops the release of a letter held under another),
// taps of every key the program knows and some it does not, the trace off
// and on, a new window size, and ESC to end it, so that its trace is whole.
async function randomDrive(page, seed) {
  let state = seed;
  const random = (n) => {
    state = (Math.imul(state, 1103515245) + 12345) >>> 0;
    return (state >>> 8) % n;
  };
  const arrows = ['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight'];
  const letters = ['z', 'x', 'q', 'a', 'i', 'o', 'f', 'l', 'p', 'h', 'd', 'w', 'Z'];
  const held = new Set();
  for (let i = 0; i < 24; i++) {
    const what = random(5);
    if (what <= 1) {
      const key = arrows[random(4)];
      if (held.has(key)) await page.keyboard.up(key);
      else await page.keyboard.down(key);
      held[held.has(key) ? 'delete' : 'add'](key);
    } else if (what === 2) {
      const key = letters[random(4)];
      await page.keyboard.down(key);
      await sleep(random(300));
      await page.keyboard.up(key);
    } else if (what === 3) {
      await page.keyboard.press(letters[random(letters.length)]);
    } else if (i === 12) {
      await page.$eval('.screen', (e) => { e.style.cssText = 'flex: none; width: 500px; height: 400px'; });
    }
    await sleep(random(250));
  }
  for (const key of held) await page.keyboard.up(key);
  await sleep(300);
  await page.keyboard.press('Escape');
  await page.waitForFunction(() => /^ended/.test(document.getElementById('status').textContent), { timeout: 5000 });
}

// At the end of a drive or its replay: the trace (its characters are its
// bytes, one each), the model's seven floats, and what the tree shows.
// A text file dropped on the page, as a reader drags one from their files.
function dropFile(page, name, content) {
  return page.evaluate((fileName, text) => {
    const data = new DataTransfer();
    data.items.add(new File([text], fileName, { type: 'text/plain' }));
    document.body.dispatchEvent(new DragEvent('drop', { dataTransfer: data, bubbles: true, cancelable: true }));
  }, name, content);
}

async function endState(page) {
  await page.waitForFunction(() => /^ended/.test(document.getElementById('status').textContent), { timeout: 60000 });
  await sleep(300);
  return page.evaluate(() => {
    window.writePage();
    const m = Module.HEAPF32.subarray(Module._webModel() / 4, Module._webModel() / 4 + 7);
    return {
      trace: document.getElementById('trace').textContent,
      model: Array.from(m),
      tree: Array.from(document.querySelectorAll('[data-model]'), (e) => e.textContent).join(' '),
    };
  });
}

// Where a point of a part's frame falls in the 640 x 480 window, from the
// part's steps in the page's tree (every step of its own and its parents',
// push and pop aside), the camera at (40, 40, 40) looking at the origin with
// Z up, and the start's orthographic projection: [x, y] from the bottom left.
function windowPoint(tree, id, model, point) {
  const [x, y, speed, heading, wheelAngle, turretAngle, cannonAngle] = model;
  const values = { x, y, speed, heading, wheelAngle, turretAngle, cannonAngle,
    pitch: Math.fround(speed * 6), roll: Math.fround(2 * speed * wheelAngle) };
  const multiply = (a, b) => a.map((row, i) => b[0].map((_, j) => row.reduce((sum, v, k) => sum + v * b[k][j], 0)));
  const number = (t) => (/^\{(\w+)\}$/.test(t) ? values[t.slice(1, -1)] : Number(t));
  const stepMatrix = (step) => {
    let m = /^translate \((\S+), (\S+), (\S+)\)$/.exec(step);
    if (m) {
      const [tx, ty, tz] = m.slice(1).map(number);
      return [[1, 0, 0, tx], [0, 1, 0, ty], [0, 0, 1, tz], [0, 0, 0, 1]];
    }
    m = /^scale \((\S+), (\S+), (\S+)\)$/.exec(step);
    if (m) {
      const [sx, sy, sz] = m.slice(1).map(number);
      return [[sx, 0, 0, 0], [0, sy, 0, 0], [0, 0, sz, 0], [0, 0, 0, 1]];
    }
    m = /^rotate (\S+) .*about ([XYZ])$/.exec(step);
    if (!m) throw new Error(`a step the check cannot follow: ${step}`);
    const a = number(m[1]) * Math.PI / 180;
    const c = Math.cos(a);
    const s = Math.sin(a);
    return { X: [[1, 0, 0, 0], [0, c, -s, 0], [0, s, c, 0], [0, 0, 0, 1]],
      Y: [[c, 0, s, 0], [0, 1, 0, 0], [-s, 0, c, 0], [0, 0, 0, 1]],
      Z: [[c, -s, 0, 0], [s, c, 0, 0], [0, 0, 1, 0], [0, 0, 0, 1]] }[m[2]];
  };
  const chain = [];
  for (let node = tree.find((n) => n.id === id); node; node = tree.find((n) => n.id === node.parent)) chain.unshift(node);
  // The view: eye (40, 40, 40) to the origin, Z up (gluLookAt's rows).
  const f = [-1, -1, -1].map((v) => v / Math.sqrt(3));
  const side = [f[1] * 1 - f[2] * 0, f[2] * 0 - f[0] * 1, 0];
  const sideLength = Math.hypot(...side);
  const s = side.map((v) => v / sideLength);
  const u = [s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2], s[0] * f[1] - s[1] * f[0]];
  const eye = [40, 40, 40];
  const dot = (a, b) => a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
  let m = [[...s, -dot(s, eye)], [...u, -dot(u, eye)], [...f.map((v) => -v), dot(f, eye)], [0, 0, 0, 1]];
  for (const node of chain) {
    for (const step of node.steps) if (step !== 'push' && step !== 'pop') m = multiply(m, stepMatrix(step));
  }
  const p = multiply(m, [[point[0]], [point[1]], [point[2]], [1]]);
  const halfWidth = 20 * 640 / 480;
  return [(p[0][0] / halfWidth + 1) / 2 * 640, (p[1][0] / 20 + 1) / 2 * 480];
}

// After ESC the last frame stays on the canvas, wherever the tank had got
// to: the ground and the hull's top are still there, at the canvas's size.
async function captureFrameAfterEnd(page) {
  await keepCanvas(page);
  const seen = await page.evaluate(() => {
    const f = window.keptFrame;
    let grey = 0;
    let magenta = 0;
    for (let i = 0; i < f.length; i += 4) {
      grey += Math.abs(f[i] - 128) < 8 && Math.abs(f[i + 1] - 128) < 8 && Math.abs(f[i + 2] - 128) < 8;
      magenta += f[i] > 200 && f[i + 1] < 50 && f[i + 2] > 200;
    }
    return { size: window.keptSize, grey, magenta };
  });
  expect(seen.size === '640 x 480' && seen.grey > 50000 && seen.magenta > 500,
    `the last frame is gone after ESC (${JSON.stringify(seen)})`);
}

// The server, as make web and these checks use it: one bad request does
// not end it, nothing outside its folder, only GET and HEAD, compressed,
// revalidated, and the headers that keep a page to itself.
async function serverChecks() {
  const request = (url, { method = 'GET', headers = {} } = {}) => new Promise((resolve, reject) => {
    const r = http.request(url, { method, headers }, (response) => {
      const chunks = [];
      response.on('data', (c) => chunks.push(c));
      response.on('end', () => resolve({ status: response.statusCode, headers: response.headers, body: Buffer.concat(chunks) }));
    });
    r.on('error', reject);
    r.end();
  });
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'tank-server-'));
  const outside = fs.mkdtempSync(path.join(os.tmpdir(), 'tank-outside-'));
  fs.cpSync(pageDir, dir, { recursive: true });
  fs.writeFileSync(path.join(outside, 'secret.txt'), 'not for the web\n');
  fs.symlinkSync(path.join(outside, 'secret.txt'), path.join(dir, 'secret.txt'));
  const site = await serve({ '/tank/': dir });
  const origin = new URL(site.url).origin;
  try {
    await check('server', 'a request it cannot read is answered 400, and the server goes on', async () => {
      for (const bad of ['/%', '/%zz', '/100%', '/tank/%00', '/tank/a%00b.js']) {
        const { status } = await request(`${origin}${bad}`);
        expect(status === 400, `${bad} was answered ${status}, not 400`);
      }
      expect((await request(site.url)).status === 200, 'the server stopped answering');
    });
    await check('server', 'nothing from outside its folder, only GET and HEAD', async () => {
      for (const out of ['/tank/secret.txt', '/tank/../../etc/passwd', '/tank/%2e%2e/%2e%2e/etc/passwd']) {
        const { status, body } = await request(`${origin}${out}`);
        expect(status === 404 || status === 400 || status === 403, `${out} was answered ${status}: ${body.toString('utf8').slice(0, 40)}`);
      }
      for (const method of ['POST', 'PUT', 'DELETE', 'PATCH']) {
        const { status, headers } = await request(site.url, { method });
        expect(status === 405 && headers.allow === 'GET, HEAD', `${method} was answered ${status}`);
      }
      expect((await request(site.url, { method: 'HEAD' })).status === 200, 'HEAD was refused');
    });
    await check('server', 'compressed, revalidated, nosniff and a policy on every answer', async () => {
      const plain = fs.readFileSync(path.join(dir, 'tank.js'));
      const first = await request(`${site.url}tank.js`, { headers: { 'accept-encoding': 'gzip' } });
      expect(first.headers['content-encoding'] === 'gzip' && zlib.gunzipSync(first.body).equals(plain),
        `tank.js came as ${first.headers['content-encoding'] || 'identity'}, ${first.body.length} B`);
      expect(/no-cache/.test(first.headers['cache-control']) && !/no-store/.test(first.headers['cache-control']) && first.headers.etag,
        `cache-control "${first.headers['cache-control']}", etag ${first.headers.etag}`);
      const again = await request(`${site.url}tank.js`, { headers: { 'if-none-match': first.headers.etag } });
      expect(again.status === 304, `a revalidation was answered ${again.status}, not 304`);
      for (const name of ['', 'tank.js', 'no-such-file']) {
        const { headers } = await request(`${site.url}${name}`);
        expect(headers['x-content-type-options'] === 'nosniff' && /script-src 'self'/.test(headers['content-security-policy'] || ''),
          `/tank/${name}: nosniff ${headers['x-content-type-options']}, policy ${headers['content-security-policy']}`);
      }
      const root = await request(`${origin}/`);
      expect(root.status === 302 && root.headers.location === '/tank/', `/ was answered ${root.status} to ${root.headers.location}`);
    });
  } finally {
    site.close();
    fs.rmSync(dir, { recursive: true, force: true });
    fs.rmSync(outside, { recursive: true, force: true });
  }
}

const server = await servePage(pageDir, goldenDir);
try {
  await serverChecks();
  for (const engine of engines) {
    try {
      await runEngine(engine, server);
    } catch (error) {
      failed++;
      console.log(`FAIL ${engine}: ${error.message}`);
    }
  }
} finally {
  server.close();
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
