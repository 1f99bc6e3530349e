// Start-up and the trace: the help exactly, the frames as the desktop
// draws them, driving, the trace panel, and ESC ending everything.
import {
  busy, check, expect, expectNoErrors, help, helpBytes, holdKey, magenta, pressKey, useEngine, waitForEnd,
} from './checks.mjs';
import {
  captureFrame, compareFrame, countColour, firstDifference, keepCanvas, openPage, pixelAt, recordBytes, sleep, traceText, waitForStart, waitForTrace,
} from './lib.mjs';

// This engine's browser and the page's server, for every check below.
let browser;
let server;
useEngine((started) => ({ browser, server } = started));

// Frames compared with the desktop's references: the share of pixels
// within 16/255 that must match (edges rasterise differently in WebGL).
// Lines and points are mostly background, which matches anyway, so their
// drawn pixels are held to a share of their own, each allowed to find its
// like one pixel away: Mesa draws smooth lines about two pixels wide where
// WebGL draws one, and rounds a point's centre its own way. Even so about
// 7 % of them find no pixel within 16/255 that near (92-93 % match in the
// three engines), hence their floor below the filled frames'.
const parity = [
  { name: 'start', pose: [0, 0, 0, 0, 0, 0, 0], keys: [], floor: 0.99 },
  { name: 'busy', pose: busy, keys: [], floor: 0.99 },
  { name: 'busy-lines', pose: busy, keys: ['l'], floor: 0.98, reach: 1, drawnFloor: 0.9 },
  { name: 'busy-points', pose: busy, keys: ['p'], floor: 0.98, reach: 1, drawnFloor: 0.9 },
  { name: 'busy-perspective', pose: busy, keys: ['o'], floor: 0.99 },
];

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

check('start-up trace: the help exactly, as characters and as bytes; reshape, ticks', async () => {
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

check('frames match the desktop reference frames', async () => {
  const shares = [];
  for (const state of parity) {
    const { page, errors } = await openPage(browser, server.url);
    for (const key of state.keys) await pressKey(page, key);
    await captureFrame(page, state.pose);
    const { share, drawnShare } = await compareFrame(page, `golden/${state.name}.png`, 16, state.reach);
    shares.push(`${state.name} ${(share * 100).toFixed(2)} % (drawn ${(drawnShare * 100).toFixed(1)} %)`);
    expect(share >= state.floor, `${state.name}: only ${(share * 100).toFixed(2)} % of pixels `
      + `within 16/255 of the desktop frame (at least ${state.floor * 100} %)`);
    expect(drawnShare >= (state.drawnFloor ?? state.floor), `${state.name}: only `
      + `${(drawnShare * 100).toFixed(1)} % of the drawn pixels match the desktop frame`);
    expectNoErrors(errors);
    await page.close();
  }
  console.log(`     pixels within 16/255 of the desktop: ${shares.join(', ')}`);
});

check('start frame probes, polygon modes and projection', async () => {
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

check('driving: the up arrow to 0.52, then the drag', async () => {
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

check('the trace panel keeps the last 1,000 lines and a reader scrolled back stays put', async () => {
  const { page, errors } = await openPage(browser, server.url);
  // Every byte the program writes from now on; the panel holds the rest.
  await page.evaluate(() => {
    const show = Module.onOutput;
    window.written = document.getElementById('trace').textContent;
    Module.onOutput = (bytes) => { window.written += String.fromCharCode(...bytes); show(bytes); };
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

check('ESC ends everything; a reload starts afresh', async () => {
  const { page, errors } = await openPage(browser, server.url);
  await page.keyboard.down('ArrowUp');
  await page.keyboard.press('Escape');
  await waitForEnd(page);
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
