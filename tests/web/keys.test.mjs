// Keys and touch: the keyboard's way through the page, the on-screen keys
// under a pointer, Space, Enter and real fingers, and keys no one expects.
import {
  check, expect, expectNoErrors, releasesFollowPresses, screens, useEngine, viewportOf,
} from './checks.mjs';
import {
  openPage, sleep, traceText, waitForTrace,
} from './lib.mjs';

// This engine's browser and the page's server, for every check below.
let browser;
let server;
useEngine((started) => ({ browser, server } = started));


check('touch buttons trace like their keys; a lost focus releases held keys', async () => {
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

// Every key of the program's table has a button and a row of the page's
// table of keys, made from it: each button but ESC, tapped, is traced by
// the program as the key of its row.
check('each key of the program has its button and its row, and its button sends that key', async () => {
  const { page, errors } = await openPage(browser, server.url);
  const keys = await page.$eval('#tank-keys', (e) => JSON.parse(e.textContent));
  const shown = await page.evaluate(() => ({
    buttons: Array.from(document.querySelectorAll('[data-key]'), (e) => [e.dataset.key, e.textContent]),
    rows: Array.from(document.querySelectorAll('#key-rows tr'), (r) => r.cells[0].textContent),
  }));
  expect(shown.buttons.length === keys.length && shown.rows.length === keys.length,
    `${keys.length} keys, ${shown.buttons.length} buttons, ${shown.rows.length} rows`);
  const unsent = [];
  for (const [i, k] of keys.entries()) {
    const [key, text] = shown.buttons.find((b) => b[1] === k.button) || [];
    if (!shown.rows[i].startsWith(k.button)) unsent.push(`row ${i + 1} is "${shown.rows[i]}", not ${k.button}`);
    if (key === undefined) unsent.push(`${k.button} has no button`);
    if (key === undefined || key === 'Escape') continue;
    const from = (await traceText(page)).length;
    await page.click(`[data-key="${key}"]`);
    // The trace's own switch turns it off: the second tap, back on, is traced.
    if (k.title === 'trace') await page.click(`[data-key="${key}"]`);
    const echo = k.special ? `especial ${k.code}` : String.fromCharCode(k.code);
    await waitForTrace(page, new RegExp(`Largou a tecla ${echo}\n`), from, 5000)
      .catch(() => unsent.push(`the button ${text} was not traced as ${echo}`));
  }
  expect(unsent.length === 0, unsent.join('; '));
  expectNoErrors(errors);
  await page.close();
});

check('keyboard: the canvas has the keys at the start; Tab and Shift+Tab go through every control and back', async () => {
  const { page, errors } = await openPage(browser, server.url);
  const focused = () => page.evaluate(() => {
    const e = document.activeElement;
    return e.dataset.key || e.id || (e.classList.contains('part') ? 'part' : e.tagName.toLowerCase());
  });
  expect(await focused() === 'canvas', `the page opens with the focus on ${await focused()}`);
  // The tree's parts are one stop, the arrows move between them.
  const order = await page.evaluate(() => [
    'canvas', ...(document.getElementById('fullscreen').hidden ? [] : ['fullscreen']), 'describe', 'language',
    ...Array.from(document.querySelectorAll('[data-key]'), (e) => e.dataset.key),
    'summary', 'part',
    // The shape's controls and the drawing's code, folded at the start.
    ...Array.from(document.querySelectorAll('.lesson summary, .lesson input, .lesson button, #code, #code a'))
      .filter((e) => e.tagName === 'SUMMARY' || e.closest('details').open).map((e) => e.id || e.tagName.toLowerCase()),
    'share', 'drive-input', 'hide-steps', 'trace']);
  const from = (await traceText(page)).length;
  const forth = [await focused()];
  for (let i = 1; i < order.length; i++) {
    await page.keyboard.press('Tab');
    forth.push(await focused());
  }
  expect(forth.join(' ') === order.join(' '), `Tab went ${forth.join(' > ')}`);
  // The part Tab reached is chosen (its frame shown), and so is the one
  // an arrow moves to; Tab goes on from there.
  const chosen = () => page.evaluate(() => Array.from(document.querySelectorAll('#tree .part'), (e) => (e.getAttribute('aria-pressed') === 'true' ? 'x' : '-')).join(''));
  const parts = await page.evaluate(() => document.querySelectorAll('#tree .part').length);
  expect(parts >= 2, `the tree shows ${parts} parts`);
  expect(await chosen() === `x${'-'.repeat(parts - 1)}`, `Tab onto the tree left the parts chosen as ${await chosen()}`);
  await page.focus('#tree .part');
  await page.keyboard.press('ArrowDown');
  expect(await chosen() === `-x${'-'.repeat(parts - 2)}`, `ArrowDown in the tree left the parts chosen as ${await chosen()}`);
  await page.keyboard.press('Enter');
  expect(!(await chosen()).includes('x'), 'Enter on the chosen part did not hide its frame');
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

check('keyboard: Enter and Space act on the focused control; Space held on a key holds it', async () => {
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

check('keyboard: on the canvas the arrows drive and nothing scrolls; elsewhere the page scrolls', async () => {
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

// Fingers on a touch screen: the browser's own in Chromium and Firefox; in
// WebKit, whose driver has none, the pointer events a touch screen gives
// (tests/web/drivers.mjs).
check('touch at phone size: two fingers hold two keys; a long hold stays held', async () => {
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
});

check('bad input: odd keys, no focus, resize, hidden tab', async () => {
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
