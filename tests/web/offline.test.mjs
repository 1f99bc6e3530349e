// Handing the page out and using it offline: the single file opened from
// disk, and the served page kept by its worker.
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import {
  busy, check, expect, expectNoErrors, goldenDir, help, holdKey, pageDir, useEngine, waitForEnd,
} from './checks.mjs';
import {
  captureFrame, compareFrame, firstDifference, openPage, sleep, traceText, waitForStart, waitForTrace,
} from './lib.mjs';
import { serve } from '../../scripts/serve.mjs';

// This engine's browser and the page's server, for every check below.
let browser;
let server;
useEngine((started) => ({ browser, server } = started));


check('the single file, alone in a folder, opened from disk: the whole program, nothing loaded', async () => {
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
    await waitForEnd(page);
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

check('served: kept for use offline, a new build arrives whole, another site on the port is never answered', async () => {
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
    // A request that fails once the kept set is gone (a newer build removed
    // it) finds nothing and leaves nothing behind.
    const leftBehind = await page.evaluate(async () => {
      await Promise.all((await caches.keys()).map((name) => caches.delete(name)));
      await fetch('page.css?late').catch(() => null);
      return caches.keys();
    });
    expect(leftBehind.length === 0, `a failed request made the kept set again: ${leftBehind.join(', ')}`);
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
    // The browser updates its worker in its own time: on a busy machine,
    // most of a minute.
    let kept = await keptSet();
    for (let i = 0; i < 300 && !(kept.files && kept.files.every(([name, bytes]) => bytes
      && Buffer.from(bytes).equals(fs.readFileSync(path.join(copy, name))))); i++) {
      await sleep(200);
      kept = await keptSet();
    }
    const registered = await page.evaluate(async () => {
      const r = await navigator.serviceWorker.getRegistration();
      return r ? ['installing', 'waiting', 'active'].map((k) => `${k} ${r[k] ? r[k].state : 'none'}`).join(', ') : 'none';
    });
    expect(kept.caches.length === 1, `caches kept: ${kept.caches.join(', ')} (workers: ${registered})`);
    const differing = kept.files.filter(([name, bytes]) => !bytes || !Buffer.from(bytes).equals(fs.readFileSync(path.join(copy, name))));
    expect(differing.length === 0, `kept files not of the new build: ${differing.map((d) => d[0]).join(', ')} (kept as ${kept.caches}; workers: ${registered})`);
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
});
