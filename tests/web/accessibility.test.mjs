// WCAG 2.2 AA, by axe-core and the Nu HTML Checker, on every screen and in
// every state.
import path from 'node:path';
import {
  check, expect, expectNoErrors, pageDir, screens, useEngine, viewportOf,
} from './checks.mjs';
import {
  axeViolations, nuErrors, nuErrorsOfLiveDom, openPage,
} from './lib.mjs';

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
