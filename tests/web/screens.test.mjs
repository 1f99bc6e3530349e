// Screens and full screen: the page on phones, tablets and laptops, the
// canvas as the program's window, and full screen and back.
import {
  busy, check, expect, expectNoErrors, problemsOrFail, reshapes, screens, useEngine, viewportOf,
} from './checks.mjs';
import {
  captureFrame, compareFrame, openPage, sleep, traceText, waitForTrace,
} from './lib.mjs';

// This engine's browser and the page's server, for every check below.
let browser;
let server;
useEngine((started) => ({ browser, server } = started));

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

check('every screen: the canvas and all keys on it together, drawn in device pixels', async () => {
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

check('the canvas is the window: one reshape per new size, a tall frame as the desktop draws it', async () => {
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

check('full screen and back: one reshape per new size, the program still running', async () => {
  const { page, errors } = await openPage(browser, server.url);
  // The canvas's size at each reshape line: a browser may reach full
  // screen through a size in between (a toolbar hiding), and each new
  // size is one reshape, never the same size twice.
  await page.evaluate(() => {
    const show = Module.onOutput;
    let line = '';
    window.reshapeSizes = [];
    Module.onOutput = (bytes) => {
      for (const byte of bytes) {
        line = byte === 10 ? '' : line + String.fromCharCode(byte);
        if (line === 'Reshape ORTHO') {
          const c = document.getElementById('canvas');
          window.reshapeSizes.push(`${c.width} x ${c.height}`);
        }
      }
      show(bytes);
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
