// WCAG 2.2 AA, by axe-core and the Nu HTML Checker, on every screen and in
// every state.
import path from 'node:path';
import {
  check, expect, expectNoErrors, pageDir, pressKey, screens, useEngine, viewportOf, waitForEnd,
} from './checks.mjs';
import {
  axeViolations, namedInTree, nuErrors, nuErrorsOfLiveDom, openPage, sleep, traceText,
} from './lib.mjs';
import { words } from '../../web/words.js';

// This engine's browser and the page's server, for every check below.
let browser;
let server;
useEngine((started) => ({ browser, server } = started));

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

check('WCAG 2.2 AA: axe-core and the Nu HTML Checker find nothing, on every screen, in every state', async () => {
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
    // The shape's controls and the drawing's code open, a part chosen, its
    // lines marked, and the shape written as C++.
    await page.evaluate(() => document.querySelectorAll('.lesson details').forEach((e) => { e.open = true; }));
    await page.$eval('[data-part="turretFrame"]', (e) => e.click());
    await page.$eval('#shape-copy', (e) => e.click());
    await page.waitForFunction(() => !document.getElementById('shape-note').hidden, { timeout: 5000 });
    await audit(page, `${screen.name}, the shape and the code open`);
    if (screen.touch) found.push(...(await smallText(page)).map((t) => `${screen.name}, the shape and the code open: ${t}`));
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
  await waitForEnd(page);
  await audit(page, 'after ESC');
  found.push(...(await nuErrorsOfLiveDom(page)).map((e) => `the page after ESC: ${e}`));
  expectNoErrors(errors);
  await page.close();
  expect(found.length === 0, found.join('\n'));
});

// The turret's step of the tree as it is shown, and the value in it.
const turretStep = (page) => page.$eval('[data-model="turretAngle"]', (value) => {
  const step = value.closest('li');
  return { phrase: step.querySelector('[aria-hidden]').textContent, value: value.textContent };
});
const description = (page) => page.$eval('#description', (e) => e.textContent);

check("Heard: each key named for its action, each tree step one phrase with its value, the picture in words in the page's language", async () => {
  const { page, errors } = await openPage(browser, server.url);
  // The on-screen keys: the arrows by their label, the letters by their key
  // and their action.
  const keys = await page.evaluate(() => Array.from(document.querySelectorAll('[data-key]'),
    (e) => ({ key: e.dataset.key, text: e.textContent.trim(), label: e.dataset.label, title: e.dataset.title })));
  const unnamed = [];
  for (const k of keys) {
    const name = k.label ? words.en[k.label] : `${k.text}: ${words.en[k.title]}`;
    if (!name.includes(words.en[k.title]) || !(await namedInTree(page, `[data-key="${k.key}"]`, 'button', name))) unnamed.push(`${k.key} (not "${name}")`);
  }
  expect(unnamed.length === 0, `on-screen keys not named for their action: ${unnamed.join(', ')}`);

  // A step of the tree is one name, its value in it, before and after the
  // value changes.
  const still = await turretStep(page);
  expect(await namedInTree(page, '#tree li', 'listitem', still.phrase), `the tree's step "${still.phrase}" is not one name`);
  await page.keyboard.down('z');
  await page.waitForFunction((was) => document.querySelector('[data-model="turretAngle"]').textContent !== was, { timeout: 5000 }, still.value);
  await page.keyboard.up('z');
  await sleep(500);  // the release's last tick shown
  const turned = await turretStep(page);
  expect(await namedInTree(page, '#tree li', 'listitem', turned.phrase), `the tree's step "${turned.phrase}" is not one name`);

  // The picture in words, asked with W (the page's: the program never
  // hears it), again after driving, and in Portuguese.
  const from = (await traceText(page)).length;
  await page.keyboard.press('w');
  await page.waitForFunction(() => document.getElementById('description').textContent !== '', { timeout: 5000 });
  const atRest = await description(page);
  await page.keyboard.down('ArrowUp');
  await page.waitForFunction(() => Number(document.querySelector('[data-model="y"]').textContent) > 1, { timeout: 10000 });
  await page.keyboard.up('ArrowUp');
  await page.click('#describe');
  await page.waitForFunction((was) => { const now = document.getElementById('description').textContent; return now !== '' && now !== was; }, { timeout: 5000 }, atRest);
  const driven = await description(page);
  const echoed = (await traceText(page)).slice(from).match(/Carregou na tecla [wW]/);
  expect(!echoed, 'W reached the program');
  // Said when asked, not on every tick: the tank is still rolling.
  await sleep(1500);
  expect(await description(page) === driven, `the description changed by itself: "${driven}"`);
  await page.click('#language');
  const portuguese = await description(page);
  const y = await page.$eval('[data-model="y"]', (e) => e.textContent);
  expect(portuguese !== driven && portuguese.startsWith(words.pt.description.split('{')[0]) && driven.startsWith(words.en.description.split('{')[0]),
    `the description did not follow the language: "${driven}", then "${portuguese}"`);
  expect(!portuguese.includes(y) || !y.includes('.'), `the Portuguese description writes ${y} the English way: "${portuguese}"`);
  await page.click('#language');
  // The polygon mode as GL has it now, after L and P.
  for (const [key, mode] of [['l', 'modeLine'], ['p', 'modePoint']]) {
    await page.focus('#canvas');
    await pressKey(page, key);
    await sleep(100);
    await page.click('#describe');
    await page.waitForFunction((want) => document.getElementById('description').textContent.includes(want),
      { timeout: 5000 }, words.en[mode]).catch(async () => {
      throw new Error(`after ${key.toUpperCase()}, the description does not say "${words.en[mode]}": "${await description(page)}"`);
    });
  }
  expectNoErrors(errors);
  await page.close();
});
