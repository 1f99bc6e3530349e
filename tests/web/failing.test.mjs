// Failing well: a lost picture, a file that does not arrive, no WebGL.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {
  check, expect, pageDir, useEngine,
} from './checks.mjs';
import {
  afterReload, openPage, sleep, waitForStart,
} from './lib.mjs';
import { serve } from '../../scripts/serve.mjs';

// This engine's browser and the page's server, for every check below.
let browser;
let server;
useEngine((started) => ({ browser, server } = started));


check('failing well: a lost picture, a file that does not arrive and no WebGL are each said, with a way on', async () => {
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
  await afterReload(page, () => page.click('#status button'), page.errors);
  expect(await page.$eval('#trace', (e) => e.classList.contains('hide-step')), 'the new start did not keep the step lines hidden');
  await page.close();

  // A page whose worker setting WebGL up never answers; whose program's
  // files do not arrive, then do; and a browser with no WebGL (the page's
  // copy with a script first that refuses it).
  const copy = fs.mkdtempSync(path.join(os.tmpdir(), 'tank-failing-'));
  fs.cpSync(pageDir, copy, { recursive: true });
  fs.writeFileSync(path.join(copy, 'gl-warm-up.js'), 'setInterval(() => {}, 1000);\n');
  const site = await serve({ '/tank/': copy });
  try {
    page = await browser.newPage();
    await page.goto(site.url);
    await waitForStart(page);
    await page.close();

    fs.rmSync(path.join(copy, 'tank.wasm'));
    page = await browser.newPage();
    await page.goto(site.url);
    await statusIs(page, /tank\.wasm \(404\) did not arrive.*retry/);
    fs.copyFileSync(path.join(pageDir, 'tank.wasm'), path.join(copy, 'tank.wasm'));
    await afterReload(page, () => page.click('#status button'));
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
